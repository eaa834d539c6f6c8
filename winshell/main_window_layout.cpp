// The main window's layout on Windows (core/window/form_layout.h): every control at its place,
// with its caption and font, the pages of PageControl1, the menus and the tab order.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/polling_run.h"
#include "core/version.h"
#include "winshell/main_window.h"
#include "winshell/wide_text.h"

namespace winshell {
namespace {

using namespace core::form1;

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr wchar_t kFormClass[] = L"TForm1";
constexpr wchar_t kTabSheetClass[] = L"TTabSheet";

HFONT MakeFont(const Font& chosen, BYTE character_set) {
  LOGFONTW font{};
  font.lfHeight = -chosen.pixel_height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = character_set;
  lstrcpynW(font.lfFaceName, WideOfUtf8(chosen.face).c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace

void MainWindow::RegisterClasses() {
  static const bool registered = [] {
    // comctl32 version 6 (the manifest asks for it) with the list view and the tab control.
    const INITCOMMONCONTROLSEX common{sizeof common, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = WindowProc;
    form.hInstance = GetModuleHandleW(nullptr);
    form.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    WNDCLASSEXW sheet = form;
    sheet.lpfnWndProc = TabSheetProc;
    sheet.hIcon = nullptr;
    sheet.lpszClassName = kTabSheetClass;
    return RegisterClassExW(&form) != 0 && RegisterClassExW(&sheet) != 0;
  }();
  if (!registered) throw std::runtime_error("Cannot register the window classes");
}

void MainWindow::BuildLayout() {
  form_font_.Reset(MakeFont(kFont, DEFAULT_CHARSET));
  button1_font_.Reset(MakeFont(kButton1Font, RUSSIAN_CHARSET));
  BuildMenus();
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kFormStyle, TRUE, 0);
  CreateWindowExW(0, kFormClass, WideOfUtf8(kTitle).c_str(), kFormStyle, kLeft, kTop, outer.right - outer.left,
                  outer.bottom - outer.top, nullptr, controls_.main_menu1, GetModuleHandleW(nullptr), this);
  // The system's error says whether the desktop itself was missing (no display) or the window failed.
  if (window_ == nullptr) {
    throw std::runtime_error("Cannot create the main window (error " + std::to_string(GetLastError()) + ")");
  }

  controls_.button1 = MakeButton(kButton1, window_);
  SendMessageW(controls_.button1, WM_SETFONT, reinterpret_cast<WPARAM>(button1_font_.Get()), FALSE);
  controls_.label1 = MakeLabel(WideOfUtf8(kLabel1.caption), window_, kLabel1.place);
  controls_.list_box2 = MakeListBox(list_box2_, window_, kListBox2);
  controls_.button3 = MakeButton(kButton3, window_);
  controls_.label5 = MakeLabel(WideOfUtf8(core::VersionLabelText()), window_, kLabel5);
  BuildPages();
}

void MainWindow::BuildPages() {
  controls_.page_control1 = Make(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPCHILDREN, window_, kPageControl1);
  for (int i = 0; i < kPageCount; ++i) {
    std::wstring caption = WideOfUtf8(kPages[i].caption);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption.data();
    SendMessageW(controls_.page_control1, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
  }
  // A page fills the tab control's display area, below the tabs.
  RECT page;
  GetClientRect(controls_.page_control1, &page);
  SendMessageW(controls_.page_control1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  for (HWND& sheet : controls_.tab_sheets) {
    sheet = Make(kTabSheetClass, L"", WS_CLIPCHILDREN, controls_.page_control1,
                  {page.left, page.top, page.right - page.left, page.bottom - page.top}, WS_EX_CONTROLPARENT);
  }
  ShowSheet(0);

  controls_.list_view1 = Make(WC_LISTVIEWW, L"",
                              LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER |
                                  LVS_SHOWSELALWAYS | WS_TABSTOP,
                              controls_.tab_sheets[0], kListView1, WS_EX_CLIENTEDGE);
  SendMessageW(controls_.list_view1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list_view1_items_ = std::make_unique<TableListView>(controls_.list_view1, logic_.Table());
  BuildListPage();
  history_pane_ = MakeHistoryPane(controls_.tab_sheets[2]);
  BuildServerPage();
}

void MainWindow::BuildListPage() {
  const HWND sheet = controls_.tab_sheets[1];
  controls_.label3 = MakeLabel(WideOfUtf8(kLabel3.caption), sheet, kLabel3.place);
  controls_.list_box1 = MakeListBox(list_box1_, sheet, kListBox1);
  controls_.button2 = MakeButton(kButton2, sheet);
  controls_.label4 = MakeLabel(WideOfUtf8(kLabel4.caption), sheet, kLabel4.place);
  controls_.list_box3 = MakeListBox(list_box3_, sheet, kListBox3);
  controls_.label2 = MakeLabel(WideOfUtf8(kLabel2.caption), sheet, kLabel2.place);
  controls_.edit1 =
      Make(WC_EDITW, Wide(core::kDefaultIntervalMinutes), ES_AUTOHSCROLL | WS_TABSTOP, sheet, kEdit1, WS_EX_CLIENTEDGE);
}

void MainWindow::BuildServerPage() {
  const HWND sheet = controls_.tab_sheets[static_cast<int>(core::WindowPage::kSessionsAndFiles)];
  controls_.sessions_label = MakeLabel(WideOfUtf8(kSessionsLabel.caption), sheet, kSessionsLabel.place);
  controls_.refresh_button = MakeButton(kRefreshButton, sheet);
  controls_.sessions_list = MakeReportList(sessions_list_, sheet, kSessionsList);
  controls_.open_files_label = MakeLabel(WideOfUtf8(kOpenFilesLabel.caption), sheet, kOpenFilesLabel.place);
  controls_.open_files_share_box = MakeComboBox(open_files_share_box_, sheet, kOpenFilesShareBox);
  controls_.open_files_list = MakeReportList(open_files_list_, sheet, kOpenFilesList);
  controls_.server_status = Make(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, sheet, kServerStatus);
}

void MainWindow::BuildMenus() {
  controls_.main_menu1 = CreateMenu();
  AppendMenuW(controls_.main_menu1, MF_POPUP, reinterpret_cast<UINT_PTR>(MakeMenu(kN1Items)), WideOfUtf8(kN1).c_str());
  popup_menu1_.Reset(MakeMenu(kPopupMenu1Items));
  controls_.popup_menu1 = popup_menu1_.Get();
}

HMENU MainWindow::MakeMenu(std::span<const MenuItem> items) {
  const HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : items) AppendMenuW(menu, MF_STRING, item.number, WideOfUtf8(item.caption).c_str());
  return menu;
}

HWND MainWindow::Make(const wchar_t* window_class, const std::wstring& caption, DWORD style, HWND parent, Place place,
                      DWORD extended_style) {
  const HWND control =
      CreateWindowExW(extended_style, window_class, caption.c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
                      place.top, place.width, place.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) throw std::runtime_error("Cannot create a control of the main window");
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
  return control;
}

HWND MainWindow::MakeButton(const Control& button, HWND parent) {
  return Make(WC_BUTTONW, WideOfUtf8(button.caption), BS_PUSHBUTTON | WS_TABSTOP, parent, button.place);
}

// Labels size themselves to their text.
HWND MainWindow::MakeLabel(const std::wstring& caption, HWND parent, Place place) {
  const HDC context = GetDC(parent);
  const HGDIOBJ before = SelectObject(context, form_font_.Get());
  SIZE size{};
  GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(context, before);
  ReleaseDC(parent, context);
  return Make(WC_STATICW, caption, SS_LEFT | SS_NOPREFIX, parent, {place.left, place.top, size.cx, size.cy});
}

// The look of ListView1, with headers that take clicks.
HWND MainWindow::MakeReportList(ReportListView& list, HWND parent, Place place) {
  const HWND view = Make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                         parent, place, WS_EX_CLIENTEDGE);
  SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list.SetHandle(view);
  return view;
}

// A combo box's window height includes its dropped list; the closed box takes its height from
// the font: 21 pixels for the form's, the place's height.
HWND MainWindow::MakeComboBox(ComboBox& box, HWND parent, Place place) {
  constexpr int kDroppedListHeight = 200;
  const HWND combo = Make(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, parent,
                          {place.left, place.top, place.width, place.height + kDroppedListHeight});
  box.SetHandle(combo);
  return combo;
}

HWND MainWindow::MakeListBox(ListBox& list, HWND parent, Place place) {
  const HWND box =
      Make(WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, parent, place, WS_EX_CLIENTEDGE);
  SendMessageW(box, LB_SETITEMHEIGHT, 0, kListItemHeight);
  list.SetHandle(box);
  return box;
}

void MainWindow::ShowSheet(int index) {
  for (int i = 0; i < kPageCount; ++i) ShowWindow(controls_.tab_sheets[i], i == index ? SW_SHOW : SW_HIDE);
}

std::vector<HWND> MainWindow::TabOrder() const {
  // In the order of core::form1::Focusable.
  static constexpr HWND Controls::*kFocusable[] = {
      &Controls::button1,        &Controls::page_control1, &Controls::list_box2,
      &Controls::button3,        &Controls::list_view1,    &Controls::list_box1,
      &Controls::button2,        &Controls::edit1,         &Controls::list_box3,
      &Controls::refresh_button, &Controls::sessions_list, &Controls::open_files_share_box,
      &Controls::open_files_list,
  };
  std::vector<HWND> order;
  const auto page = static_cast<int>(SendMessageW(controls_.page_control1, TCM_GETCURSEL, 0, 0));
  for (const Focusable control : core::form1::TabOrder(page)) order.push_back(controls_.*kFocusable[int(control)]);
  return order;
}

}  // namespace winshell
