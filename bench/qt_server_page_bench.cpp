// The open files' list of the Qt window's page "Сеансы и файлы" (shown, offscreen) taking a
// reading of 10,000 files from the logic and painted once, as a grab of the list paints it: the
// rows are owner data, so only the drawn ones are made into text. The logic's side, a reading to
// its sorted rows, is BM_ServerPageRows (server_page_bench.cpp).
#include <benchmark/benchmark.h>

#include <QSignalBlocker>
#include <QTabWidget>

#include "app/form1.h"
#include "app/report_list_view.h"
#include "bench_application.h"
#include "core/server_rows.h"
#include "open_file_records.h"

namespace {

// The rows as the logic holds them: the records, and their cells made when asked.
class OpenFileRows : public core::ReportRows {
 public:
  explicit OpenFileRows(int count) : records_(OpenFiles(count)) {}
  int ColumnCount() const override { return static_cast<int>(core::OpenFileColumns().size()); }
  rtl::Text Caption(int column) const override { return rtl::Windows1251FromUtf8(Column(column).caption); }
  int RowCount() const override { return static_cast<int>(records_.size()); }
  rtl::Text Cell(int row, int column) const override {
    return Column(column).cell(records_[static_cast<std::size_t>(row)]);
  }

 private:
  static const core::OpenFileColumn& Column(int column) {
    return core::OpenFileColumns()[static_cast<std::size_t>(column)];
  }
  std::vector<platform::OpenFileRecord> records_;
};

void BM_QtServerPageFill(benchmark::State& state) {
  EnsureBenchApplication();
  TForm1 form;
  form.show();
  {
    // The page shown without its command, which would read the system's server.
    const QSignalBlocker quiet(form.PageControl1());
    form.PageControl1()->setCurrentIndex(static_cast<int>(core::WindowPage::kSessionsAndFiles));
  }
  const OpenFileRows rows(static_cast<int>(state.range(0)));
  ReportListView& list = *form.OpenFilesList();
  for (auto _ : state) {
    list.ShowRows(rows);
    benchmark::DoNotOptimize(list.grab());
  }
  if (list.model()->rowCount() != rows.RowCount() || !list.isVisible()) state.SkipWithError("rows not shown");
}
BENCHMARK(BM_QtServerPageFill)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
