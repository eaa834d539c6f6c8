// Room reservation of an axis.
#include "chart/axis_room.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "chart/axis.h"
#include "chart/axis_labels.h"
#include "chart/axis_text.h"
#include "chart/char_advance_measure.h"
#include "chart/canvas.h"
#include "chart/chart_host.h"
#include "chart/frame_context.h"
#include "chart/rounding.h"
#include "chart/series.h"

namespace {

// +1 when "outward" (away from the chart) is toward larger coordinates: down or right.
int Outward(const TCustomChartAxis& axis) {
  const TAxisSide side = AxisSide(axis);
  return side == TAxisSide::Bottom || side == TAxisSide::Right ? 1 : -1;
}

int& EdgeOf(const TCustomChartAxis& axis, TRect& rect) {
  switch (AxisSide(axis)) {
    case TAxisSide::Bottom: return rect.Bottom;
    case TAxisSide::Top: return rect.Top;
    case TAxisSide::Left: return rect.Left;
    case TAxisSide::Right: break;
  }
  return rect.Right;
}

// Takes `pixels` out of the rectangle on the axis side; returns the new edge.
int TakeRoom(const TCustomChartAxis& axis, TRect& rect, int pixels) {
  int& edge = EdgeOf(axis, rect);
  edge = MoveInward(axis, edge, pixels);
  return edge;
}

bool RunsAlongAxis(const TCustomChartAxis& axis, int angle) {
  return axis.IsHorizontal() ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
}

// The rule shared by labels and title; `text` is the caption, none for the labels.
int RoomForText(TCustomChartAxis& axis, const TFrameContext& frame, TFont& font, int angle, int fixed_size,
                const std::optional<rtl::Text>& text) {
  if (fixed_size != 0) return fixed_size;
  frame.SelectFont(font);
  TChartCanvas& canvas = frame.canvas;
  if (RunsAlongAxis(axis, angle)) return canvas.LineHeight();
  return text ? canvas.MeasureTextWidth(*text) : WidestAxisLabel(axis, frame);
}

int WidestValueLabel(TCustomChartAxis& axis, TChartCanvas& canvas) {
  double low = axis.ScaleMinimum();
  double high = axis.ScaleMaximum();
  if ((axis.IsDateTimeAxis() && axis.ExactDateTime()) || axis.RoundFirstLabel()) {
    // The step sees the axis length of the previous paint (0 before the first one).
    const double step = ComputeLabelStep(axis, canvas, TLabelHandler::Skip);
    low = std::trunc(low / step) * step;
    high = std::trunc(high / step) * step;
  }
  TCanvasLabelMeasure measure(canvas);
  const int high_width = MeasureLabelLines(FormatAxisLabel(axis, high, TLabelHandler::Skip), measure).Width;
  const int low_width = MeasureLabelLines(FormatAxisLabel(axis, low, TLabelHandler::Skip), measure).Width;
  return std::max(high_width, low_width) + canvas.MeasureTextWidth(" ");
}

}  // namespace

int AxisRoomForTicks(const TCustomChartAxis& axis) {
  int room = axis.Axis().Visible() ? axis.Axis().Width() : 0;
  if (axis.Ticks().Visible()) room += axis.TickLength();
  if (axis.MinorTicks().Visible()) room = std::max(room, axis.MinorTickLength());
  return room;
}

int AxisRoomForLabels(TCustomChartAxis& axis, const TFrameContext& frame) {
  return RoomForText(axis, frame, axis.LabelsFont(), axis.LabelsAngle(), axis.LabelsSize(), std::nullopt);
}

int AxisRoomForTitle(TCustomChartAxis& axis, const TFrameContext& frame) {
  TChartAxisTitle& title = axis.Title();
  return RoomForText(axis, frame, title.Font(), title.Angle(), axis.TitleSize(), title.Caption());
}

int WidestAxisLabel(TCustomChartAxis& axis, const TFrameContext& frame) {
  switch (axis.ResolveLabelStyle()) {
    case talValue: return WidestValueLabel(axis, frame.canvas);
    case talMark: return frame.chart.WidestMarkText();
    case talText: return WidestPointLabel(frame.chart, frame.canvas);
    default: return 0;
  }
}

