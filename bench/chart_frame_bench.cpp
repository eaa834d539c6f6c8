// One full frame of an 817 x 250 chart through RenderChart into an image: an empty chart
// (no series, every side axis shown) and the history chart's axes with one day of polls.
#include "bench_application.h"
#include <benchmark/benchmark.h>

#include <cstdio>

#include <QApplication>

#include "app/history_chart.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "core/window/form_layout.h"

namespace {

// The window's chart (Chart1) is the frame drawn.
using core::form1::kChart1;

void RenderFrames(benchmark::State& state, TChart& chart) {
  TBitmap frame(kChart1.width, kChart1.height);
  TCanvas target(chart.Device(), &frame);
  for (auto _ : state) {
    chart.RenderChart(target, {0, 0, kChart1.width, kChart1.height});
    benchmark::DoNotOptimize(frame.Row(0));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_EmptyFrame(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(kChart1.width, kChart1.height);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  RenderFrames(state, chart);
}
BENCHMARK(BM_EmptyFrame);

// The history chart's settings (title, date-time bottom axis at 90 degrees, left axis
// 0..65) with 48 polls of one day, labelled as the program labels them.
void BM_AxesFrame(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(kChart1.width, kChart1.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  chart.Title().SetLine(0, "DATA");
  constexpr double kDay = 46000.0;  // 08.12.2025
  for (int i = 0; i < 48; ++i) {
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:00", i / 2, (i % 2) * 30);
    series.AddPoint(kDay + i / 48.0, (i * 7) % 60, i == 0 ? "08.12.2025" : time, clBlue);
  }
  TChartAxis& left = chart.LeftAxisRef();
  left.SetMinimum(0);
  left.SetMaximum(65);
  left.SetAutomatic(false);
  RenderFrames(state, chart);
}
BENCHMARK(BM_AxesFrame);

}  // namespace
