#include "chart/series.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <random>
#include <span>
#include <typeinfo>

#include "chart/axis.h"
#include "chart/chart_exceptions.h"
#include "chart/chart_host.h"
#include "chart/property.h"
#include "rtl/errors.h"
#include "rtl/number_format.h"

namespace {

constexpr std::array<TColor, 16> kPalette = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000,
    0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000,
};

bool SameTextIgnoringCase(const rtl::Text& a, const rtl::Text& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

template <class T>
void ReleaseStorage(std::vector<T>& items) {
  std::vector<T>().swap(items);
}

}  // namespace

TColor SeriesPaletteColor(int index) {
  const int size = static_cast<int>(kPalette.size());
  return kPalette[((index % size) + size) % size];
}

TChartSeries::TChartSeries() : x_values_(this, "X"), y_values_(this, "Y") {
  x_values_.SetOrder(loAscending);
}

TChartSeries::~TChartSeries() {
  calculation_.reset();
  DetachFromSourcesAndDependents();
  ClearPoints();
  LeaveParentChart();
}

void TChartSeries::DetachFromSourcesAndDependents() {
  for (TChartSeries* source : data_sources_) std::erase(source->dependents_, this);
  for (TChartSeries* dependent : dependents_) std::erase(dependent->data_sources_, this);
  data_sources_.clear();
  dependents_.clear();
}

void TChartSeries::LeaveParentChart() {
  if (!parent_chart_) return;
  TChartHost* chart = parent_chart_;
  parent_chart_ = nullptr;
  horiz_axis_ = vert_axis_ = nullptr;
  chart->DetachSeries(*this);
}

// --- point store ---------------------------------------------------------------------

void TChartSeries::CheckPointIndex(int index) const {
  if (index < 0 || index >= PointCount()) throw rtl::ListIndexError(index);
}

int TChartSeries::AddPoint(double x, double y, const rtl::Text& label, TColor color) {
  x_values_.SetPendingValue(x);
  y_values_.SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
  const int index = x_values_.AppendValue(x_values_.PendingValue());
  y_values_.InsertValueAt(index, y_values_.PendingValue());
  colors_.insert(colors_.begin() + index, color);
  InsertLabel(index, label);
  PointAdded(index);
  return index;
}

void TChartSeries::AddPoints(std::vector<TSeriesPoint> points) {
  std::vector<double> xs(points.size());
  std::ranges::transform(points, xs.begin(), &TSeriesPoint::X);
  if (AddsPointsOneByOne() || !x_values_.AppendsLikeStableSort(xs)) {
    for (const TSeriesPoint& point : points) AddPoint(point.X, point.Y, point.Label, point.Color);
    return;
  }
  AddPointsAtOnce(points, xs);
}

bool TChartSeries::AddsPointsOneByOne() const {
  const int count = PointCount();
  const bool in_step = y_values_.ValueCount() == count && ColorCount() == count && LabelCount() == count;
  return OnBeforeAdd || OnAfterAdd || !dependents_.empty() || value_lists_.Count() > 2 || !in_step;
}

void TChartSeries::AddPointsAtOnce(std::vector<TSeriesPoint>& points, std::span<const double> xs) {
  if (points.empty()) return;
  const int first_new = PointCount();
  x_values_.AppendUnordered(xs);
  std::vector<double> ys(points.size());
  std::ranges::transform(points, ys.begin(), &TSeriesPoint::Y);
  y_values_.AppendUnordered(ys);
  x_values_.SetPendingValue(points.back().X);
  y_values_.SetPendingValue(points.back().Y);
  const std::vector<int> order = x_values_.InsertionOrder(first_new);
  if (!order.empty()) {
    x_values_.Reorder(order);
    y_values_.Reorder(order);
    // Labels moved away from the end: what was measured of them no longer holds.
    ++labels_version_;
  }
  PlaceColorsAndLabels(points, first_new, order);
  if (active_) RequestRepaint();
}

