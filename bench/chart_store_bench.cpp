// Cost of the series store and the axis mapping: appends in and out of order, the visible
// point range over a long series, and value-to-pixel calls. Each case reports the time per
// point or per call as "per_item".
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "chart/axis.h"
#include "chart/chart_host.h"
#include "chart/series.h"

namespace {

// The least a chart must provide for a series and its axes to work.
class BenchChartHost : public TChartHost {
 public:
  BenchChartHost() : axes_(this) {}
  ~BenchChartHost() override {
    while (!series_.empty()) series_.back()->SetParentChart(nullptr);
  }
  void InvalidateChart() override {}
  void RefreshChart() override {}
  std::span<TChartSeries* const> SeriesList() const override { return series_; }
  void AttachSeries(TChartSeries& series) override {
    if (std::find(series_.begin(), series_.end(), &series) != series_.end()) return;
    series_.push_back(&series);
    series.SetParentChart(this);
  }
  void DetachSeries(TChartSeries& series) override {
    if (std::find(series_.begin(), series_.end(), &series) == series_.end()) return;
    std::erase(series_, &series);
    series.SetParentChart(nullptr);
  }
  TRect PlotArea() const override { return {25, 10, 792, 240}; }
  int Depth3D() const override { return 0; }
  bool IsLoading() const override { return false; }
  bool IsDestroying() const override { return false; }
  TCustomChartAxis* BottomAxis() const override { return &axes_.Bottom(); }
  TCustomChartAxis* TopAxis() const override { return &axes_.Top(); }
  TCustomChartAxis* LeftAxis() const override { return &axes_.Left(); }
  TCustomChartAxis* RightAxis() const override { return &axes_.Right(); }
  TCustomChartAxis* DepthAxis() const override { return &axes_.Depth(); }
  int MaxPointsPerPage() const override { return 0; }
  int Page() const override { return 1; }
  bool ScaleLastPage() const override { return true; }
  int HighestSeriesZOrder() const override { return 0; }
  bool AppliesDepthOrdering() const override { return false; }
  bool MouseHandled() const override { return false; }
  void SetMouseHandled(bool) override {}
  const TAxisOnGetLabel& OnGetAxisLabel() const override { return get_label_; }
  const TAxisOnGetNextLabel& OnGetNextAxisLabel() const override { return get_next_label_; }

  TChartAxes& Axes() { return axes_; }

 private:
  mutable TChartAxes axes_;
  std::vector<TChartSeries*> series_;
  TAxisOnGetLabel get_label_;
  TAxisOnGetNextLabel get_next_label_;
};

void ReportPerItem(benchmark::State& state, std::int64_t itemsPerIteration) {
  state.counters["per_item"] = benchmark::Counter(double(itemsPerIteration),
                                                  benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Date-time X values one minute apart, as a polling run produces them (with labels).
void BM_AppendAscending(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  BenchChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  for (auto _ : state) {
    series.ClearPoints();
    for (int i = 0; i < count; ++i) series.AddPoint(46000 + i / 1440.0, i % 50, i % 60 == 0 ? "08.12.2026" : "");
    benchmark::DoNotOptimize(series.PointCount());
  }
  ReportPerItem(state, count);
}
BENCHMARK(BM_AppendAscending)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AppendRandom(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<double> xs(count);
  std::mt19937 generator(5);
  std::uniform_real_distribution<double> x(0, 1e6);
  for (double& value : xs) value = x(generator);
  TChartSeries series;
  for (auto _ : state) {
    series.ClearPoints();
    for (int i = 0; i < count; ++i) series.AddPoint(xs[i], i);
    benchmark::DoNotOptimize(series.PointCount());
  }
  ReportPerItem(state, count);
}
BENCHMARK(BM_AppendRandom)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The axis shows the middle half of the points, so the scans walk 750000 of them.
void BM_VisibleRange(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  BenchChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  for (int i = 0; i < count; ++i) series.AddPoint(i, i % 50);
  chart.Axes().Bottom().SetScaleRange(count * 0.25, count * 0.75);
  chart.Axes().Bottom().UpdateScale();
  chart.Axes().Bottom().UpdatePixelSpan();
  for (auto _ : state) {
    series.ComputeVisibleRange();
    benchmark::DoNotOptimize(series.LastVisibleIndex());
  }
  ReportPerItem(state, count);
}
BENCHMARK(BM_VisibleRange)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ValueToPixel(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  BenchChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Left();
  axis.SetScaleRange(0, 65);
  axis.UpdateScale();
  axis.UpdatePixelSpan();
  for (auto _ : state) {
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += axis.ValueToPixel(i % 65 + 0.5);
    benchmark::DoNotOptimize(sum);
  }
  ReportPerItem(state, count);
}
BENCHMARK(BM_ValueToPixel)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
