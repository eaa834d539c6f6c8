// The Windows counterpart of BM_TableViewManyColumns: ListView1 of the Win32 window (hidden)
// takes a table file of COUNT shares (default 10000) with a day of half-hourly rows, as a load
// gives it, and then a run's start replaces its columns. Prints per count the time of each, on
// the clock and in the process's processor time (a busy machine stretches the first).
//   table_view_timing.exe [COUNT...]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "history_table.h"
#include "winshell/main_window.h"

namespace {

struct Moment {
  std::chrono::steady_clock::time_point clock = std::chrono::steady_clock::now();
  double processor = ProcessorMilliseconds();

  static double ProcessorMilliseconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ticks = [](FILETIME time) { return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 10000;  // 100 ns ticks
  }
};

// "N ms (processor M ms)" since `start`.
std::string Since(const Moment& start) {
  const Moment now;
  char text[64];
  std::snprintf(text, sizeof text, "%.0f ms (processor %.0f ms)",
                std::chrono::duration<double, std::milli>(now.clock - start.clock).count(),
                now.processor - start.processor);
  return text;
}

void TimeColumns(int count) {
  winshell::MainWindow window;
  core::ConnectionTable& table = window.Logic().Table();
  ManyShares shares = ManySharesTable(count, 48);
  const Moment start;
  table.AddColumns(shares.columns);
  table.AppendRows(std::move(shares.rows));
  const std::string loaded = Since(start);
  const Moment restart;
  table.ClearColumns();
  table.AddColumns(shares.columns);
  std::printf("BM_TableViewManyColumns/%d through the list view: loaded in %s, columns replaced in %s\n", count,
              loaded.c_str(), Since(restart).c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) TimeColumns(10000);
  for (int i = 1; i < argc; ++i) TimeColumns(std::atoi(argv[i]));
  return 0;
}