void TChartSeries::PlaceColorsAndLabels(std::vector<TSeriesPoint>& points, int first_new, std::span<const int> order) {
  auto new_label = [](rtl::Text& text) { return text.empty() ? nullptr : std::make_unique<rtl::Text>(std::move(text)); };
  if (order.empty()) {
    for (TSeriesPoint& point : points) {
      colors_.push_back(point.Color);
      labels_.push_back(new_label(point.Label));
    }
    return;
  }
  // Labels are made in their final order, as adds in time order make them, so that the
  // memory of a history lies in the order it is read and freed.
  std::vector<TColor> colors(order.size());
  std::vector<std::unique_ptr<rtl::Text>> labels(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    // The points are read in the sorted order, all over memory: asking for one some steps
    // ahead overlaps the waits.
    constexpr std::size_t kAhead = 16;
    if (i + kAhead < order.size() && order[i + kAhead] >= first_new) {
      const TSeriesPoint& ahead = points[order[i + kAhead] - first_new];
      __builtin_prefetch(&ahead);
      // A point may reach into the next cache line.
      __builtin_prefetch(reinterpret_cast<const char*>(&ahead) + sizeof(TSeriesPoint) - 1);
    }
    const int from = order[i];
    if (from < first_new) {
      colors[i] = colors_[from];
      labels[i] = std::move(labels_[from]);
      continue;
    }
    TSeriesPoint& point = points[from - first_new];
    colors[i] = point.Color;
    labels[i] = new_label(point.Label);
  }
  colors_ = std::move(colors);
  labels_ = std::move(labels);
}

void TChartSeries::InsertLabel(int index, const rtl::Text& label) {
  // A label added after all others keeps the version: what was measured of the labels
  // before it still holds, and a history that grows by one point a poll is not measured
  // anew each time.
  if (index != LabelCount()) ++labels_version_;
  labels_.insert(labels_.begin() + index, label.empty() ? nullptr : std::make_unique<rtl::Text>(label));
}

int TChartSeries::AddNextValue(double value, const rtl::Text& label, TColor color) {
  const double count = PointCount();
  return PrimaryIsX() ? AddPoint(value, count, label, color) : AddPoint(count, value, label, color);
}

int TChartSeries::AddBlankPoint(const rtl::Text& label) { return AddNextValue(0, label, clNone); }

int TChartSeries::AddBlankPointAt(double x, double y, const rtl::Text& label) {
  return AddPoint(x, y, label, clNone);
}

void TChartSeries::PointAdded(int index) {
  if (OnAfterAdd) OnAfterAdd(*this, index);
  NotifyDependents(TSeriesChange::Added, index);
  if (active_) RequestRepaint();
}

void TChartSeries::EraseAllLists() {
  for (TChartValueList* list : value_lists_) list->EraseValues();
  ReleaseStorage(colors_);
  ReleaseStorage(labels_);
  ++labels_version_;
  ReleaseStorage(marks_.Positions);
}

void TChartSeries::ClearPoints() {
  EraseAllLists();
  if (OnClearValues) OnClearValues(*this);
  NotifyDependents(TSeriesChange::Cleared);
  if (active_ && parent_chart_ && !parent_chart_->IsDestroying()) RequestRepaint();
}

void TChartSeries::RemovePoint(int index) {
  // Checked once up front so a bad index leaves every list untouched.
  CheckPointIndex(index);
  for (TChartValueList* list : value_lists_)
    if (index < list->ValueCount()) list->RemoveValueAt(index);
  if (index < ColorCount()) colors_.erase(colors_.begin() + index);
  if (index < LabelCount()) labels_.erase(labels_.begin() + index);
  ++labels_version_;
  if (index < static_cast<int>(marks_.Positions.size())) marks_.Positions.erase(marks_.Positions.begin() + index);
  NotifyDependents(TSeriesChange::Removed, index);
  if (active_) RequestRepaint();
}

void TChartSeries::SwapPoints(int i, int j) {
  CheckPointIndex(i);
  CheckPointIndex(j);
  for (TChartValueList* list : value_lists_)
    if (i < list->ValueCount() && j < list->ValueCount()) list->SwapValues(i, j);
  if (i < ColorCount() && j < ColorCount()) std::swap(colors_[i], colors_[j]);
  if (i < LabelCount() && j < LabelCount()) std::swap(labels_[i], labels_[j]);
  ++labels_version_;
}

