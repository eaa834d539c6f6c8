// The canvas's own line drawing, the bulk of a chart frame: a polyline of one-pixel
// segments across a history-chart-sized image, and a dotted grid line.
#include <benchmark/benchmark.h>

#include "bench_application.h"
#include "chart/canvas.h"
#include "chart/qt/qt_device.h"

namespace {

void BM_CanvasLineTo(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice qt;
  TBitmap window(817, 250);
  TCanvas device(qt, &window);
  TChartCanvas3D canvas(device);
  canvas.BeginFrame(device, nullptr, {0, 0, 817, 250}, false);
  canvas.Pen().SetColor(clRed);
  canvas.ClipToBox({25, 10, 792, 240}, 0, 0);
  const int segments = int(state.range(0));
  for (auto _ : state) {
    canvas.MovePen(25, 120);
    for (int i = 1; i <= segments; ++i) canvas.DrawLineTo(25 + i * 767 / segments, 20 + (i * 37) % 200);
  }
  state.SetItemsProcessed(state.iterations() * segments);
}
BENCHMARK(BM_CanvasLineTo)->Arg(1000)->Arg(100000);

void BM_CanvasDottedGridLine(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice qt;
  TBitmap window(817, 250);
  TCanvas device(qt, &window);
  TChartCanvas3D canvas(device);
  canvas.BeginFrame(device, nullptr, {0, 0, 817, 250}, false);
  canvas.ApplyChartPen(TDottedGrayPen());
  for (auto _ : state) canvas.DrawHorizontalLine(26, 791, 100);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CanvasDottedGridLine);

}  // namespace
