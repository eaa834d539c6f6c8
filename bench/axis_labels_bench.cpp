// Point labels of a dense bottom axis, as the history chart shows them (one label per point,
// upright, thinned by the overlap test): one drawing of the axis visiting every point against
// the walk that jumps over hidden labels, and the widest label the room reservation measures.
#include "bench_application.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "chart/axis_drawing.h"
#include "chart/chart.h"
#include "chart/qt/qt_device.h"
#include "chart/series.h"

namespace {

// An 817 x 250 chart with `count` points one minute apart, each labelled with its time, laid
// out by one full frame so that the axes hold their final scale and positions.
struct LabelledChart {
  explicit LabelledChart(int count) {
    chart.Resize(817, 250);
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    chart.BottomAxisRef().SetLabelsAngle(90);
    TChartSeries& series = chart.AdoptSeries(std::make_unique<TChartSeries>());
    for (int i = 0; i < count; ++i) {
      const int minutes = i % 1440;
      series.AddPoint(46023 + i / 1440.0, i % 60,
                      std::to_string(minutes / 60 + 100).substr(1) + ":" + std::to_string(minutes % 60 + 100).substr(1));
    }
    TCanvas target(device, &image);
    chart.RenderChart(target, {0, 0, 817, 250});
  }
  bool application_ready = (EnsureBenchApplication(), true);  // before the chart's device
  TBitmap image{817, 250};
  TQtChartDevice device;
  TChart chart{device};
};

void BM_BottomAxisPointLabels(benchmark::State& state) {
  LabelledChart labelled(static_cast<int>(state.range(0)));
  const auto scan = state.range(1) == 0 ? TPointLabelScan::EveryPoint : TPointLabelScan::SkipHidden;
  TCanvas target(labelled.device, &labelled.image);
  TChartCanvas& canvas = *labelled.chart.Canvas();
  canvas.BeginFrame(target, nullptr, {0, 0, 817, 250}, false);
  for (auto _ : state) PaintAxis(labelled.chart.BottomAxisRef(), labelled.chart.FrameContext(), true, scan);
  canvas.EndFrame(target, labelled.chart.WindowCanvas(), {0, 0, 817, 250});
  state.SetLabel(scan == TPointLabelScan::EveryPoint ? "every point" : "skipping hidden");
}
BENCHMARK(BM_BottomAxisPointLabels)
    ->ArgsProduct({{10'000, 100'000, 1'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_WidestPointLabel(benchmark::State& state) {
  LabelledChart labelled(static_cast<int>(state.range(0)));
  TChartCanvas& canvas = *labelled.chart.Canvas();
  const bool by_advances = state.range(1) == 1;
  for (auto _ : state) {
    const int widest = by_advances ? WidestPointLabel(labelled.chart, canvas) : labelled.chart.WidestPointLabel();
    benchmark::DoNotOptimize(widest);
  }
  state.SetLabel(by_advances ? "character advances" : "text by text");
}
BENCHMARK(BM_WidestPointLabel)->ArgsProduct({{10'000, 100'000}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
