// Fast label measuring for dense point labels: a text's width as the sum of its characters'
// advances, each character measured once through the canvas. The canvas writes text without
// kerning and with whole-pixel advances, so for the single-byte texts of the chart the sum
// equals the width the canvas measures for the whole text.
#pragma once

#include <array>
#include <string_view>

#include "chart/axis_labels.h"

class TChartCanvas;

// Measures in the font the canvas holds when it is created; make a new one after selecting
// another font.
class TCharAdvanceMeasure : public TLabelMeasure {
 public:
  explicit TCharAdvanceMeasure(TChartCanvas& canvas);
  int TextWidth(const rtl::Text& line) override;
  // The canvas LineHeight, asked once.
  int FontHeight() override;
  // Width of the widest line of a text cut at LabelLineSeparator (0 for an empty text).
  int WidestLineWidth(std::string_view text);

 private:
  int Advance(unsigned char c);

  TChartCanvas& canvas_;
  std::array<int, 256> advances_;
  int font_height_ = -1;
};
