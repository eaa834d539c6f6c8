#include "winshell/history_pane.h"

namespace winshell {

// The chart window of the chart engine's Win32 backend goes here.
std::unique_ptr<HistoryPane> MakeHistoryPane(HWND) { return nullptr; }

}  // namespace winshell
