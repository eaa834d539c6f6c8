// The "График" page's content: a watched share's history, drawn by the chart engine's Win32
// chart window (chart/win32/chart_window.h) with Chart1's stored settings, as the Linux
// window's chart draws it. MakeHistoryPane is the one place that makes it, on TabSheet3 at
// 16, 8, 817 × 250.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "core/connection_table.h"
#include "rtl/text.h"

namespace winshell {

class HistoryPane {
 public:
  virtual ~HistoryPane() = default;
  // Draws `share`'s history from `table` (Windows-1251) as the Linux window's chart does; a
  // first count that is no integer goes to `notice` first. May throw; what was drawn before
  // the error stays.
  virtual void ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share,
                                const std::function<void(const rtl::Text&)>& notice) = 0;
};

// The chart window on `page` (TabSheet3). Throws rtl::Exception when the window cannot be
// made.
std::unique_ptr<HistoryPane> MakeHistoryPane(HWND page);

}  // namespace winshell
