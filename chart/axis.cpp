#include "chart/axis.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "chart/chart_exceptions.h"
#include "chart/chart_host.h"
#include "chart/property.h"
#include "chart/rounding.h"
#include "chart/series.h"

namespace {

// SetScaleRange keeps at least this span so the mapping never divides by zero.
constexpr double kMinimalSpan = 1e-10;

bool IsValidAngle(int degrees) { return degrees >= 0 && degrees <= 359; }

}  // namespace

// --- title ---------------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TCustomChartAxis& axis, TChangeReceiver repaint)
    : TChartFontObject(std::move(repaint)), axis_(axis), angle_(axis.DefaultTitleAngle()) {}

void TChartAxisTitle::SetCaption(const rtl::Text& caption) {
  StoreAndReport(caption_, caption, [this] { Repaint(); });
}

void TChartAxisTitle::SetAngle(int degrees) {
  if (!IsValidAngle(degrees)) throw AngleRangeError(chart_text::kAxisTitleAngleWhat);
  StoreAndReport(angle_, degrees, [this] { Repaint(); });
}

void TChartAxisTitle::Assign(const TChartAxisTitle& source) {
  TChartFontObject::Assign(source);
  caption_ = source.caption_;
  angle_ = source.angle_;
}

// --- creation and copying -------------------------------------------------------------------

TCustomChartAxis::TCustomChartAxis(TChartHost* chart, bool horizontal, bool oppositeSide, int defaultTitleAngle,
                                   bool depth)
    : chart_(chart),
      is_depth_(depth),
      is_horizontal_(horizontal),
      is_opposite_side_(oppositeSide),
      default_title_angle_(defaultTitleAngle),
      axis_pen_(RepaintReceiver()),
      ticks_(RepaintReceiver()),
      ticks_inner_(RepaintReceiver()),
      minor_ticks_(RepaintReceiver()),
      grid_(RepaintReceiver()),
      minor_grid_(RepaintReceiver()),
      title_(*this, RepaintReceiver()) {
  InitChartFont(labels_font_, RepaintReceiver());
}

TCustomChartAxis::~TCustomChartAxis() = default;

TChangeReceiver TCustomChartAxis::RepaintReceiver() {
  return [this] { RequestRepaint(); };
}

void TCustomChartAxis::RequestRepaint() const {
  if (chart_) chart_->InvalidateChart();
}

void TCustomChartAxis::Assign(const TCustomChartAxis& source) {
  is_depth_ = source.is_depth_;
  is_horizontal_ = source.is_horizontal_;
  is_opposite_side_ = source.is_opposite_side_;
  automatic_ = source.automatic_;
  automatic_maximum_ = source.automatic_maximum_;
  automatic_minimum_ = source.automatic_minimum_;
  minimum_ = source.minimum_;
  maximum_ = source.maximum_;
  increment_ = source.increment_;
  logarithmic_ = source.logarithmic_;
  logarithmic_base_ = source.logarithmic_base_;
  inverted_ = source.inverted_;
  start_position_ = source.start_position_;
  end_position_ = source.end_position_;
  position_percent_ = source.position_percent_;
  exact_date_time_ = source.exact_date_time_;
  round_first_label_ = source.round_first_label_;
  axis_values_format_ = source.axis_values_format_;
  date_time_format_ = source.date_time_format_;
  labels_separation_ = source.labels_separation_;
  labels_multi_line_ = source.labels_multi_line_;
  labels_angle_ = source.labels_angle_;
  visible_ = source.visible_;
  labels_ = source.labels_;
  labels_font_.Assign(source.labels_font_);
  labels_on_axis_ = source.labels_on_axis_;
  labels_size_ = source.labels_size_;
  label_style_ = source.label_style_;
  axis_pen_.Assign(source.axis_pen_);
  ticks_.Assign(source.ticks_);
  tick_length_ = source.tick_length_;
  ticks_inner_.Assign(source.ticks_inner_);
  tick_inner_length_ = source.tick_inner_length_;
  minor_ticks_.Assign(source.minor_ticks_);
  minor_tick_count_ = source.minor_tick_count_;
  minor_tick_length_ = source.minor_tick_length_;
  tick_on_labels_only_ = source.tick_on_labels_only_;
  grid_.Assign(source.grid_);
  grid_centered_ = source.grid_centered_;
  minor_grid_.Assign(source.minor_grid_);
  title_.Assign(source.title_);
  title_size_ = source.title_size_;
  RequestRepaint();
}

