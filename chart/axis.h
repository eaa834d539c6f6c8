// An axis of the chart: its published settings, the range it takes from the series or
// keeps as set, and the mapping between values and pixels both ways. Label steps and texts
// live in axis_labels.h; drawing and room reservation use the settings held here.
// Values are in series units (date-times: days since 1899-12-30); pixels are device pixels
// of the chart's frame, along the axis (x for horizontal axes, y for vertical ones).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "chart/axis_mapping.h"
#include "chart/pens.h"
#include "rtl/text.h"

class TChartHost;
class TChartSeries;
class TCustomChartAxis;

// Which labels an axis shows; talAuto resolves by the series (ResolveLabelStyle).
enum TAxisLabelStyle : std::uint8_t { talAuto, talNone, talValue, talMark, talText };

// The title of an axis: a caption in its own font, rotated by Angle.
class TChartAxisTitle : public TChartFontObject {
 public:
  TChartAxisTitle(TCustomChartAxis& axis, TChangeReceiver repaint);

  const rtl::Text& Caption() const { return caption_; }  // default empty
  void SetCaption(const rtl::Text& caption);
  // Degrees 0..359, default the axis's DefaultTitleAngle; outside: ChartException, kept.
  int Angle() const { return angle_; }
  void SetAngle(int degrees);
  // Copies caption, angle and font; stays linked to its own axis.
  void Assign(const TChartAxisTitle& source);
  TCustomChartAxis& Axis() const { return axis_; }

 private:
  TCustomChartAxis& axis_;
  rtl::Text caption_;
  int angle_;
};

class TCustomChartAxis {
 public:
  // chart may be null (a free axis has no series and requests no repaints).
  TCustomChartAxis(TChartHost* chart, bool horizontal, bool oppositeSide, int defaultTitleAngle, bool depth = false);
  virtual ~TCustomChartAxis();
  TCustomChartAxis(const TCustomChartAxis&) = delete;
  TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

  // Copies every published property and IsDepth, IsHorizontal, IsOppositeSide.
  void Assign(const TCustomChartAxis& source);
  TChartHost* ParentChart() const { return chart_; }