void TChartSeries::FillWithSamples(int count) {
  if (count < 1) throw ChartException(chart_text::kFillSampleCount);
  ClearPoints();
  // A random walk looks like real data in a preview; the distribution is free to choose.
  std::minstd_rand generator{std::random_device{}()};
  std::uniform_int_distribution<int> step(-10, 10);
  double value = std::uniform_int_distribution<int>(0, 1000)(generator);
  for (int index = 0; index < count; ++index) {
    AddNextValue(value);
    value += step(generator);
  }
}

std::string_view TChartSeries::PointLabelView(int index) const {
  if (index < 0 || index >= LabelCount() || !labels_[index]) return {};
  return *labels_[index];
}

rtl::Text TChartSeries::PointLabel(int index) const {
  if (index < 0 || index >= LabelCount() || !labels_[index]) return {};
  return *labels_[index];
}

void TChartSeries::SetPointLabel(int index, const rtl::Text& label) {
  if (index < 0 || index >= LabelCount()) throw rtl::ListIndexError(index);
  labels_[index] = label.empty() ? nullptr : std::make_unique<rtl::Text>(label);
  ++labels_version_;
  RequestRepaint();
}

TColor TChartSeries::PointColor(int index) const {
  if (index < 0 || index >= ColorCount()) return series_color_;
  const TColor stored = colors_[index];
  if (stored != clDefault) return stored;
  return color_each_point_ ? SeriesPaletteColor(index) : series_color_;
}

void TChartSeries::SetPointColor(int index, TColor color) {
  if (index < 0 || index >= ColorCount()) throw rtl::ListIndexError(index);
  colors_[index] = color;
  RequestRepaint();
}

TChartValueList& TChartSeries::ValueListByName(const rtl::Text& name) {
  for (int index = 2; index < value_lists_.Count(); ++index)
    if (SameTextIgnoringCase(value_lists_[index].Name(), name)) return value_lists_[index];
  return y_values_;
}

// --- visible range ---------------------------------------------------------------------

namespace {

// Scaled values of a list that ascends make the scan's conditions false-then-true along the
// index, so a binary search stops where the scan would.
bool SearchableInOrder(const TChartValueList& list) {
  const double multiplier = list.Multiplier();
  return std::isfinite(multiplier) && multiplier > 0 && list.StoredValuesAscend();
}

// First index in [from, count) whose scaled value is not below `bound` (count if none).
int FirstNotBelow(std::span<const double> values, double multiplier, int from, double bound) {
  const auto found = std::partition_point(values.begin() + from, values.end(),
                                          [&](double value) { return value * multiplier < bound; });
  return static_cast<int>(found - values.begin());
}

}  // namespace

int TChartSeries::ScanFirstVisible(const TChartValueList& ordered, double minimum) const {
  const auto values = ordered.StoredValues();
  const double multiplier = ordered.Multiplier();
  const int count = static_cast<int>(values.size());
  if (SearchableInOrder(ordered)) {
    const int first = FirstNotBelow(values, multiplier, 0, minimum);
    return first == count ? -1 : first;
  }
  int first = 0;
  while (values[first] * multiplier < minimum)
    if (++first > count - 1) return -1;
  return first;
}

int TChartSeries::ScanLastVisible(const TChartValueList& ordered, int first, double maximum) const {
  const auto values = ordered.StoredValues();
  const double multiplier = ordered.Multiplier();
  const int count = static_cast<int>(values.size());
  if (values[count - 1] * multiplier <= maximum) return count - 1;
  int last = first;
  if (SearchableInOrder(ordered)) {
    last = FirstNotBelow(values, multiplier, first, maximum);
    if (last > count - 1) return count - 1;
  } else {
    while (values[last] * multiplier < maximum)
      if (++last > count - 1) return count - 1;
  }
  // Without draw-between-points the point beyond the edge is not drawn; with it the
  // segment leaving the plot area still is.
  if (!draw_between_points_ && values[last] * multiplier > maximum) --last;
  return last;
}

