// The page "Сеансы и файлы" as a shell meets it: a reading of N open files delivered to the page
// through its reading thread, sorted by the clicked column, and the first screenful of cells
// (40 rows, every column) asked as a first paint asks them. And the window's poll tick with the
// page hidden, which must cost what a tick cost before the page (one question to the view more),
// next to a tick with the page shown, which also reads it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/window/window_logic.h"
#include "open_file_records.h"
#include "tests/support/hand_turned_poster.h"

namespace {

class PaintedList final : public core::ReportList {
 public:
  static constexpr int kScreenRows = 40;
  int clicked = -1;
  int shown = 0;

  void ShowRows(const core::ReportRows& rows) override {
    ++shown;
    // A first paint: the visible rows' texts, every column.
    const int rows_seen = std::min(rows.RowCount(), kScreenRows);
    for (int row = 0; row < rows_seen; ++row) {
      for (int column = 0; column < rows.ColumnCount(); ++column) benchmark::DoNotOptimize(rows.Cell(row, column));
    }
  }
  void ShowSortColumn(int, bool) override {}
  int ClickedColumn() const override { return clicked; }
};

class FixedChoices final : public core::ChoiceBox {
 public:
  void SetChoices(const rtl::StringList&, int) override {}
  int ChosenIndex() const override { return 0; }
};

class BenchServerPage final : public core::ServerPageView {
 public:
  PaintedList sessions, open_files;
  FixedChoices shares;

  core::ReportList& SessionsList() override { return sessions; }
  core::ReportList& OpenFilesList() override { return open_files; }
  core::ChoiceBox& OpenFilesShareBox() override { return shares; }
  void ShowServerStatus(const rtl::Text&) override {}
};

class PreparedReader final : public core::ServerReader {
 public:
  explicit PreparedReader(int open_files)
      : files_{platform::ServerReadOutcome::kRead, OpenFiles(open_files), false, ""} {}
  platform::SessionReading ReadSessions() override { return {platform::ServerReadOutcome::kRead, {}, false, ""}; }
  platform::OpenFileReading ReadOpenFiles(const rtl::Text&) override { return files_; }

 private:
  platform::OpenFileReading files_;
};

void BM_ServerPageRows(benchmark::State& state) {
  HandTurnedPoster poster;
  BenchServerPage view;
  PreparedReader reader(static_cast<int>(state.range(0)));
  core::ServerPage page(view, poster, reader);
  view.open_files.clicked = 0;  // "Файл": by text, the slowest sort (BM_SortOpenFiles)
  page.SortOpenFiles();
  for (auto _ : state) {
    page.Refresh();
    poster.RunUntil([&, shown = view.open_files.shown] { return view.open_files.shown > shown; });
  }
}
BENCHMARK(BM_ServerPageRows)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

class BenchEntries final : public core::EntryList {
 public:
  rtl::StringList entries;
  rtl::StringList Entries() const override { return entries; }
  void SetEntries(const rtl::StringList& new_entries) override { entries = new_entries; }
  void AddEntry(const rtl::Text& entry) override { entries.Add(entry); }
  void DeleteEntry(int index) override { entries.Delete(index); }
  int ItemIndex() const override { return -1; }
};

class BenchWindow final : public core::WindowView {
 public:
  BenchEntries watch_list, share_list, users_list;
  BenchServerPage server_page;
  core::WindowPage page = core::WindowPage::kTable;

  core::EntryList& WatchList() override { return watch_list; }
  core::EntryList& ShareList() override { return share_list; }
  core::EntryList& UsersList() override { return users_list; }
  rtl::Text IntervalText() const override { return "1"; }
  void ShowRunning(bool) override {}
  void ShowPage(core::WindowPage) override {}
  core::WindowPage CurrentPage() const override { return page; }
  core::ServerPageView& ServerPage() override { return server_page; }
  std::optional<std::filesystem::path> ChooseFileToOpen() override { return std::nullopt; }
  void ShowError(const rtl::Text&) override {}
  void ShowNotice(const rtl::Text&) override {}
  void ShowShareHistory(const core::ConnectionTable&, const rtl::Text&) override {}
  void CloseWindow() override {}
};

class NobodyConnected final : public core::ShareProber {
 public:
  core::ProbeResult Probe(const rtl::Text&, const platform::CancelSignal&) override { return {}; }
};

class NoWaits final : public core::WaitTimer {
 public:
  void StartWait(std::uint32_t) override {}
  void StopWait() override {}
};

// Ticks of a run over one share whose probe answers at once; each writes the run's table file,
// one row longer every tick, so the count of ticks is fixed. 1: the page is shown and read too.
void BM_WindowTick(benchmark::State& state) {
  const bool page_shown = state.range(0) != 0;
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("sharemon_bench_tick_" + std::to_string(page_shown));
  std::filesystem::create_directories(directory);
  {
    HandTurnedPoster poster;
    NoWaits waits;
    BenchWindow view;
    NobodyConnected prober;
    PreparedReader reader(100);
    core::WindowLogic logic(view, poster, waits);
    logic.SetProber(&prober);
    logic.SetServerReader(&reader);
    logic.Show(directory);
    view.watch_list.entries = {"docs"};
    logic.StartStop();
    if (page_shown) view.page = core::WindowPage::kSessionsAndFiles;
    for (auto _ : state) {
      logic.TimerWaitEnded();
      if (!logic.Run().Probing()) {
        state.SkipWithError("the wait ended no period");
        break;
      }
      const int page_read = view.server_page.open_files.shown + (page_shown ? 1 : 0);
      poster.RunUntil([&] { return !logic.Run().Probing() && view.server_page.open_files.shown == page_read; });
    }
    logic.Close();
  }
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_WindowTick)
    ->ArgName("page_shown")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace
