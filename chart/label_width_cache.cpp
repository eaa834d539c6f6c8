// Widest point label memory.
#include "chart/label_width_cache.h"

#include "chart/pens.h"

TLabelFontKey TLabelFontKey::Of(const TFont& font) {
  return {font.Name(), font.Size(), font.Style(), font.CharSet(), font.PixelsPerInch()};
}

std::optional<int> TLabelWidthCache::Find(std::uint64_t labels_version, int point_count,
                                          const TLabelFontKey& font) const {
  if (!valid_ || labels_version != labels_version_ || point_count != point_count_ || !(font == font_))
    return std::nullopt;
  return width_;
}

void TLabelWidthCache::Store(std::uint64_t labels_version, int point_count, const TLabelFontKey& font, int width) {
  valid_ = true;
  labels_version_ = labels_version;
  point_count_ = point_count;
  font_ = font;
  width_ = width;
}

std::optional<TLabelWidthCache::Prefix> TLabelWidthCache::FindPrefix(std::uint64_t labels_version, int point_count,
                                                                     const TLabelFontKey& font) const {
  if (!valid_ || labels_version != labels_version_ || point_count_ > point_count || !(font == font_))
    return std::nullopt;
  return Prefix{width_, point_count_};
}
