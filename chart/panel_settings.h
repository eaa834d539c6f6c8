// Settings of the chart panel that this program stores but does not draw: the legend
// (hidden in the history chart) and the background gradient (not visible). Each setter
// stores a different value and asks the owner for a repaint.
#pragma once

#include <cstdint>
#include <utility>

#include "chart/canvas.h"
#include "chart/colors.h"
#include "chart/pens.h"
#include "chart/property.h"

enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };

class TChartLegend {
 public:
  explicit TChartLegend(TChangeReceiver changed) : changed_(std::move(changed)) {}

  bool Visible() const { return visible_; }  // default True
  void SetVisible(bool visible) { StoreAndReport(visible_, visible, [this] { Changed(); }); }
  TLegendAlignment Alignment() const { return alignment_; }  // default laRight
  void SetAlignment(TLegendAlignment alignment) { StoreAndReport(alignment_, alignment, [this] { Changed(); }); }
  // laLeft and laRight legends stand beside the plot area and are laid out before the titles.
  bool IsVertical() const { return alignment_ == laLeft || alignment_ == laRight; }

 private:
  void Changed() const {
    if (changed_) changed_();
  }

  TChangeReceiver changed_;
  bool visible_ = true;
  TLegendAlignment alignment_ = laRight;
};

class TChartGradient {
 public:
  explicit TChartGradient(TChangeReceiver changed) : changed_(std::move(changed)) {}

  bool Visible() const { return visible_; }  // default False: the panel Color fills instead
  void SetVisible(bool visible) { StoreAndReport(visible_, visible, [this] { Changed(); }); }
  TGradientDirection Direction() const { return direction_; }  // default gdTopBottom
  void SetDirection(TGradientDirection direction) { StoreAndReport(direction_, direction, [this] { Changed(); }); }
  TColor StartColor() const { return start_color_; }  // default clWhite
  void SetStartColor(TColor color) { StoreAndReport(start_color_, color, [this] { Changed(); }); }
  TColor EndColor() const { return end_color_; }  // default clYellow
  void SetEndColor(TColor color) { StoreAndReport(end_color_, color, [this] { Changed(); }); }

 private:
  void Changed() const {
    if (changed_) changed_();
  }

  TChangeReceiver changed_;
  bool visible_ = false;
  TGradientDirection direction_ = gdTopBottom;
  TColor start_color_ = clWhite;
  TColor end_color_ = clYellow;
};
