// Point labels and their overlap test.
#include "chart/point_labels.h"

#include <algorithm>
#include <numeric>
#include <ranges>
#include <vector>

#include "chart/axis_labels.h"
#include "chart/axis_painter.h"
#include "chart/canvas.h"
#include "chart/char_advance_measure.h"
#include "chart/chart_host.h"
#include "chart/frame_context.h"
#include "chart/series.h"
#include "rtl/number_format.h"

bool TLabelOverlap::Accept(int position, int extent) {
  if (separation_ == 0 || !drawn_) {
    drawn_ = true;
    previous_position_ = position;
    previous_half_ = extent / 2;
    return true;
  }
  const int half = EnlargedHalf(extent);
  const bool clear = position >= previous_position_
                         ? position - half >= previous_position_ + previous_half_
                         : position + half <= previous_position_ - previous_half_;
  if (!clear) return false;
  previous_position_ = position;
  previous_half_ = half;
  return true;
}

int TLabelOverlap::NextFreePosition(int minimum_extent) const {
  return previous_position_ + previous_half_ + EnlargedHalf(minimum_extent);
}

namespace {

int LineCount(const rtl::Text& text) {
  if (text.find(LabelLineSeparator) == rtl::Text::npos) return 1;
  const auto separators = std::ranges::count(text, LabelLineSeparator);
  return static_cast<int>(separators) + (text.back() == LabelLineSeparator ? 0 : 1);
}

// One walk over the point labels of an axis drawing.
class TPointLabelWalk {
 public:
  TPointLabelWalk(TAxisPainter& painter, TAxisLabelStyle style, std::vector<TChartSeries*> labelled,
                  TLabelMeasure& measure)
      : painter_(painter), axis_(painter.Axis()), style_(style), labelled_(std::move(labelled)),
        measure_(measure), overlap_(axis_.LabelsSeparation()) {}

  // Label of point i: text, value, tick and overlap test.
  void Visit(int index);
  // Labels stack across the axis: then a label's extent is lines times the font height.
  bool Stacked() const {
    const int angle = axis_.LabelsAngle();
    const bool upright = angle == 90 || angle == 270;
    return axis_.IsHorizontal() ? upright : !upright;
  }
  int Extent(const rtl::Text& text) {
    if (Stacked()) return measure_.FontHeight() * LineCount(text);
    return MeasureLabelLines(text, measure_).Width;
  }
  double Value(const TChartSeries& series, int index) const {
    return axis_.IsHorizontal() ? series.PointX(index) : series.PointY(index);
  }
  int Position(const TChartSeries& series, int index) const { return axis_.ValueToPixel(Value(series, index)); }
  const TLabelOverlap& Overlap() const { return overlap_; }

 private:
  rtl::Text Text(const TChartSeries& series, int index) const {
    if (style_ == talMark) return rtl::FormatFloat(series.ValueFormat(), series.PointMarkValue(index));
    return series.PointLabel(index);
  }