// --- setters ----------------------------------------------------------------------------------

template <class T>
void TCustomChartAxis::Store(T& field, T value) {
  StoreAndReport(field, std::move(value), [this] { RequestRepaint(); });
}

void TCustomChartAxis::SetAutomatic(bool value) {
  StoreAndReport(automatic_, value, [&] {
    // While loading, the stored flags arrive one by one and must not overwrite each other.
    if (!chart_ || !chart_->IsLoading()) automatic_minimum_ = automatic_maximum_ = value;
    RequestRepaint();
  });
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
  StoreAndReport(automatic_maximum_, value, [&] {
    automatic_ = value && automatic_minimum_;
    RequestRepaint();
  });
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
  StoreAndReport(automatic_minimum_, value, [&] {
    automatic_ = value && automatic_maximum_;
    RequestRepaint();
  });
}

void TCustomChartAxis::SetMinimum(double value) {
  // Written as "not <=" so that NaN is refused as well.
  if ((!chart_ || !chart_->IsLoading()) && !(value <= maximum_)) throw AxisException(chart_text::kAxisMinimum);
  Store(minimum_, value);
}

void TCustomChartAxis::SetMaximum(double value) {
  if ((!chart_ || !chart_->IsLoading()) && !(value >= minimum_)) throw AxisException(chart_text::kAxisMaximum);
  Store(maximum_, value);
}

void TCustomChartAxis::SetIncrement(double value) {
  if (!(value >= 0)) throw AxisException(chart_text::kAxisIncrement);
  Store(increment_, value);
}

void TCustomChartAxis::SetLogarithmic(bool value) {
  if (logarithmic_ == value) return;
  if (value) {
    if (IsDateTimeAxis()) throw AxisException(chart_text::kDateTimeLogarithmic);
    UpdateScale();
    if (scale_minimum_ < 0 || scale_maximum_ < 0) throw AxisException(chart_text::kLogarithmicNegative);
  }
  Store(logarithmic_, value);
}

void TCustomChartAxis::SetLogarithmicBase(int value) {
  if (value < 2) throw AxisException(chart_text::kLogarithmicBase);
  Store(logarithmic_base_, value);
}

void TCustomChartAxis::SetLabelsSeparation(int value) {
  if (value < 0) throw AxisException(chart_text::kLabelsSeparation);
  Store(labels_separation_, value);
}

void TCustomChartAxis::SetLabelsAngle(int degrees) {
  if (!IsValidAngle(degrees)) throw AngleRangeError(chart_text::kAxisLabelsAngleWhat);
  Store(labels_angle_, degrees);
}

void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  StoreAndReport(label_style_, value, [this] {
    if (chart_) chart_->RefreshChart();
  });
}

void TCustomChartAxis::SetInverted(bool value) { Store(inverted_, value); }
void TCustomChartAxis::SetStartPosition(double value) { Store(start_position_, value); }
void TCustomChartAxis::SetEndPosition(double value) { Store(end_position_, value); }
void TCustomChartAxis::SetPositionPercent(double value) { Store(position_percent_, value); }
void TCustomChartAxis::SetExactDateTime(bool value) { Store(exact_date_time_, value); }
void TCustomChartAxis::SetRoundFirstLabel(bool value) { Store(round_first_label_, value); }
void TCustomChartAxis::SetAxisValuesFormat(const rtl::Text& value) { Store(axis_values_format_, value); }
void TCustomChartAxis::SetDateTimeFormat(const rtl::Text& value) { Store(date_time_format_, value); }
void TCustomChartAxis::SetLabelsMultiLine(bool value) { Store(labels_multi_line_, value); }
void TCustomChartAxis::SetVisible(bool value) { Store(visible_, value); }
void TCustomChartAxis::SetLabels(bool value) { Store(labels_, value); }
void TCustomChartAxis::SetLabelsOnAxis(bool value) { Store(labels_on_axis_, value); }
void TCustomChartAxis::SetLabelsSize(int value) { Store(labels_size_, value); }
void TCustomChartAxis::SetTickLength(int value) { Store(tick_length_, value); }
void TCustomChartAxis::SetTickInnerLength(int value) { Store(tick_inner_length_, value); }
void TCustomChartAxis::SetMinorTickCount(int value) { Store(minor_tick_count_, value); }
void TCustomChartAxis::SetMinorTickLength(int value) { Store(minor_tick_length_, value); }
void TCustomChartAxis::SetTickOnLabelsOnly(bool value) { Store(tick_on_labels_only_, value); }
void TCustomChartAxis::SetGridCentered(bool value) { Store(grid_centered_, value); }
void TCustomChartAxis::SetTitleSize(int value) { Store(title_size_, value); }

