// Remembers the widest point label of one series, so that a paint need not measure every
// label again. An entry answers only for the same labels (their change counter), the same
// point count and a font of the same name, size, style, character set and resolution.
#pragma once

#include <cstdint>
#include <optional>

#include "rtl/text.h"

class TFont;

// What of a font decides a text's width; the colour does not.
struct TLabelFontKey {
  rtl::Text Name;
  int Size = 0;
  int Style = 0;
  int CharSet = 0;
  int PixelsPerInch = 0;

  static TLabelFontKey Of(const TFont& font);
  bool operator==(const TLabelFontKey&) const = default;
};

class TLabelWidthCache {
 public:
  // The width stored for exactly this state, or nothing.
  std::optional<int> Find(std::uint64_t labels_version, int point_count, const TLabelFontKey& font) const;
  void Store(std::uint64_t labels_version, int point_count, const TLabelFontKey& font, int width);
  // For the same labels version and font with fewer points stored: those points' widest
  // label and their count. Labels only appended keep the version, so the points from that
  // count on are the new ones.
  struct Prefix {
    int Width;
    int PointCount;
  };
  std::optional<Prefix> FindPrefix(std::uint64_t labels_version, int point_count, const TLabelFontKey& font) const;

 private:
  bool valid_ = false;
  std::uint64_t labels_version_ = 0;
  int point_count_ = 0;
  TLabelFontKey font_;
  int width_ = 0;
};