void TChartSeries::ComputeVisibleRange() {
  first_visible_ = last_visible_ = -1;
  const int count = PointCount();
  if (count == 0) return;
  const TChartValueList& ordered = OrderedValueList();
  const bool alongX = &ordered == &x_values_;
  TCustomChartAxis* axis = alongX ? horiz_axis_ : vert_axis_;
  if (!compute_visible_range_ || ordered.Order() == loNone || !axis || !parent_chart_) {
    first_visible_ = 0;
    last_visible_ = count - 1;
    return;
  }
  const TRect plot = parent_chart_->PlotArea();
  // The edge where the smallest values sit: left (bottom for a vertical axis) unless inverted.
  const int lowEdge = alongX ? (axis->Inverted() ? plot.Right : plot.Left) : (axis->Inverted() ? plot.Top : plot.Bottom);
  const int highEdge = alongX ? (axis->Inverted() ? plot.Left : plot.Right) : (axis->Inverted() ? plot.Bottom : plot.Top);
  first_visible_ = ScanFirstVisible(ordered, axis->PixelToValue(lowEdge));
  if (first_visible_ == -1) return;
  last_visible_ = ScanLastVisible(ordered, first_visible_, axis->PixelToValue(highEdge));
}

// --- drawing hooks ------------------------------------------------------------------------

int TChartSeries::PointScreenX(int index) const {
  return horiz_axis_ ? horiz_axis_->HorizontalValueToPixel(PointX(index)) : 0;
}

int TChartSeries::PointScreenY(int index) const {
  return vert_axis_ ? vert_axis_->VerticalValueToPixel(PointY(index)) : 0;
}

void TChartSeries::BeginDrawPoints() {
  if (BeforeDrawValues) BeforeDrawValues(*this);
}

void TChartSeries::EndDrawPoints() {
  if (AfterDrawValues) AfterDrawValues(*this);
}

void TChartSeries::DrawPoints() {
  if (first_visible_ < 0) return;
  if (DrawsPointsForward()) {
    for (int index = first_visible_; index <= last_visible_; ++index) DrawPoint(index);
  } else {
    for (int index = last_visible_; index >= first_visible_; --index) DrawPoint(index);
  }
}

bool TChartSeries::SeriesClicked(int index, TMouseButton button, TShiftState shift, int x, int y) {
  bool handled = false;
  auto take = [&](const TSeriesClickEvent& handler) {
    handled = true;
    if (parent_chart_) parent_chart_->SetMouseHandled(true);
    handler(*this, index, button, shift, x, y);
    if (parent_chart_) handled = parent_chart_->MouseHandled();
  };
  if (parent_chart_) parent_chart_->SetMouseHandled(false);
  if ((shift & ssDouble) && OnDblClick)
    take(OnDblClick);
  else if (OnClick)
    take(OnClick);
  return handled;
}

double TChartSeries::StackOrigin(int index, bool all) const {
  if (!parent_chart_) return 0;
  double sum = 0;
  for (TChartSeries* series : parent_chart_->SeriesList()) {
    if (series == this && !all) break;
    if (!series->Active() || typeid(*series) != typeid(*this) || index >= series->PointCount()) continue;
    const double origin = series->PointOriginValue(index);
    if (origin > 0) sum += origin;
  }
  return sum;
}

bool TChartSeries::SharesDepthWithOthers() const {
  if (!parent_chart_ || !parent_chart_->AppliesDepthOrdering()) return false;
  for (TChartSeries* series : parent_chart_->SeriesList())
    if (series != this && series->Active() && !series->HasOwnDepthValues() && series->DepthSlot() == depth_slot_)
      return true;
  return false;
}

