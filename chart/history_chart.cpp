// The share history chart: Chart1's settings and a history shown on it.
#include "chart/history_chart.h"

#include <memory>

#include "chart/chart.h"
#include "chart/fast_line_series.h"

namespace {

// Every point carries this colour value (blue in the framework's byte order); the fast line
// draws all of them in its own pen, so it never shows.
constexpr TColor kPointColor = 0xFF0000;

// The points go to the series in one batch, which sorts rows out of time order once instead
// of inserting each.
void AddLinePoints(TFastLineSeries& series, THistoryLine& line) {
  std::vector<TSeriesPoint> points;
  points.reserve(line.x.size());
  for (std::size_t i = 0; i < line.x.size(); ++i)
    points.push_back({line.x[i], line.y[i], std::move(line.labels[i]), kPointColor});
  series.AddPoints(std::move(points));
}

}  // namespace

TFastLineSeries& ConfigureHistoryChart(TChart& chart) {
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  chart.Title().SetText({"TChart"});
  chart.BackWall().Brush().SetColor(clWhite);
  chart.BackWall().Brush().SetStyle(bsClear);
  chart.BottomAxisRef().SetDateTimeFormat("dd.MM.yyyy");
  chart.BottomAxisRef().SetLabelsAngle(90);

  auto series = std::make_unique<TFastLineSeries>();
  series->SetName("Series1");
  series->SetSeriesColor(clRed);
  series->LinePen().SetColor(clRed);
  series->Marks().Visible = false;
  series->Marks().ArrowLength = 8;
  series->XValues().SetName("X");
  series->XValues().SetDateTime(true);
  series->XValues().SetMultiplier(1);
  series->XValues().SetOrder(loAscending);
  series->YValues().SetName("Y");
  series->YValues().SetDateTime(false);
  series->YValues().SetMultiplier(1);
  series->YValues().SetOrder(loNone);
  return static_cast<TFastLineSeries&>(chart.AdoptSeries(std::move(series)));
}

void ShowHistoryLine(TChart& chart, TFastLineSeries& series, const rtl::Text& title, THistoryLine line,
                     const std::function<void(const rtl::Text&)>& notice) {
  chart.Title().SetLine(0, title);
  TChartAxis& left = chart.LeftAxisRef();
  left.SetMinimum(0);
  left.SetMaximum(60);
  left.SetAutomatic(false);
  if (!line.replaces_curve) return;
  series.ClearPoints();
  if (line.notice) notice(*line.notice);
  if (!line.x.empty()) AddLinePoints(series, line);
  if (line.failure) std::rethrow_exception(line.failure);
  if (line.axis_maximum) left.SetMaximum(*line.axis_maximum);
}

void RenderHistoryFrame(TChart& chart, TBitmap& frame) {
  TCanvas target(chart.Device(), &frame);
  chart.RenderChart(target, frame.Rect());
}
