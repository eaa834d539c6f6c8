// Texts of the drawing surface, measured and rendered once per font and kept: asking the
// font engine shapes the text anew on every call, and rendering needs an image and a
// painter, which together outweighed everything else in a frame of short axis labels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QFont>

#include "chart/bitmap.h"
#include "chart/chart_device.h"
#include "rtl/text.h"

class TFont;

// One set pixel of a rendered text, relative to the top-left corner of its cell; glyphs
// may overhang the cell, so offsets can be negative or reach past it.
struct TGlyphPixel {
  int Column;
  int Row;
  TRgb Color;
};

struct TRenderedText {
  int Width = 0;   // sum of advances
  int Ascent = 0;
  int Height = 0;  // ascent + descent
  std::vector<TGlyphPixel> Pixels;
};

class TTextRenderCache {
 public:
  TTextRenderCache();
  ~TTextRenderCache();

  // The cache of the calling thread (fonts and their engines belong to one thread). The
  // GUI thread's cache empties when the application ends; the process ends cleanly
  // whether the application or the thread's cache ends first.
  static TTextRenderCache& ForThisThread();

  // Width (sum of advances), ascent and cell height of the Windows-1251 text in the font.
  TTextExtent Extent(const TFont& font, const rtl::Text& text);
  // The text's cell and its glyph pixels drawn in `color`. Valid until the next call.
  const TRenderedText& Rendered(const TFont& font, const rtl::Text& text, TRgb color);

  // Fonts with texts kept.
  std::size_t FontCount() const { return fonts_.size(); }

  // Texts kept per font before the font's store starts afresh; bounds the memory of a
  // chart whose labels keep changing.
  static constexpr std::size_t kTextsPerFont = 4096;

 private:
  struct FontEntry;
  struct ThreadStore;
  FontEntry& EntryOf(const TFont& font);

  std::vector<std::unique_ptr<FontEntry>> fonts_;  // most recently used first
};