  // --- scale settings -------------------------------------------------------------------
  bool Automatic() const { return automatic_; }  // default True
  // Also sets AutomaticMinimum and AutomaticMaximum, except while the chart is loading.
  void SetAutomatic(bool value);
  bool AutomaticMaximum() const { return automatic_maximum_; }  // default True
  // False also clears Automatic; True sets Automatic only when AutomaticMinimum is True.
  void SetAutomaticMaximum(bool value);
  bool AutomaticMinimum() const { return automatic_minimum_; }  // default True
  void SetAutomaticMinimum(bool value);
  double Minimum() const { return minimum_; }  // default 0
  // Above Maximum: AxisException "Axis Minimum Value must be <= Maximum" (not while loading).
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }  // default 0
  // Below Minimum: AxisException "Axis Maximum Value must be >= Minimum" (not while loading).
  void SetMaximum(double value);
  double Increment() const { return increment_; }  // desired label step, 0 = automatic
  void SetIncrement(double value);                 // not >= 0: AxisException
  bool Logarithmic() const { return logarithmic_; }  // default False
  // True on a date-time axis, or with a negative end after UpdateScale: AxisException.
  void SetLogarithmic(bool value);
  int LogarithmicBase() const { return logarithmic_base_; }  // default 10
  void SetLogarithmicBase(int value);                         // below 2: AxisException
  bool Inverted() const { return inverted_; }  // default False
  void SetInverted(bool value);
  double StartPosition() const { return start_position_; }  // percent of the extent, default 0
  void SetStartPosition(double value);
  double EndPosition() const { return end_position_; }  // percent, default 100
  void SetEndPosition(double value);
  double PositionPercent() const { return position_percent_; }  // percent across, default 0
  void SetPositionPercent(double value);
  bool ExactDateTime() const { return exact_date_time_; }  // default True
  void SetExactDateTime(bool value);
  bool RoundFirstLabel() const { return round_first_label_; }  // default True
  void SetRoundFirstLabel(bool value);
  const rtl::Text& AxisValuesFormat() const { return axis_values_format_; }  // "#,##0.###"
  void SetAxisValuesFormat(const rtl::Text& value);
  const rtl::Text& DateTimeFormat() const { return date_time_format_; }  // empty = automatic
  void SetDateTimeFormat(const rtl::Text& value);
  int LabelsSeparation() const { return labels_separation_; }  // percent, default 10
  void SetLabelsSeparation(int value);                         // below 0: AxisException
  bool LabelsMultiLine() const { return labels_multi_line_; }  // default False
  void SetLabelsMultiLine(bool value);
  int LabelsAngle() const { return labels_angle_; }  // degrees 0..359, default 0
  void SetLabelsAngle(int degrees);                  // outside: ChartException

  // --- drawing settings -------------------------------------------------------------------
  bool Visible() const { return visible_; }  // default True (depth axis False)
  void SetVisible(bool value);
  bool Labels() const { return labels_; }  // default True
  void SetLabels(bool value);
  TFont& LabelsFont() { return labels_font_; }  // "Arial" 8, changes repaint
  const TFont& LabelsFont() const { return labels_font_; }
  bool LabelsOnAxis() const { return labels_on_axis_; }  // default True
  void SetLabelsOnAxis(bool value);
  int LabelsSize() const { return labels_size_; }  // pixels, 0 = measure
  void SetLabelsSize(int value);
  TAxisLabelStyle LabelStyle() const { return label_style_; }  // default talAuto
  // Repaints at once (RefreshChart) instead of later.
  void SetLabelStyle(TAxisLabelStyle value);
  TChartAxisPen& Axis() { return axis_pen_; }  // axis line, width 2
  const TChartAxisPen& Axis() const { return axis_pen_; }
  TDarkGrayPen& Ticks() { return ticks_; }
  const TDarkGrayPen& Ticks() const { return ticks_; }
  int TickLength() const { return tick_length_; }  // default 4
  void SetTickLength(int value);
  TDarkGrayPen& TicksInner() { return ticks_inner_; }
  const TDarkGrayPen& TicksInner() const { return ticks_inner_; }
  int TickInnerLength() const { return tick_inner_length_; }  // default 0
  void SetTickInnerLength(int value);
  TDarkGrayPen& MinorTicks() { return minor_ticks_; }
  const TDarkGrayPen& MinorTicks() const { return minor_ticks_; }
  int MinorTickCount() const { return minor_tick_count_; }  // default 3
  void SetMinorTickCount(int value);
  int MinorTickLength() const { return minor_tick_length_; }  // default 2
  void SetMinorTickLength(int value);
  bool TickOnLabelsOnly() const { return tick_on_labels_only_; }  // default True
  void SetTickOnLabelsOnly(bool value);
  TDottedGrayPen& Grid() { return grid_; }
  const TDottedGrayPen& Grid() const { return grid_; }
  bool GridCentered() const { return grid_centered_; }  // default False
  void SetGridCentered(bool value);
  TChartHiddenPen& MinorGrid() { return minor_grid_; }
  const TChartHiddenPen& MinorGrid() const { return minor_grid_; }
  TChartAxisTitle& Title() { return title_; }
  const TChartAxisTitle& Title() const { return title_; }
  int TitleSize() const { return title_size_; }  // pixels, 0 = measure
  void SetTitleSize(int value);

  // --- fixed at creation --------------------------------------------------------------------
  bool IsHorizontal() const { return is_horizontal_; }
  bool IsOppositeSide() const { return is_opposite_side_; }
  bool IsDepth() const { return is_depth_; }
  int DefaultTitleAngle() const { return default_title_angle_; }

  // --- working state, refreshed by every paint -----------------------------------------------
  double ScaleMinimum() const { return scale_minimum_; }
  double ScaleMaximum() const { return scale_maximum_; }
  double ScaleRange() const { return scale_range_; }
  bool IsDateTimeScale() const { return is_date_time_scale_; }  // cached by the axis drawing
  void SetIsDateTimeScale(bool value) { is_date_time_scale_ = value; }
  // Logarithmic labels replace a minimum their powers cannot reach, for the rest of the paint.
  void SetScaleMinimum(double value) { scale_minimum_ = value; }
  int StartPixel() const { return start_pixel_; }
  int EndPixel() const { return end_pixel_; }
  int AxisLength() const { return axis_length_; }
  int CenterPixel() const { return center_pixel_; }
  // Across the axis: the axis line, the labels' edge, the title's edge (set by the drawing).
  int AxisPosition() const { return axis_position_; }
  void SetAxisPosition(int value) { axis_position_ = value; }
  int LabelsPosition() const { return labels_position_; }
  void SetLabelsPosition(int value) { labels_position_ = value; }
  int TitlePosition() const { return title_position_; }
  void SetTitlePosition(int value) { title_position_ = value; }

  // --- operations ---------------------------------------------------------------------------
  // The first active series bound to the axis decides by its X (horizontal) or Y list.
  bool IsDateTimeAxis() const;
  // The label style in use: LabelStyle unless talAuto, else decided by the series.
  TAxisLabelStyle ResolveLabelStyle() const;
  // Automatic ends from the series (written directly), then ScaleMinimum/Maximum/Range.
  void UpdateScale();
  // StartPixel, EndPixel, AxisLength, CenterPixel from the chart's PlotArea.
  void UpdatePixelSpan();
  // Widens the scale so the data keeps before/after pixels off the ends.
  void ApplyPixelMargins(int before, int after);
  // ApplyPixelMargins with the largest margins of the active series bound to the axis.
  void ApplySeriesMargins();
  // By IsDepth/IsHorizontal. A zero range, an offset of kPixelGuard pixels or more, or a
  // pixel beyond the 32-bit range gives CenterPixel.
  int ValueToPixel(double value) const;
  int HorizontalValueToPixel(double value) const;
  int VerticalValueToPixel(double value) const;
  int DepthValueToPixel(double value) const;
  // The linear mapping of the horizontal (or vertical) form with the current working state:
  // equal to that form pixel for pixel while the axis is not logarithmic and its state stays.
  TAxisPixelMapping LinearPixelMapping(bool horizontal) const {
    // Horizontal axes grow from StartPixel, vertical ones from EndPixel upward.
    const bool from_start = horizontal != inverted_;
    return TAxisPixelMapping(scale_minimum_, scale_range_, axis_length_,
                             TAxisPixelPlacement(from_start ? start_pixel_ : end_pixel_, from_start ? 1 : -1, center_pixel_));
  }
  // AxisLength below 1: 0 (linear).
  double PixelToValue(int pixel) const;
  // Turns the automatic flags off; swaps a reversed pair; keeps a span of at least 1e-10.
  void SetScaleRange(double minimum, double maximum);
  // Moves both ends by offset and repaints at once; with checkLimits only toward data
  // beyond the current end.
  void ShiftRange(double offset, bool checkLimits);

 protected:
  void RequestRepaint() const;
  TChangeReceiver RepaintReceiver();

 private:
  template <class T>
  void Store(T& field, T value);
  void StoreRange(double& field, double value);
  int LogarithmicValueToPixel(double value, bool horizontal) const;
  double LogarithmicPixelToValue(int pixel) const;
  bool PointsTowardStart() const;
  double SeriesEnd(bool wantMinimum) const;

  TChartHost* chart_;
  bool is_depth_;
  bool is_horizontal_;
  bool is_opposite_side_;
  int default_title_angle_;

  bool automatic_ = true;
  bool automatic_maximum_ = true;
  bool automatic_minimum_ = true;
  double minimum_ = 0;
  double maximum_ = 0;
  double increment_ = 0;
  bool logarithmic_ = false;
  int logarithmic_base_ = 10;
  bool inverted_ = false;
  double start_position_ = 0;
  double end_position_ = 100;
  double position_percent_ = 0;
  bool exact_date_time_ = true;
  bool round_first_label_ = true;
  rtl::Text axis_values_format_ = "#,##0.###";
  rtl::Text date_time_format_;
  int labels_separation_ = 10;
  bool labels_multi_line_ = false;
  int labels_angle_ = 0;

  bool visible_ = true;
  bool labels_ = true;
  TFont labels_font_;
  bool labels_on_axis_ = true;
  int labels_size_ = 0;
  TAxisLabelStyle label_style_ = talAuto;
  TChartAxisPen axis_pen_;
  TDarkGrayPen ticks_;
  int tick_length_ = 4;
  TDarkGrayPen ticks_inner_;
  int tick_inner_length_ = 0;
  TDarkGrayPen minor_ticks_;
  int minor_tick_count_ = 3;
  int minor_tick_length_ = 2;
  bool tick_on_labels_only_ = true;
  TDottedGrayPen grid_;
  bool grid_centered_ = false;
  TChartHiddenPen minor_grid_;
  TChartAxisTitle title_;
  int title_size_ = 0;

  double scale_minimum_ = 0;
  double scale_maximum_ = 0;
  double scale_range_ = 0;
  bool is_date_time_scale_ = false;
  int start_pixel_ = 0;
  int end_pixel_ = 0;
  int axis_length_ = 0;
  int center_pixel_ = 0;
  int axis_position_ = 0;
  int labels_position_ = 0;
  int title_position_ = 0;
};