// --- series queries ------------------------------------------------------------------------------

bool TCustomChartAxis::IsDateTimeAxis() const {
  if (!chart_) return false;
  for (const TChartSeries* series : chart_->SeriesList())
    if (series->Active() && series->IsBoundToAxis(*this))
      return is_horizontal_ ? series->XValues().DateTime() : series->YValues().DateTime();
  return false;
}

namespace {

TAxisLabelStyle ResolveDepthLabelStyle(std::span<TChartSeries* const> seriesList) {
  for (const TChartSeries* series : seriesList)
    if (series->Active() && (series->HasOwnDepthValues() || series->LowestZ() != series->HighestZ())) return talValue;
  return talText;
}

}  // namespace

TAxisLabelStyle TCustomChartAxis::ResolveLabelStyle() const {
  if (label_style_ != talAuto) return label_style_;
  if (!chart_) return talNone;
  if (is_depth_) return ResolveDepthLabelStyle(chart_->SeriesList());
  TAxisLabelStyle result = talNone;
  for (const TChartSeries* series : chart_->SeriesList()) {
    if (!series->Active() || !series->IsBoundToAxis(*this)) continue;
    result = talValue;
    // Text labels only along the ordering direction: X for series whose mandatory list is Y.
    const bool alongOrder = is_horizontal_ != series->PrimaryIsX();
    if (alongOrder && series->LabelCount() > 0 && !series->PointLabel(0).empty()) return talText;
  }
  return result;
}

double TCustomChartAxis::SeriesEnd(bool wantMinimum) const {
  return chart_ ? SeriesValueRange(*chart_, *this, wantMinimum, is_horizontal_) : 0;
}

// --- scale and pixels ------------------------------------------------------------------------------

void TCustomChartAxis::UpdateScale() {
  // Direct writes: no checks and no repaint request, this runs inside the paint.
  if (automatic_ || automatic_maximum_) maximum_ = SeriesEnd(false);
  if (automatic_ || automatic_minimum_) minimum_ = SeriesEnd(true);
  scale_maximum_ = maximum_;
  scale_minimum_ = minimum_;
  scale_range_ = scale_maximum_ - scale_minimum_;
}

void TCustomChartAxis::UpdatePixelSpan() {
  const TRect plot = chart_ ? chart_->PlotArea() : TRect{};
  const int base = is_horizontal_ ? plot.Left : plot.Top;
  const int extent = is_horizontal_ ? plot.Width() : plot.Height();
  start_pixel_ = base + Nearest(extent * 0.01 * start_position_);
  end_pixel_ = base + Nearest(extent * 0.01 * end_position_);
  axis_length_ = end_pixel_ - start_pixel_;
  center_pixel_ = (start_pixel_ + end_pixel_) / 2;
}

void TCustomChartAxis::ApplyPixelMargins(int before, int after) {
  const int oldStart = start_pixel_;
  const int oldEnd = end_pixel_;
  start_pixel_ += before;
  end_pixel_ -= after;
  axis_length_ = end_pixel_ - start_pixel_;
  // The old ends, read on the narrowed span, are the values the widened range must reach.
  double a = PixelToValue(oldStart);
  double b = PixelToValue(oldEnd);
  UpdatePixelSpan();
  if (a > b) std::swap(a, b);
  scale_minimum_ = a;
  scale_maximum_ = b;
  scale_range_ = scale_maximum_ - scale_minimum_;
}

void TCustomChartAxis::ApplySeriesMargins() {
  int before = 0;
  int after = 0;
  if (chart_) {
    for (const TChartSeries* series : chart_->SeriesList()) {
      if (!series->Active() || !series->IsBoundToAxis(*this)) continue;
      int low = 0;
      int high = 0;
      if (is_horizontal_) {
        series->HorizontalMargins(low, high);  // left, right
        if (automatic_minimum_) before = std::max(before, low);
        if (automatic_maximum_) after = std::max(after, high);
      } else {
        series->VerticalMargins(low, high);  // top, bottom
        if (automatic_maximum_) before = std::max(before, low);
        if (automatic_minimum_) after = std::max(after, high);
      }
    }
  }
  ApplyPixelMargins(before, after);
}

