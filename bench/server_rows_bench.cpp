// Sorting 10,000 open files by a column, as the window's page does on a header click: by the
// path (text, without regard to case) and by the time it was opened.
#include <benchmark/benchmark.h>

#include "core/server_rows.h"
#include "open_file_records.h"

namespace {

void BM_SortOpenFiles(benchmark::State& state) {
  const auto files = OpenFiles(10000);
  const auto& column = core::OpenFileColumns().at(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(core::SortedOrder(files, column, true));
}
BENCHMARK(BM_SortOpenFiles)->ArgName("column")->Arg(0)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
