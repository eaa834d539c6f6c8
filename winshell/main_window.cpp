#include "winshell/main_window.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "platform/standard_streams.h"
#include "rtl/file_name.h"
#include "winshell/message_boxes.h"
#include "winshell/wide_text.h"

namespace winshell {
namespace {

// The message that runs what was posted (Post), and the timer of the poll's waits.
constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT_PTR kTimer1 = 1;

using core::WindowCommand;

// A control's notification (WM_COMMAND's code or WM_NOTIFY's) and the command it runs.
struct ControlEvent {
  HWND MainWindow::Controls::*control;
  UINT code;
  WindowCommand command;
};

// The menu items' commands come with the items (core::form1::kMenus).
constexpr ControlEvent kEvents[] = {
    {&MainWindow::Controls::button1, BN_CLICKED, WindowCommand::kStartStop},
    {&MainWindow::Controls::button2, BN_CLICKED, WindowCommand::kCopyShareList},
    {&MainWindow::Controls::button3, BN_CLICKED, WindowCommand::kClearWatchList},
    // ListBox1's selection, also when the double-click was on the users view (ListBox3).
    {&MainWindow::Controls::list_box1, LBN_DBLCLK, WindowCommand::kAddSelectedShare},
    {&MainWindow::Controls::list_box3, LBN_DBLCLK, WindowCommand::kAddSelectedShare},
    {&MainWindow::Controls::list_box2, LBN_SELCHANGE, WindowCommand::kShowHistory},
    {&MainWindow::Controls::page_control1, TCN_SELCHANGE, WindowCommand::kPageChanged},
    {&MainWindow::Controls::refresh_button, BN_CLICKED, WindowCommand::kRefreshServerPage},
    {&MainWindow::Controls::open_files_share_box, CBN_SELCHANGE, WindowCommand::kChooseOpenFilesShare},
    // After the list took the clicked column (ReportListView::Notify).
    {&MainWindow::Controls::sessions_list, LVN_COLUMNCLICK, WindowCommand::kSortSessions},
    {&MainWindow::Controls::open_files_list, LVN_COLUMNCLICK, WindowCommand::kSortOpenFiles},
};

}  // namespace

MainWindow::MainWindow() {
  RegisterClasses();
  BuildLayout();
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void MainWindow::Show(const std::filesystem::path& data_directory, int show_command) {
  ShowWindow(window_, show_command);
  UpdateWindow(window_);
  if (shown_) return;
  shown_ = true;
  logic_.Guarded([&] { logic_.Show(data_directory); });
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    self->window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

// A page passes its controls' events on to the window, which handles them all.
LRESULT CALLBACK MainWindow::TabSheetProc(HWND sheet, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    return SendMessageW(GetAncestor(sheet, GA_ROOT), message, wparam, lparam);
  }
  return DefWindowProcW(sheet, message, wparam, lparam);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: OnCommand(HIWORD(wparam), LOWORD(wparam), reinterpret_cast<HWND>(lparam)); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wparam) != controls_.list_box2) break;
      OnContextMenu(controls_.list_box2, lparam);
      return 0;
    case WM_TIMER:
      if (wparam != kTimer1) break;
      // Each wait ticks once; the logic starts the next.
      KillTimer(window_, kTimer1);
      logic_.Execute(WindowCommand::kTimerWaitEnded);
      return 0;
    case kRunPosted: RunPosted(); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wparam) != WA_INACTIVE); return 0;
    case WM_CLOSE: AskToClose(); return 0;
    // The end of the session saves what the end of a Linux session or SIGTERM saves: the watch
    // list when the session asks, then the window closes as "Выход" closes it, so a run's table
    // is written too.
    case WM_QUERYENDSESSION: logic_.SaveWatchList(); return TRUE;
    case WM_ENDSESSION:
      if (wparam) AskToClose();
      return 0;
    case WM_DESTROY: KillTimer(window_, kTimer1); return 0;
    // Windows tells top-level windows only; the controls and the chart show the new colours.
    case WM_SYSCOLORCHANGE:
      EnumChildWindows(
          window_,
          [](HWND child, LPARAM) {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
          },
          0);
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void MainWindow::OnCommand(WORD code, WORD id, HWND control) {
  if (control != nullptr) return RunControlEvent(control, code);
  for (const auto items : core::form1::kMenus) {
    for (const core::form1::MenuItem& item : items) {
      if (item.number == id) logic_.Execute(item.command);
    }
  }
}

void MainWindow::RunControlEvent(HWND control, UINT code) {
  for (const ControlEvent& event : kEvents) {
    if (controls_.*event.control == control && event.code == code) logic_.Execute(event.command);
  }
}