int TCustomChartAxis::LogarithmicValueToPixel(double value, bool horizontal) const {
  const double lnMin = scale_minimum_ > 0 ? std::log(scale_minimum_) : 0;
  const double lnMax = scale_maximum_ > 0 ? std::log(scale_maximum_) : 0;
  const double span = lnMax - lnMin;
  if (span == 0) return center_pixel_;
  if (value <= 0) return PointsTowardStart() ? end_pixel_ : start_pixel_;
  const double t = (inverted_ ? lnMax - std::log(value) : std::log(value) - lnMin) * axis_length_ / span;
  // The offset already holds the inversion: horizontal offsets run from StartPixel, vertical
  // ones up from EndPixel.
  const TAxisPixelPlacement placement(horizontal ? start_pixel_ : end_pixel_, horizontal ? 1 : -1, center_pixel_);
  return placement.PixelOrCenter(t);
}

// True when the largest values lie at StartPixel: a horizontal inverted axis or a vertical
// axis that is not inverted.
bool TCustomChartAxis::PointsTowardStart() const { return is_horizontal_ == inverted_; }

int TCustomChartAxis::HorizontalValueToPixel(double value) const {
  if (logarithmic_) return LogarithmicValueToPixel(value, true);
  return LinearPixelMapping(true)(value);
}

int TCustomChartAxis::VerticalValueToPixel(double value) const {
  if (logarithmic_) return LogarithmicValueToPixel(value, false);
  return LinearPixelMapping(false)(value);
}

int TCustomChartAxis::DepthValueToPixel(double value) const {
  const int depth = chart_ ? chart_->Depth3D() : 0;
  if (scale_range_ == 0) return depth / 2;
  const double t = depth * (inverted_ ? scale_maximum_ - value : value - scale_minimum_) / scale_range_;
  // The same guard as along the side axes: an unreachable depth goes to the middle.
  if (!(std::fabs(t) < kPixelGuard)) return depth / 2;
  return Nearest(t);
}

int TCustomChartAxis::ValueToPixel(double value) const {
  if (is_depth_) return DepthValueToPixel(value);
  return is_horizontal_ ? HorizontalValueToPixel(value) : VerticalValueToPixel(value);
}

double TCustomChartAxis::LogarithmicPixelToValue(int pixel) const {
  if (pixel == start_pixel_) return PointsTowardStart() ? scale_maximum_ : scale_minimum_;
  if (pixel == end_pixel_) return PointsTowardStart() ? scale_minimum_ : scale_maximum_;
  const double lnMin = scale_minimum_ > 0 ? std::log(scale_minimum_) : 0;
  const double lnMax = scale_maximum_ > 0 ? std::log(scale_maximum_) : 0;
  const double span = lnMax - lnMin;
  // A zero-length axis has no pixel to map; its minimum is as good an answer as any.
  if (span == 0 || axis_length_ < 1) return scale_minimum_;
  const double d = (inverted_ ? end_pixel_ - pixel : pixel - start_pixel_) * span / axis_length_;
  return is_horizontal_ ? std::exp(lnMin + d) : std::exp(lnMax - d);
}

double TCustomChartAxis::PixelToValue(int pixel) const {
  if (logarithmic_) return LogarithmicPixelToValue(pixel);
  if (axis_length_ < 1) return 0;
  const double t = double(inverted_ ? end_pixel_ - pixel : pixel - start_pixel_) * scale_range_ / axis_length_;
  return is_horizontal_ ? scale_minimum_ + t : scale_maximum_ - t;
}

void TCustomChartAxis::StoreRange(double& field, double value) { Store(field, value); }

void TCustomChartAxis::SetScaleRange(double minimum, double maximum) {
  automatic_ = automatic_minimum_ = automatic_maximum_ = false;
  if (minimum > maximum) std::swap(minimum, maximum);
  StoreRange(minimum_, minimum);
  StoreRange(maximum_, maximum);
  if (maximum_ - minimum_ < kMinimalSpan) StoreRange(maximum_, minimum_ + kMinimalSpan);
}

void TCustomChartAxis::ShiftRange(double offset, bool checkLimits) {
  if (checkLimits) {
    const bool towardMaximum = offset > 0 && SeriesEnd(false) > maximum_;
    const bool towardMinimum = offset < 0 && SeriesEnd(true) < minimum_;
    if (!towardMaximum && !towardMinimum) return;
  }
  automatic_ = automatic_maximum_ = automatic_minimum_ = false;
  maximum_ += offset;
  minimum_ += offset;
  if (chart_) chart_->RefreshChart();
}