  TAxisPainter& painter_;
  TCustomChartAxis& axis_;
  TAxisLabelStyle style_;
  std::vector<TChartSeries*> labelled_;
  TLabelMeasure& measure_;
  TLabelOverlap overlap_;
};

void TPointLabelWalk::Visit(int index) {
  const auto owner = std::ranges::find_if(labelled_, [&](const TChartSeries* s) { return s->LabelCount() > index; });
  if (owner == labelled_.end()) return;
  TChartSeries& series = **owner;
  rtl::Text text = Text(series, index);
  const TAxisOnGetLabel& handler = painter_.Frame().chart.OnGetAxisLabel();
  if (handler) handler(axis_, &series, index, text);
  const double value = Value(series, index);
  if (value < axis_.ScaleMinimum() || value > axis_.ScaleMaximum()) return;
  const int position = axis_.ValueToPixel(value);
  if (!axis_.TickOnLabelsOnly()) painter_.Ticks().Add(position);
  if (!axis_.Labels()) return;
  if (overlap_.Accept(position, Extent(text))) painter_.PaintLabel(position, text);
}

std::vector<TChartSeries*> LabelledSeries(const TChartHost& chart, const TCustomChartAxis& axis) {
  std::vector<TChartSeries*> labelled;
  for (TChartSeries* series : chart.SeriesList())
    if (series->Active() && series->IsBoundToAxis(axis) && series->LabelCount() > 0) labelled.push_back(series);
  return labelled;
}

// first..last over the series' visible ranges; first -1 when no point is visible.
std::pair<int, int> VisibleIndexRange(const std::vector<TChartSeries*>& labelled) {
  int first = -1;
  int last = -1;
  for (TChartSeries* series : labelled) {
    series->ComputeVisibleRange();
    if (series->FirstVisibleIndex() == -1) continue;
    first = first == -1 ? series->FirstVisibleIndex() : std::min(first, series->FirstVisibleIndex());
    last = std::max(last, series->LastVisibleIndex());
  }
  return {first, last};
}

bool PositionsGrowWithIndex(const TCustomChartAxis& axis, const TChartSeries& series) {
  const TChartValueList& values = axis.IsHorizontal() ? series.XValues() : series.YValues();
  // Larger values lie right on a horizontal axis and, inverted, lower on a vertical one.
  return values.Order() == loAscending && axis.IsHorizontal() != axis.Inverted() && !axis.Logarithmic();
}

bool CanSkipHidden(const TAxisPainter& painter, const std::vector<TChartSeries*>& labelled, int last) {
  const TCustomChartAxis& axis = painter.Axis();
  return labelled.size() == 1 && labelled[0]->LabelCount() > last && axis.Labels() && axis.TickOnLabelsOnly() &&
         axis.LabelsSeparation() != 0 && !painter.Frame().chart.OnGetAxisLabel() &&
         PositionsGrowWithIndex(axis, *labelled[0]);
}

// First index in [from, to) for which `reached` holds, or `to`; `reached` must be false then
// true. A plain bisection: clang cannot compile the standard library's iota_view of GCC 12.
template <class Predicate>
int FirstIndex(int from, int to, Predicate reached) {
  while (from < to) {
    const int middle = from + (to - from) / 2;
    if (reached(middle)) {
      to = middle;
    } else {
      from = middle + 1;
    }
  }
  return from;
}

// Visits only the points whose labels can pass the overlap test: positions grow with the
// index, so every point before the last drawn label's position plus both halves fails, and
// the walk jumps past those by binary search.
void WalkSkippingHidden(TPointLabelWalk& walk, const TChartSeries& series, const TCustomChartAxis& axis, int first,
                        int last) {
  const int begin = FirstIndex(first, last + 1, [&](int i) { return walk.Value(series, i) >= axis.ScaleMinimum(); });
  const int end = FirstIndex(begin, last + 1, [&](int i) { return walk.Value(series, i) > axis.ScaleMaximum(); });
  const int minimum_extent = walk.Stacked() ? walk.Extent(rtl::Text()) : 0;
  for (int i = begin; i < end; ++i) {
    if (walk.Overlap().AnyDrawn()) {
      const int free_from = walk.Overlap().NextFreePosition(minimum_extent);
      i = FirstIndex(i, end, [&](int j) { return walk.Position(series, j) >= free_from; });
      if (i == end) break;
    }
    walk.Visit(i);
  }
}

}  // namespace

void PaintPointLabels(TAxisPainter& painter, TAxisLabelStyle style, TPointLabelScan scan) {
  std::vector<TChartSeries*> labelled = LabelledSeries(painter.Frame().chart, painter.Axis());
  const auto [first, last] = VisibleIndexRange(labelled);
  if (first == -1) return;
  // Measured in the labels' font, whatever the title left selected.
  painter.Frame().SelectFont(painter.Axis().LabelsFont());
  if (scan == TPointLabelScan::SkipHidden && CanSkipHidden(painter, labelled, last)) {
    TCharAdvanceMeasure measure(painter.Canvas());
    const TChartSeries& series = *labelled[0];
    TPointLabelWalk walk(painter, style, std::move(labelled), measure);
    WalkSkippingHidden(walk, series, painter.Axis(), first, last);
    return;
  }
  TCanvasLabelMeasure measure(painter.Canvas());
  TPointLabelWalk walk(painter, style, std::move(labelled), measure);
  for (int i = first; i <= last; ++i) walk.Visit(i);
}
