// ListView1 of the Qt window (shown, offscreen) taking a table file of many shares with a day
// of half-hourly rows, as a load gives it, until its header has fitted the columns; the Win32
// window's counterpart is bench/win32/table_view_timing.cpp.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeView>

#include "app/form1.h"
#include "bench_application.h"
#include "core/window/form_layout.h"
#include "history_table.h"

namespace {

void BM_TableViewManyColumns(benchmark::State& state) {
  EnsureBenchApplication();
  TForm1 form;
  // A shown view lays itself out and paints, which a hidden one never does.
  form.show();
  core::ConnectionTable& table = form.Logic().Table();
  const ManyShares shares = ManySharesTable(static_cast<int>(state.range(0)), 48);
  for (auto _ : state) {
    state.PauseTiming();
    table.Clear();
    QCoreApplication::processEvents();
    std::vector<core::ConnectionTable::Row> rows = shares.rows;
    state.ResumeTiming();
    table.AddColumns(shares.columns);
    table.AppendRows(std::move(rows));
    // The header fits its sections on an event of its own.
    QCoreApplication::processEvents();
  }
  // The row captions are wider than a new column: unfitted, the case measured nothing.
  if (form.ListView1()->header()->sectionSize(0) <= core::form1::kColumnWidth) {
    state.SkipWithError("columns not fitted");
  }
}
BENCHMARK(BM_TableViewManyColumns)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