// The four side axes.
class TChartAxis : public TCustomChartAxis {
 public:
  using TCustomChartAxis::TCustomChartAxis;
};

// The depth axis of 3D charts.
class TChartDepthAxis : public TCustomChartAxis {
 public:
  explicit TChartDepthAxis(TChartHost* chart);
};

// The five axes a panel creates, in list order: bottom, top, left, right, depth. The list
// order is the order in which the panel scales, sizes and draws them.
class TChartAxes {
 public:
  explicit TChartAxes(TChartHost* chart);

  TChartAxis& Bottom() { return bottom_; }
  TChartAxis& Top() { return top_; }
  TChartAxis& Left() { return left_; }
  TChartAxis& Right() { return right_; }
  TChartDepthAxis& Depth() { return depth_; }
  std::span<TCustomChartAxis* const> List() const { return list_; }

 private:
  TChartAxis bottom_;
  TChartAxis top_;
  TChartAxis left_;
  TChartAxis right_;
  TChartDepthAxis depth_;
  std::array<TCustomChartAxis*, 5> list_;
};

// Smallest (wantMinimum) or largest value of the series that use axis, for automatic
// ranges: X values when useX, else Y values; paged when the chart pages points. 0 when no
// series counts.
double SeriesValueRange(const TChartHost& chart, const TCustomChartAxis& axis, bool wantMinimum, bool useX);
