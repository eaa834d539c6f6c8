// TForm1 on Windows: the main window in Win32 (user32, comctl32 version 6, comdlg32). It makes
// every control of the stored layout, shows the window logic (core::WindowLogic, which owns the
// table, the watch list's file, the polling run and every command) through them, and maps each
// control event to a command the logic executes inside its error guard. It is the logic's
// poster (a message posted to itself) and the waits of its timer (SetTimer), so probe results
// and ticks come through the message loop, and a slow or hung probe never blocks the window.
// Everything runs on the thread that made the window, except Post, which any thread may call.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "core/window/form_layout.h"
#include "core/window/window_logic.h"
#include "platform/owned_handle.h"
#include "winshell/combo_box.h"
#include "winshell/history_pane.h"
#include "winshell/list_box.h"
#include "winshell/report_list_view.h"
#include "winshell/table_list_view.h"

namespace winshell {

struct FontTraits {
  using Value = HFONT;
  static constexpr Value kNone = nullptr;
  static bool IsOpen(Value font) { return font != nullptr; }
  static bool Close(Value font) { return DeleteObject(font) != 0; }
};
struct MenuTraits {
  using Value = HMENU;
  static constexpr Value kNone = nullptr;
  static bool IsOpen(Value menu) { return menu != nullptr; }
  static bool Close(Value menu) { return DestroyMenu(menu) != 0; }
};

// The menu items' WM_COMMAND identifiers are their numbers (core::form1::kN2.number ...), and
// their commands the layout's.
class MainWindow : private core::WindowView,
                   private core::ServerPageView,
                   private core::Poster,
                   private core::WaitTimer {
 public:
  // The controls of the layout (core/window/form_layout.h).
  struct Controls {
    HWND button1, button2, button3;
    HWND label1, label2, label3, label4, label5;
    HWND list_box1, list_box2, list_box3;
    HWND page_control1;
    HWND tab_sheets[core::form1::kPageCount];  // TabSheet1, TabSheet2 ... in page order
    HWND list_view1, edit1;
    // On the page "Сеансы и файлы".
    HWND sessions_label, refresh_button, sessions_list;
    HWND open_files_label, open_files_share_box, open_files_list, server_status;
    HMENU main_menu1, popup_menu1;
  };

  // Makes the window with every control, hidden. Throws std::runtime_error when Windows
  // refuses a window.
  MainWindow();
  // Destroys the window if it is still there, without closing it (nothing is saved).
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window and runs FormShow once: the program directory is `data_directory`, the
  // watch list is loaded from there and the share list filled; errors are shown.
  void Show(const std::filesystem::path& data_directory, int show_command = SW_SHOWNORMAL);
  // Gone once the window was closed (by "Выход", the title bar or the end of the session).
  HWND Handle() const { return window_; }
  const Controls& Form() const { return controls_; }
  core::WindowLogic& Logic() { return logic_; }
  // A Tab or Shift+Tab for one of the window's controls moves the focus along the layout's tab
  // order with the page shown (core::form1::TabOrder). True when `message` was such a key and
  // is handled.
  bool HandleTabKey(const MSG& message);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK TabSheetProc(HWND sheet, UINT message, WPARAM wparam, LPARAM lparam);
  static void RegisterClasses();
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(WORD code, WORD id, HWND control);
  // Runs the command of `control`'s notification `code` (kEvents), if it has one.
  void RunControlEvent(HWND control, UINT code);
  LRESULT OnNotify(const NMHDR& header);
  void OnContextMenu(HWND control, LPARAM position);
  void OnActivate(bool active);
  // Closes as "Выход" does: destroyed unless the logic keeps the window open.
  void AskToClose();
  void RunPosted();

  // Layout (main_window_layout.cpp).
  void BuildLayout();
  void BuildPages();
  void BuildListPage();
  void BuildServerPage();
  void BuildMenus();
  HMENU MakeMenu(std::span<const core::form1::MenuItem> items);
  HWND Make(const wchar_t* window_class, const std::wstring& caption, DWORD style, HWND parent,
            core::form1::Place place, DWORD extended_style = 0);
  HWND MakeButton(const core::form1::Control& button, HWND parent);
  HWND MakeLabel(const std::wstring& caption, HWND parent, core::form1::Place place);
  HWND MakeListBox(ListBox& list, HWND parent, core::form1::Place place);
  HWND MakeReportList(ReportListView& list, HWND parent, core::form1::Place place);
  HWND MakeComboBox(ComboBox& box, HWND parent, core::form1::Place place);
  void ShowSheet(int index);
  std::vector<HWND> TabOrder() const;

  // The view of the logic.
  core::EntryList& WatchList() override { return list_box2_; }
  core::EntryList& ShareList() override { return list_box1_; }
  core::EntryList& UsersList() override { return list_box3_; }
  rtl::Text IntervalText() const override;
  void ShowRunning(bool running) override;
  void ShowPage(core::WindowPage page) override;
  core::WindowPage CurrentPage() const override;
  core::ServerPageView& ServerPage() override { return *this; }
  std::optional<std::filesystem::path> ChooseFileToOpen() override;
  void ShowError(const rtl::Text& message) override;
  void ShowNotice(const rtl::Text& message) override;
  void CloseWindow() override { AskToClose(); }
  void ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share) override;
  // The view of the page "Сеансы и файлы".
  core::ReportList& SessionsList() override { return sessions_list_; }
  core::ReportList& OpenFilesList() override { return open_files_list_; }
  core::ChoiceBox& OpenFilesShareBox() override { return open_files_share_box_; }
  void ShowServerStatus(const rtl::Text& status) override;
  // The poster: the closure waits in posted_ for the message that runs it.
  void Post(std::function<void()> closure) override;
  // The timer's waits: one SetTimer each.
  void StartWait(std::uint32_t ms) override;
  void StopWait() override;

  // Before the logic, whose probe threads post here until they end.
  std::mutex posted_mutex_;
  std::deque<std::function<void()>> posted_;
  // Atomic, since Post reads it on the probe threads; null once the window is gone.
  std::atomic<HWND> window_ = nullptr;
  Controls controls_{};
  ListBox list_box1_, list_box2_, list_box3_;
  ReportListView sessions_list_{core::form1::kSessionsColumnWidths};
  ReportListView open_files_list_{core::form1::kOpenFilesColumnWidths};
  ComboBox open_files_share_box_;
  platform::Owned<FontTraits> form_font_, button1_font_;
  platform::Owned<MenuTraits> popup_menu1_;
  HWND focused_ = nullptr;  // the control that had the focus when the window was last active
  bool shown_ = false;
  core::WindowLogic logic_{*this, *this, *this};
  // After the logic, whose table they observe and show.
  std::unique_ptr<TableListView> list_view1_items_;
  std::unique_ptr<HistoryPane> history_pane_;
};

// The program with its window: makes and shows the main window, with its watch list and table
// files in `data_directory`; `arguments` are the program's (its own name first), and a second
// one names a table file, which is loaded once the message loop runs, as "Загрузить файл"
// would load it. `show_command` shows the window (SW_...: as the program was started). Runs the
// message loop until the window is gone and returns 0; returns 1 when no window can be made
// (no display), with the reason on standard error.
int RunMainWindow(const std::vector<std::wstring>& arguments, const std::filesystem::path& data_directory,
                  int show_command = SW_SHOWDEFAULT);

}  // namespace winshell