namespace {

int MeasureWidestPointLabel(const TChartSeries& series, TCharAdvanceMeasure& measure, int from = 0) {
  int widest = 0;
  const int count = std::min(series.PointCount(), series.LabelCount());
  for (int i = from; i < count; ++i) widest = std::max(widest, measure.WidestLineWidth(series.PointLabelView(i)));
  return widest;
}

// Measuring every label of a long history on each paint dominated the frame; the answer only
// changes with the labels, the point count or the font, which key the series' memory. Points
// appended since add only their own labels to what was measured.
int CachedWidestPointLabel(const TChartSeries& series, const TLabelFontKey& font, TCharAdvanceMeasure& measure) {
  TLabelWidthCache& cache = series.WidestLabelCache();
  const std::uint64_t version = series.LabelsVersion();
  // Labels beyond the point count are not drawn; the count of those that are keys the memory.
  const int points = std::min(series.PointCount(), series.LabelCount());
  if (const auto width = cache.Find(version, points, font)) return *width;
  int width = 0;
  if (const auto prefix = cache.FindPrefix(version, points, font))
    width = std::max(prefix->Width, MeasureWidestPointLabel(series, measure, prefix->PointCount));
  else
    width = MeasureWidestPointLabel(series, measure);
  cache.Store(version, points, font, width);
  return width;
}

}  // namespace

int WidestPointLabel(const TChartHost& chart, TChartCanvas& canvas) {
  TCharAdvanceMeasure measure(canvas);
  const TLabelFontKey font = TLabelFontKey::Of(canvas.Font());
  int widest = 0;
  for (const TChartSeries* series : chart.SeriesList())
    if (series->LabelCount() > 0) widest = std::max(widest, CachedWidestPointLabel(*series, font, measure));
  return widest;
}

int UncachedWidestPointLabel(const TChartHost& chart, TChartCanvas& canvas) {
  TCharAdvanceMeasure measure(canvas);
  int widest = 0;
  for (const TChartSeries* series : chart.SeriesList())
    if (series->LabelCount() > 0) widest = std::max(widest, MeasureWidestPointLabel(*series, measure));
  return widest;
}

int PositionOffset(const TCustomChartAxis& axis, const TRect& rect) {
  if (axis.PositionPercent() == 0) return 0;
  const int extent = axis.IsHorizontal() ? rect.Height() : rect.Width();
  return Nearest(axis.PositionPercent() * 0.01 * extent);
}

int MoveInward(const TCustomChartAxis& axis, int position, int pixels) { return position - Outward(axis) * pixels; }

void ReserveAxisRoom(TCustomChartAxis& axis, const TFrameContext& frame, TRect& rect, bool shrink) {
  axis.SetIsDateTimeScale(axis.IsDateTimeAxis());
  if (!shrink) {
    const int axis_position = MoveInward(axis, EdgeOf(axis, rect), PositionOffset(axis, rect));
    const int labels_position = axis_position + Outward(axis) * AxisRoomForTicks(axis);
    axis.SetAxisPosition(axis_position);
    axis.SetLabelsPosition(labels_position);
    axis.SetTitlePosition(labels_position + Outward(axis) * AxisRoomForLabels(axis, frame));
    return;
  }
  // A title or labels that take no room still get their position here, at the edge: both are
  // shifted below on every paint, and a position kept from an earlier paint would drift.
  if (axis.IsDepth())
    axis.SetTitlePosition(rect.Right);
  else
    axis.SetTitlePosition(TakeRoom(axis, rect, axis.Title().Caption().empty() ? 0 : AxisRoomForTitle(axis, frame)));
  axis.SetLabelsPosition(TakeRoom(axis, rect, axis.Labels() ? AxisRoomForLabels(axis, frame) : 0));
  const int ticks = AxisRoomForTicks(axis) + frame.wall_size;
  if (ticks > 0) TakeRoom(axis, rect, ticks);
  const int offset = PositionOffset(axis, rect);
  axis.SetTitlePosition(MoveInward(axis, axis.TitlePosition(), offset));
  axis.SetLabelsPosition(MoveInward(axis, axis.LabelsPosition(), offset));
}
