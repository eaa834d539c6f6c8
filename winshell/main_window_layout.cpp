// The main window's layout on Windows: every control at its place, with its caption and font,
// the pages of PageControl1, the menus and the tab order.
#include <windows.h>

#include <commctrl.h>

#include <stdexcept>

#include "core/polling_run.h"
#include "core/version.h"
#include "winshell/main_window.h"
#include "winshell/wide_text.h"

namespace winshell {
namespace {

constexpr int kLeft = 206;
constexpr int kTop = 126;
constexpr int kClientWidth = 1046;
constexpr int kClientHeight = 381;
// Fonts 11 pixels high (8 points at 96 pixels per inch); list entries 13.
constexpr int kFontHeight = 11;
constexpr int kListItemHeight = 13;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr wchar_t kFormClass[] = L"TForm1";
constexpr wchar_t kTabSheetClass[] = L"TTabSheet";

RECT Place(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

HFONT MakeFont(const wchar_t* face, BYTE character_set) {
  LOGFONTW font{};
  font.lfHeight = -kFontHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = character_set;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
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
  form_font_.Reset(MakeFont(L"MS Sans Serif", DEFAULT_CHARSET));
  button1_font_.Reset(MakeFont(L"Arial Narrow", RUSSIAN_CHARSET));
  BuildMenus();
  RECT outer = Place(0, 0, kClientWidth, kClientHeight);
  AdjustWindowRectEx(&outer, kFormStyle, TRUE, 0);
  CreateWindowExW(0, kFormClass, L"Мониторинг количества подключений к сетевым ресурсам", kFormStyle, kLeft, kTop,
                  outer.right - outer.left, outer.bottom - outer.top, nullptr, controls_.main_menu1,
                  GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) throw std::runtime_error("Cannot create the main window");

  controls_.button1 = Make(WC_BUTTONW, L"Пуск", BS_PUSHBUTTON | WS_TABSTOP, window_, Place(8, 8, 153, 25));
  SendMessageW(controls_.button1, WM_SETFONT, reinterpret_cast<WPARAM>(button1_font_.Get()), FALSE);
  controls_.label1 = MakeLabel(L"Список шар для наблюдения:", window_, 8, 39);
  controls_.list_box2 = MakeListBox(list_box2_, window_, Place(8, 57, 153, 287));
  controls_.button3 = Make(WC_BUTTONW, L"Очистить", BS_PUSHBUTTON | WS_TABSTOP, window_, Place(8, 348, 153, 25));
  const std::wstring version = Wide(rtl::Windows1251FromUtf8(core::VersionLabelText()));
  controls_.label5 = MakeLabel(version.c_str(), window_, 829, 1);
  BuildPages();
}

void MainWindow::BuildPages() {
  controls_.page_control1 = Make(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPCHILDREN, window_, Place(168, 24, 873, 352));
  const wchar_t* const captions[] = {L"Таблица с данными", L"Дополнительные данные", L"График"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(captions[i]);
    SendMessageW(controls_.page_control1, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
  }
  // A page fills the tab control's display area, below the tabs.
  RECT page;
  GetClientRect(controls_.page_control1, &page);
  SendMessageW(controls_.page_control1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  for (HWND* sheet : {&controls_.tab_sheet1, &controls_.tab_sheet2, &controls_.tab_sheet3}) {
    *sheet = Make(kTabSheetClass, L"", WS_CLIPCHILDREN, controls_.page_control1, page, WS_EX_CONTROLPARENT);
  }
  ShowSheet(0);

  controls_.list_view1 = Make(WC_LISTVIEWW, L"",
                              LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_EDITLABELS | LVS_NOSORTHEADER |
                                  LVS_SHOWSELALWAYS | WS_TABSTOP,
                              controls_.tab_sheet1, Place(8, 4, 865, 317), WS_EX_CLIENTEDGE);
  SendMessageW(controls_.list_view1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  list_view1_items_ = std::make_unique<TableListView>(controls_.list_view1, logic_.Table());
  BuildListPage();
  history_pane_ = MakeHistoryPane(controls_.tab_sheet3);
}

void MainWindow::BuildListPage() {
  const HWND sheet = controls_.tab_sheet2;
  controls_.label3 = MakeLabel(L"Список шар компьютера", sheet, 8, 0);
  controls_.list_box1 = MakeListBox(list_box1_, sheet, Place(0, 24, 177, 257));
  controls_.button2 =
      Make(WC_BUTTONW, L"Добавить в список наблюдения", BS_PUSHBUTTON | WS_TABSTOP, sheet, Place(8, 288, 177, 25));
  controls_.label4 = MakeLabel(L"Список текущих пользователей", sheet, 208, 0);
  controls_.list_box3 = MakeListBox(list_box3_, sheet, Place(200, 24, 177, 257));
  controls_.label2 = MakeLabel(L"Интервал опроса (мин):", sheet, 392, 24);
  controls_.edit1 = Make(WC_EDITW, Wide(core::kDefaultIntervalMinutes).c_str(), ES_AUTOHSCROLL | WS_TABSTOP, sheet,
                         Place(515, 22, 57, 21), WS_EX_CLIENTEDGE);
}

void MainWindow::BuildMenus() {
  const HMENU n1 = CreatePopupMenu();
  AppendMenuW(n1, MF_STRING, kN2, L"Загрузить файл");
  AppendMenuW(n1, MF_STRING, kN6, L"Сохранить таблицу");
  AppendMenuW(n1, MF_STRING, kN4, L"Выход");
  controls_.main_menu1 = CreateMenu();
  AppendMenuW(controls_.main_menu1, MF_POPUP, reinterpret_cast<UINT_PTR>(n1), L"Меню");
  popup_menu1_.Reset(CreatePopupMenu());
  controls_.popup_menu1 = popup_menu1_.Get();
  AppendMenuW(controls_.popup_menu1, MF_STRING, kN3, L"Удалить");
  AppendMenuW(controls_.popup_menu1, MF_STRING, kN5, L"Пользователи");
}

HWND MainWindow::Make(const wchar_t* window_class, const wchar_t* caption, DWORD style, HWND parent, RECT place,
                      DWORD extended_style) {
  const HWND control = CreateWindowExW(extended_style, window_class, caption, WS_CHILD | WS_VISIBLE | style, place.left,
                                       place.top, place.right - place.left, place.bottom - place.top, parent, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) throw std::runtime_error("Cannot create a control of the main window");
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(form_font_.Get()), FALSE);
  return control;
}

// Labels size themselves to their text.
HWND MainWindow::MakeLabel(const wchar_t* caption, HWND parent, int left, int top) {
  const HDC context = GetDC(parent);
  const HGDIOBJ before = SelectObject(context, form_font_.Get());
  SIZE size{};
  GetTextExtentPoint32W(context, caption, lstrlenW(caption), &size);
  SelectObject(context, before);
  ReleaseDC(parent, context);
  return Make(WC_STATICW, caption, SS_LEFT | SS_NOPREFIX, parent, Place(left, top, size.cx, size.cy));
}

HWND MainWindow::MakeListBox(ListBox& list, HWND parent, RECT place) {
  const HWND box =
      Make(WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, parent, place, WS_EX_CLIENTEDGE);
  SendMessageW(box, LB_SETITEMHEIGHT, 0, kListItemHeight);
  list.SetHandle(box);
  return box;
}

void MainWindow::ShowSheet(int index) {
  const HWND sheets[] = {controls_.tab_sheet1, controls_.tab_sheet2, controls_.tab_sheet3};
  for (int i = 0; i < 3; ++i) ShowWindow(sheets[i], i == index ? SW_SHOW : SW_HIDE);
}

std::vector<HWND> MainWindow::TabOrder() const {
  std::vector<HWND> order = {controls_.button1, controls_.page_control1};
  switch (SendMessageW(controls_.page_control1, TCM_GETCURSEL, 0, 0)) {
    case 0: order.push_back(controls_.list_view1); break;
    case 1: order.insert(order.end(), {controls_.list_box1, controls_.button2, controls_.edit1, controls_.list_box3}); break;
  }
  order.insert(order.end(), {controls_.list_box2, controls_.button3});
  return order;
}

}  // namespace winshell
