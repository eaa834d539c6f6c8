// Per-character label measuring.
#include "chart/char_advance_measure.h"

#include <algorithm>

#include "chart/canvas.h"

namespace {
constexpr int kUnknown = -1;
}  // namespace

TCharAdvanceMeasure::TCharAdvanceMeasure(TChartCanvas& canvas) : canvas_(canvas) { advances_.fill(kUnknown); }

int TCharAdvanceMeasure::Advance(unsigned char c) {
  int& advance = advances_[c];
  if (advance == kUnknown) advance = canvas_.MeasureTextWidth(rtl::Text(1, static_cast<char>(c)));
  return advance;
}

int TCharAdvanceMeasure::TextWidth(const rtl::Text& line) {
  int width = 0;
  for (const char c : line) width += Advance(static_cast<unsigned char>(c));
  return width;
}

int TCharAdvanceMeasure::FontHeight() {
  if (font_height_ < 0) font_height_ = canvas_.LineHeight();
  return font_height_;
}

int TCharAdvanceMeasure::WidestLineWidth(std::string_view text) {
  int widest = 0;
  int width = 0;
  for (const char c : text) {
    if (c == LabelLineSeparator) {
      widest = std::max(widest, width);
      width = 0;
    } else {
      width += Advance(static_cast<unsigned char>(c));
    }
  }
  return std::max(widest, width);
}
