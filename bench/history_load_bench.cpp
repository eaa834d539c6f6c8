// Loading a share's history into the chart (the click command, no frame drawn) from a table
// of N rows, one a minute, in time order, in reverse (files joined the wrong way round) and
// shuffled. Rows out of time order must cost about what rows in order cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "app/history_chart.h"
#include "bench_application.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "history_table.h"

namespace {

enum class RowOrder { Ascending, Descending, Random };

const core::ConnectionTable& TableOf(int count, RowOrder order) {
  static std::map<std::pair<int, RowOrder>, core::ConnectionTable> cache;
  const auto found = cache.find({count, order});
  if (found != cache.end()) return found->second;
  constexpr double kFirstDay = 46023;  // 1 January 2026
  std::vector<double> times(count), counts(count);
  std::mt19937 generator(20261026);
  for (int i = 0; i < count; ++i) {
    times[i] = kFirstDay + i / 1440.0;
    counts[i] = double(generator() % 61);
  }
  if (order == RowOrder::Descending) std::reverse(times.begin(), times.end());
  if (order == RowOrder::Random) std::shuffle(times.begin(), times.end(), generator);
  return cache.emplace(std::pair{count, order}, HistoryTable(times, counts)).first->second;
}

void BM_HistoryLoad(benchmark::State& state, RowOrder order) {
  EnsureBenchApplication();
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(817, 250);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  const core::ConnectionTable& table = TableOf(int(state.range(0)), order);
  for (auto _ : state) {
    ShowShareHistory(chart, series, table, "DATA", [](const rtl::Text&) {});
    benchmark::DoNotOptimize(series.PointCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK_CAPTURE(BM_HistoryLoad, Ascending, RowOrder::Ascending)
    ->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryLoad, Descending, RowOrder::Descending)
    ->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HistoryLoad, Random, RowOrder::Random)
    ->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
