// Sorting 10,000 open files by a column, as the window's page does on a header click: by the
// path (text, without regard to case) and by the time it was opened.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/server_rows.h"

namespace {

std::vector<platform::OpenFileRecord> OpenFiles(int count) {
  std::vector<platform::OpenFileRecord> files;
  for (int i = 0; i < count; ++i) {
    const int scrambled = (i * 7919) % count;
    files.push_back({"docs", "Dir/File" + std::to_string(scrambled) + ".txt", "user" + std::to_string(i % 50),
                     "10.0.0." + std::to_string(i % 200), {true, i % 2 == 0, false}, "R", "",
                     std::chrono::sys_seconds(std::chrono::seconds(1'765'000'000 + scrambled))});
  }
  return files;
}

void BM_SortOpenFiles(benchmark::State& state) {
  const auto files = OpenFiles(10000);
  const auto& column = core::OpenFileColumns().at(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(core::SortedOrder(files, column, true));
}
BENCHMARK(BM_SortOpenFiles)->ArgName("column")->Arg(0)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
