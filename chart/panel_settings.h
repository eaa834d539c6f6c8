// Settings of the chart panel that this program stores but does not draw: the legend
// (hidden in the history chart) and the background gradient (not visible). Each setter
// stores a different value and asks the owner for a repaint.
#pragma once

#include <cstdint>
#include <utility>

#include "chart/canvas.h"
#include "chart/colors.h"
#include "chart/pens.h"

enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };

namespace panel_settings_detail {
template <class T>
bool Store(T& field, T value, const TChangeReceiver& changed) {
  if (field == value) return false;
  field = std::move(value);
  if (changed) changed();
  return true;
}
}  // namespace panel_settings_detail

class TChartLegend {
 public:
  explicit TChartLegend(TChangeReceiver changed) : changed_(std::move(changed)) {}

  bool Visible() const { return visible_; }  // default True
  void SetVisible(bool visible) { panel_settings_detail::Store(visible_, visible, changed_); }
  TLegendAlignment Alignment() const { return alignment_; }  // default laRight
  void SetAlignment(TLegendAlignment alignment) { panel_settings_detail::Store(alignment_, alignment, changed_); }
  // laLeft and laRight legends stand beside the plot area and are laid out before the titles.
  bool IsVertical() const { return alignment_ == laLeft || alignment_ == laRight; }

 private:
  TChangeReceiver changed_;
  bool visible_ = true;
  TLegendAlignment alignment_ = laRight;
};

class TChartGradient {
 public:
  explicit TChartGradient(TChangeReceiver changed) : changed_(std::move(changed)) {}

  bool Visible() const { return visible_; }  // default False: the panel Color fills instead
  void SetVisible(bool visible) { panel_settings_detail::Store(visible_, visible, changed_); }
  TGradientDirection Direction() const { return direction_; }  // default gdTopBottom
  void SetDirection(TGradientDirection direction) { panel_settings_detail::Store(direction_, direction, changed_); }
  TColor StartColor() const { return start_color_; }  // default clWhite
  void SetStartColor(TColor color) { panel_settings_detail::Store(start_color_, color, changed_); }
  TColor EndColor() const { return end_color_; }  // default clYellow
  void SetEndColor(TColor color) { panel_settings_detail::Store(end_color_, color, changed_); }

 private:
  TChangeReceiver changed_;
  bool visible_ = false;
  TGradientDirection direction_ = gdTopBottom;
  TColor start_color_ = clWhite;
  TColor end_color_ = clYellow;
};
