// Drawing of an axis: title, labels, ticks, grid and axis line.
#include "chart/axis_drawing.h"

#include <algorithm>

#include "chart/axis.h"
#include "chart/axis_labels.h"
#include "chart/axis_painter.h"
#include "chart/axis_text.h"
#include "chart/chart_host.h"
#include "chart/frame_context.h"
#include "chart/rounding.h"
#include "chart/series.h"

namespace {

// Margin of the hit rectangle beyond the axis line, toward the chart.
constexpr int kHitMargin = 3;

int PlotEdge(const TCustomChartAxis& axis, const TRect& plot) {
  switch (AxisSide(axis)) {
    case TAxisSide::Bottom: return plot.Bottom;
    case TAxisSide::Top: return plot.Top;
    case TAxisSide::Left: return plot.Left;
    case TAxisSide::Right: break;
  }
  return plot.Right;
}

void PaintValueLabels(TAxisPainter& painter, double step, TDateTimeStep calendar_step) {
  TCustomChartAxis& axis = painter.Axis();
  EmitValueLabels(axis, step, calendar_step, [&](double value) {
    const int position = axis.ValueToPixel(value);
    if (!axis.LabelsOnAxis() && !(axis.StartPixel() < position && position < axis.EndPixel())) return;
    if (!axis.TickOnLabelsOnly()) painter.Ticks().Add(position);
    if (axis.Labels()) painter.PaintLabel(position, FormatAxisLabel(axis, value));
  });
}

// The i-th active series shown in the legend names depth slot i.
rtl::Text DepthLabelText(const TChartHost& chart, int index) {
  int seen = 0;
  for (const TChartSeries* series : chart.SeriesList()) {
    if (!series->Active() || !series->ShowInLegend()) continue;
    if (seen++ != index) continue;
    if (!series->Title().empty()) return series->Title();
    return series->Name().empty() ? "Series " + std::to_string(index) : series->Name();
  }
  return rtl::Text();
}

// Depth axis of a 3D chart with text labels: one label per depth slot, named by its series.
void PaintSeriesNames(TAxisPainter& painter) {
  TCustomChartAxis& axis = painter.Axis();
  const TChartHost& chart = painter.Frame().chart;
  if (std::ranges::none_of(chart.SeriesList(), [](const TChartSeries* s) { return s->Active(); })) return;
  for (int i = Trunc(axis.ScaleMinimum()); i <= Trunc(axis.ScaleMaximum()); ++i) {
    const int position = axis.DepthValueToPixel(axis.ScaleMaximum() - i - 0.5);
    if (!axis.TickOnLabelsOnly()) painter.Ticks().Add(position);
    if (!axis.Labels()) continue;
    rtl::Text text = DepthLabelText(chart, i);
    if (chart.OnGetAxisLabel()) chart.OnGetAxisLabel()(axis, nullptr, i, text);
    painter.PaintLabel(position, text);
  }
}

void PaintLabels(TAxisPainter& painter, double step, TDateTimeStep calendar_step, TPointLabelScan scan) {
  TCustomChartAxis& axis = painter.Axis();
  switch (const TAxisLabelStyle style = axis.ResolveLabelStyle()) {
    case talValue:
      PaintValueLabels(painter, step, calendar_step);
      break;
    case talMark:
    case talText:
      if (axis.IsDepth() && style == talText)
        PaintSeriesNames(painter);
      else
        PaintPointLabels(painter, style, scan);
      break;
    default:
      break;
  }
}

}  // namespace

void PaintAxis(TCustomChartAxis& axis, const TFrameContext& frame, bool placeAxisLine, TPointLabelScan scan) {
  axis.SetIsDateTimeScale(axis.IsDateTimeAxis());
  frame.SelectFont(axis.LabelsFont());
  const double step = ComputeLabelStep(axis, frame.canvas);
  if (placeAxisLine) {
    const TRect& plot = frame.plot_area;
    axis.SetAxisPosition(MoveInward(axis, PlotEdge(axis, plot), PositionOffset(axis, plot)));
  }
  TAxisPainter painter(axis, frame);
  if (!axis.Title().Caption().empty()) painter.PaintTitle();
  const TDateTimeStep calendar_step = CalendarStepIndex(axis, step);
  const bool calendar_labels = calendar_step >= dtHalfMonth && calendar_step <= dtOneYear;
  if ((step > 0 || calendar_labels) && axis.ScaleMaximum() >= axis.ScaleMinimum())
    PaintLabels(painter, step, calendar_step, scan);
  DrawAxisLines(axis, frame, painter.Ticks().Positions());
}

bool AxisHitTest(const TCustomChartAxis& axis, int x, int y) {
  const int along_from = std::min(axis.StartPixel(), axis.EndPixel());
  const int along_to = std::max(axis.StartPixel(), axis.EndPixel());
  const int labels = axis.LabelsPosition();
  const int line = axis.AxisPosition();
  const int across_from = labels < line ? labels : line - kHitMargin;
  const int across_to = labels < line ? line + kHitMargin : labels;
  const int along = axis.IsHorizontal() ? x : y;
  const int across = axis.IsHorizontal() ? y : x;
  return along_from <= along && along < along_to && across_from <= across && across < across_to;
}