rtl::Text TChartSeries::LegendEntryText(int i, TLegendTextStyle style) const {
  const rtl::Text label = PointLabel(i);
  if (style == ltsPlain) return label;
  if (style == ltsXValue) return rtl::FormatFloat(value_format_, PointX(i));
  rtl::Text value;
  if (style == ltsLeftValue || style == ltsRightValue) {
    value = rtl::FormatFloat(value_format_, PointMarkValue(i));
  } else {
    // An all-zero series has no shares; 0 % reads better than a division by zero.
    const double total = PrimaryValueList().MagnitudeSum();
    value = rtl::FormatFloat(percent_format_, total == 0 ? 0 : 100 * PointMarkValue(i) / total);
  }
  if (label.empty()) return value;
  const bool valueFirst = style == ltsLeftValue || style == ltsLeftPercent;
  return valueFirst ? value + " " + label : label + " " + value;
}

// --- axes and chart -------------------------------------------------------------------------

bool TChartSeries::IsBoundToAxis(const TCustomChartAxis& axis) const {
  if (!UsesAxes()) return false;
  if (&axis == horiz_axis_ || &axis == vert_axis_) return true;
  if (!parent_chart_) return false;
  if (horiz_axis_kind_ == aBothHorizAxis && (&axis == parent_chart_->TopAxis() || &axis == parent_chart_->BottomAxis()))
    return true;
  return vert_axis_kind_ == aBothVertAxis && (&axis == parent_chart_->LeftAxis() || &axis == parent_chart_->RightAxis());
}

void TChartSeries::ResolveAxes() {
  if (!parent_chart_) {
    horiz_axis_ = vert_axis_ = nullptr;
    return;
  }
  horiz_axis_ = parent_chart_->BottomAxis();
  if (horiz_axis_kind_ == aTopAxis) horiz_axis_ = parent_chart_->TopAxis();
  if (horiz_axis_kind_ == aCustomHorizAxis && custom_horiz_axis_) horiz_axis_ = custom_horiz_axis_;
  vert_axis_ = parent_chart_->LeftAxis();
  if (vert_axis_kind_ == aRightAxis) vert_axis_ = parent_chart_->RightAxis();
  if (vert_axis_kind_ == aCustomVertAxis && custom_vert_axis_) vert_axis_ = custom_vert_axis_;
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
  StoreAndReport(horiz_axis_kind_, value, [this] {
    ResolveAxes();
    RequestRepaint();
  });
}

void TChartSeries::SetVertAxis(TVertAxis value) {
  StoreAndReport(vert_axis_kind_, value, [this] {
    ResolveAxes();
    RequestRepaint();
  });
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* axis) {
  StoreAndReport(custom_horiz_axis_, axis, [this] {
    ResolveAxes();
    RequestRepaint();
  });
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* axis) {
  StoreAndReport(custom_vert_axis_, axis, [this] {
    ResolveAxes();
    RequestRepaint();
  });
}

void TChartSeries::SetParentChart(TChartHost* chart) {
  if (parent_chart_ == chart) return;
  // The field changes before the charts are told, so that their Attach/DetachSeries, which
  // call back into this setter, find the series already bound and return at once.
  TChartHost* old = parent_chart_;
  parent_chart_ = nullptr;
  if (old) old->DetachSeries(*this);
  parent_chart_ = chart;
  ResolveAxes();
  if (chart) chart->AttachSeries(*this);
}

void TChartSeries::RequestRepaint() const {
  if (parent_chart_) parent_chart_->InvalidateChart();
}

// --- published properties -------------------------------------------------------------------

void TChartSeries::SetActive(bool value) {
  StoreAndReport(active_, value, [this] { RequestRepaint(); });
}

void TChartSeries::SetSeriesColor(TColor value) {
  StoreAndReport(series_color_, value, [this] { RequestRepaint(); });
}

void TChartSeries::SetColorEachPoint(bool value) {
  StoreAndReport(color_each_point_, value, [&] {
    if (!value) std::fill(colors_.begin(), colors_.end(), clDefault);
    RequestRepaint();
  });
}

void TChartSeries::SetTitle(const rtl::Text& value) {
  StoreAndReport(title_, value, [this] { RequestRepaint(); });
}

void TChartSeries::SetValueFormat(const rtl::Text& value) {
  StoreAndReport(value_format_, value, [this] { RequestRepaint(); });
}