// --- the five axes ------------------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TChartHost* chart) : TCustomChartAxis(chart, false, true, 0, true) {
  // Created hidden: only a 3D chart shows its depth axis.
  SetVisible(false);
}

TChartAxes::TChartAxes(TChartHost* chart)
    : bottom_(chart, true, false, 0),
      top_(chart, true, true, 0),
      left_(chart, false, false, 90),
      right_(chart, false, true, 270),
      depth_(chart),
      list_{&bottom_, &top_, &left_, &right_, &depth_} {}

// --- series range query -----------------------------------------------------------------------------------

namespace {

double PointValue(const TChartSeries& series, int index, bool useX) {
  return useX ? series.PointX(index) : series.PointY(index);
}

// The first series bound to axis that is active, or the first bound one when none is.
const TChartSeries* PagingSeries(std::span<TChartSeries* const> seriesList, const TCustomChartAxis& axis) {
  const TChartSeries* firstBound = nullptr;
  for (const TChartSeries* series : seriesList) {
    if (!series->IsBoundToAxis(axis)) continue;
    if (series->Active()) return series;
    if (!firstBound) firstBound = series;
  }
  return firstBound;
}

// Values of the first and last point of the current page (worked example: 10 points per
// page, 25 points, page 3: first 20, last 20 + 25 mod 10 - 1 = 24).
double PagedValueRange(const TChartHost& chart, const TChartSeries* series, bool wantMinimum, bool useX) {
  const int perPage = chart.MaxPointsPerPage();
  const int count = series ? series->PointCount() : 0;
  if (count == 0) return 0;
  int first = std::max(0, perPage * (chart.Page() - 1));
  if (first >= count) first = std::max(0, count / perPage - 1) * perPage;
  int last = first + perPage - 1;
  if (last >= count) last = first + count % perPage - 1;
  // A page that holds nothing can only come from an out-of-range page; show its first point.
  if (last < first) last = first;
  const double low = PointValue(*series, first, useX);
  if (wantMinimum) return low;
  const double high = PointValue(*series, last, useX);
  const int held = last - first + 1;
  if (!chart.ScaleLastPage() && held < perPage) return low + (high - low) * perPage / held;
  return high;
}

bool UsesAxisDirection(const TChartSeries& series, const TCustomChartAxis& axis, bool useX) {
  if (useX) return series.HorizAxis() == aBothHorizAxis || series.GetHorizAxis() == &axis;
  return series.VertAxis() == aBothVertAxis || series.GetVertAxis() == &axis;
}

double DepthValueRange(const TChartHost& chart, const TCustomChartAxis& axis, bool wantMinimum) {
  if (axis.ResolveLabelStyle() != talValue) return wantMinimum ? -0.5 : chart.HighestSeriesZOrder() + 0.5;
  for (const TChartSeries* series : chart.SeriesList())
    if (series->Active()) return wantMinimum ? series->LowestZ() : series->HighestZ();
  return 0;
}

}  // namespace

double SeriesValueRange(const TChartHost& chart, const TCustomChartAxis& axis, bool wantMinimum, bool useX) {
  if (axis.IsDepth()) return DepthValueRange(chart, axis, wantMinimum);
  const auto seriesList = chart.SeriesList();
  const TChartSeries* paging = PagingSeries(seriesList, axis);
  const bool orderingDirection = useX == (!paging || !paging->PrimaryIsX());
  if (chart.MaxPointsPerPage() > 0 && orderingDirection) return PagedValueRange(chart, paging, wantMinimum, useX);

  bool anyActiveBound = false;
  for (const TChartSeries* series : seriesList) anyActiveBound |= series->Active() && series->IsBoundToAxis(axis);
  bool found = false;
  double result = 0;
  for (const TChartSeries* series : seriesList) {
    if ((anyActiveBound && !series->Active()) || series->PointCount() == 0) continue;
    if (!UsesAxisDirection(*series, axis, useX)) continue;
    const double value = wantMinimum ? (useX ? series->LowestX() : series->LowestY())
                                     : (useX ? series->HighestX() : series->HighestY());
    if (!found || (wantMinimum ? !(value >= result) : value > result)) result = value;
    found = true;
  }
  return result;
}
