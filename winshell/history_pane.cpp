// The "График" page's chart: Chart1 in a Win32 chart window, the table's reading shown on it.
#include "winshell/history_pane.h"

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/history_chart.h"
#include "chart/win32/chart_window.h"
#include "core/share_history.h"
#include "core/window/form_layout.h"

namespace winshell {
namespace {

class ChartPane : public HistoryPane {
 public:
  explicit ChartPane(HWND page) : window_(page, RectOf(core::form1::kChart1)) {}

  void ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share,
                        const std::function<void(const rtl::Text&)>& notice) override {
    ShowHistoryLine(window_.Chart(), series_, share, HistoryLineOf(core::ReadShareHistory(table, share)), notice);
  }

 private:
  static TRect RectOf(const core::form1::Place& place) {
    return {place.left, place.top, place.left + place.width, place.top + place.height};
  }

  TWin32ChartWindow window_;
  TFastLineSeries& series_ = ConfigureHistoryChart(window_.Chart());
};

}  // namespace

std::unique_ptr<HistoryPane> MakeHistoryPane(HWND page) { return std::make_unique<ChartPane>(page); }

}  // namespace winshell