void TChartSeries::SetPercentFormat(const rtl::Text& value) {
  StoreAndReport(percent_format_, value, [this] { RequestRepaint(); });
}

void TChartSeries::SetShowInLegend(bool value) {
  StoreAndReport(show_in_legend_, value, [this] { RequestRepaint(); });
}

// --- data sources and dependents ----------------------------------------------------------------

namespace {
// Whether target already feeds source, directly or through other series.
bool Feeds(const TChartSeries& target, const TChartSeries& source) {
  for (const TChartSeries* dependent : target.Dependents())
    if (dependent == &source || Feeds(*dependent, source)) return true;
  return false;
}
}  // namespace

void TChartSeries::AddDataSource(TChartSeries& source) {
  // A cycle of sources would make every notification recurse without end.
  if (!AcceptsSource(source) || !source.AcceptsAsSource(*this) || Feeds(*this, source)) return;
  if (std::find(data_sources_.begin(), data_sources_.end(), &source) != data_sources_.end()) return;
  data_sources_.push_back(&source);
  source.dependents_.push_back(this);
  CopyAllFrom(source);
}

void TChartSeries::RemoveDataSource(TChartSeries& source) {
  std::erase(data_sources_, &source);
  std::erase(source.dependents_, this);
}

void TChartSeries::SetCalculation(std::unique_ptr<TSeriesCalculation> calculation) {
  calculation_ = std::move(calculation);
  if (!data_sources_.empty()) CopyAllFrom(*data_sources_.front());
}

void TChartSeries::NotifyDependents(TSeriesChange change, int index) {
  // A copy: a dependent's reaction may change who depends on this series.
  const std::vector<TChartSeries*> dependents = dependents_;
  for (TChartSeries* dependent : dependents) {
    const TSeriesRecalcOptions follows = dependent->recalc_options_;
    const bool calculated = dependent->calculation_ != nullptr;
    switch (change) {
      case TSeriesChange::Cleared:
        if (follows & rOnClear) dependent->ClearPoints();
        break;
      case TSeriesChange::Added:
        if ((follows & rOnInsert) && !calculated) dependent->SourcePointAdded(*this, index);
        break;
      case TSeriesChange::Removed:
        if ((follows & rOnDelete) && !calculated) dependent->SourcePointRemoved(*this, index);
        break;
      case TSeriesChange::Modified:
        if (follows & rOnModify) dependent->CopyAllFrom(*this);
        break;
      case TSeriesChange::Refreshed:
        dependent->CopyAllFrom(*this);
        break;
    }
  }
}

int TChartSeries::CopyPointFrom(const TChartSeries& source, int index) {
  double x = source.PointX(index);
  double y = source.PointY(index);
  if (source.PrimaryIsX() != PrimaryIsX()) std::swap(x, y);
  const int target = x_values_.AppendValue(x);
  y_values_.InsertValueAt(target, y);
  const int extra = std::min(value_lists_.Count(), source.ValueLists().Count());
  for (int list = 2; list < extra; ++list)
    value_lists_[list].InsertValueAt(target, source.ValueLists()[list].ValueAt(index));
  return target;
}

void TChartSeries::SourcePointAdded(const TChartSeries& source, int index) {
  const int target = CopyPointFrom(source, index);
  // Colours and labels stay one per point even when the source has none at index.
  colors_.insert(colors_.begin() + target, index < source.ColorCount() ? source.colors_[index] : clDefault);
  InsertLabel(target, source.PointLabel(index));
  PointAdded(target);
}

void TChartSeries::CopyAllFrom(const TChartSeries& source) {
  if (!AcceptsSource(source)) return;
  ClearPoints();
  if (calculation_) {
    calculation_->Recalculate(*this);
  } else {
    for (int index = 0; index < source.PointCount(); ++index) SourcePointAdded(source, index);
  }
  NotifyDependents(TSeriesChange::Refreshed);
}

void TChartSeries::InsertExtraValues(int index) {
  for (int list = 2; list < value_lists_.Count(); ++list)
    value_lists_[list].InsertValueAt(index, value_lists_[list].PendingValue());
}