// A list takes its own notifications first: its cells' texts, the header clicked before the
// sort command runs. The tab control shows the chosen tab's page, which the logic then asks.
LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == controls_.page_control1 && header.code == TCN_SELCHANGE) {
    ShowSheet(static_cast<int>(CurrentPage()));
  }
  LRESULT result = 0;
  if (list_view1_items_) logic_.Guarded([&] { list_view1_items_->Notify(header, result); });
  if (!sessions_list_.Notify(header, result)) open_files_list_.Notify(header, result);
  RunControlEvent(header.hwndFrom, header.code);
  return result;
}

void MainWindow::OnContextMenu(HWND control, LPARAM position) {
  POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  // From the keyboard: at the list's top left corner.
  if (at.x == -1 && at.y == -1) {
    at = {0, 0};
    ClientToScreen(control, &at);
  }
  TrackPopupMenu(popup_menu1_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

// The focus comes back to the control that had it when the window was last active.
void MainWindow::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) focused_ = focus;
    return;
  }
  SetFocus(focused_ != nullptr && IsWindowVisible(focused_) ? focused_ : controls_.button1);
}

bool MainWindow::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !IsChild(window_, message.hwnd)) return false;
  const std::vector<HWND> order = TabOrder();
  // The control itself or, for a part of one (the list view's edit box), the innermost control
  // holding it: PageControl1 holds the controls of its pages, which come after it.
  const auto at = std::find_if(order.rbegin(), order.rend(), [&](HWND control) {
    return control == message.hwnd || IsChild(control, message.hwnd);
  });
  const int count = static_cast<int>(order.size());
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  const int from = at == order.rend() ? count - 1 : static_cast<int>(order.rend() - at - 1);
  SetFocus(order[(from + step) % count]);
  return true;
}

void MainWindow::AskToClose() {
  if (window_ != nullptr && logic_.Close()) DestroyWindow(window_);
}

void MainWindow::Post(std::function<void()> closure) {
  {
    std::lock_guard lock(posted_mutex_);
    posted_.push_back(std::move(closure));
  }
  // Once the window is gone nothing runs what was posted (a null window would make this a
  // message to the calling thread).
  if (const HWND window = window_; window != nullptr) PostMessageW(window, kRunPosted, 0, 0);
}

// Runs everything posted so far, in order. A closure may open a box whose loop runs this
// again; each closure is taken from the queue before it runs, so none runs twice.
void MainWindow::RunPosted() {
  for (;;) {
    std::function<void()> closure;
    {
      std::lock_guard lock(posted_mutex_);
      if (posted_.empty()) return;
      closure = std::move(posted_.front());
      posted_.pop_front();
    }
    logic_.Guarded(closure);
  }
}

void MainWindow::StartWait(std::uint32_t ms) { SetTimer(window_, kTimer1, ms, nullptr); }
void MainWindow::StopWait() { KillTimer(window_, kTimer1); }

rtl::Text MainWindow::IntervalText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(controls_.edit1)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(controls_.edit1, text.data(), static_cast<int>(text.size()))));
  return TextOf(text);
}

void MainWindow::ShowRunning(bool running) {
  SetWindowTextW(controls_.button1,
                 WideOfUtf8(running ? core::form1::kButton1Running : core::form1::kButton1.caption).c_str());
}

void MainWindow::ShowPage(core::WindowPage page) {
  const int index = static_cast<int>(page);
  SendMessageW(controls_.page_control1, TCM_SETCURSEL, index, 0);
  ShowSheet(index);
}

core::WindowPage MainWindow::CurrentPage() const {
  return static_cast<core::WindowPage>(TabCtrl_GetCurSel(controls_.page_control1));
}

void MainWindow::ShowServerStatus(const rtl::Text& status) { SetWindowTextW(controls_.server_status, Wide(status).c_str()); }

// OpenDialog1: no filter, no title, no initial directory.
std::optional<std::filesystem::path> MainWindow::ChooseFileToOpen() {
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // The program names every file by its full path: the working directory stays as it was.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::filesystem::path(file.c_str());
}

void MainWindow::ShowError(const rtl::Text& message) { ErrorBox(window_, message); }
void MainWindow::ShowNotice(const rtl::Text& message) { NoticeBox(message); }

void MainWindow::ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share) {
  if (history_pane_) history_pane_->ShowShareHistory(table, share, NoticeBox);
}

int RunMainWindow(const std::vector<std::wstring>& arguments, const std::filesystem::path& data_directory,
                  int show_command) {
  std::unique_ptr<MainWindow> window;
  try {
    window = std::make_unique<MainWindow>();
  } catch (const std::exception& error) {
    // No window to show it in (no display, say): the error goes where a face's errors go.
    platform::WriteErrorLine(std::string("sharemon: ") + error.what());
    return 1;
  }
  window->Show(data_directory, show_command);
  if (arguments.size() >= 2) window->Logic().OpenTableFileLater(arguments[1]);
  MSG message;
  while (window->Handle() != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window->HandleTabKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace winshell
