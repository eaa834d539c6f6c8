// The main window's stored layout, from which the Qt and the Win32 window both build theirs:
// the title, every control's place in pixels (left, top, width, height, relative to its parent:
// the window's client area or a page of PageControl1), the captions and menu items (UTF-8) and
// the fonts, the pages with their tab order, the menus with the command of each item, and the
// rule of ListView1's column widths. Labels carry no size: they size themselves to their text.
// A shell builds the pages (tabs and tab order) and the menus by walking these tables, so a page
// or a menu item with its command is one entry here; a page's controls are still built one by one.
#pragma once

#include <iterator>
#include <span>
#include <vector>

#include "core/window/window_command.h"

namespace core::form1 {

struct Place {
  int left, top, width, height;
};
struct Control {
  const char* caption;
  Place place;
};
struct Font {
  const char* face;
  int pixel_height;  // 11: 8 points at 96 pixels per inch
};
// A menu item; its number is the N of its name, and the Win32 window's command identifier.
struct MenuItem {
  unsigned short number;
  const char* caption;
  WindowCommand command;
};
// The controls that take the focus, as the tab order names them.
enum class Focusable {
  kButton1, kPageControl1, kListBox2, kButton3, kListView1, kListBox1, kButton2, kEdit1, kListBox3,
  kRefreshButton, kSessionsList, kOpenFilesShareBox, kOpenFilesList,
};
// A page of PageControl1: its tab's caption and the order in which Tab visits its controls.
struct Page {
  const char* caption;
  std::span<const Focusable> tab_order;
};

inline constexpr char kTitle[] = "Мониторинг количества подключений к сетевым ресурсам";
// The window's outer top left corner on the screen, and its client area.
inline constexpr int kLeft = 206;
inline constexpr int kTop = 126;
inline constexpr int kClientWidth = 1046;
inline constexpr int kClientHeight = 381;
inline constexpr Font kFont{"MS Sans Serif", 11};
// Button1's own font, in the Russian character set.
inline constexpr Font kButton1Font{"Arial Narrow", 11};
inline constexpr int kListItemHeight = 13;
// A new report column's width in ListView1.
inline constexpr int kColumnWidth = 50;

// On the window.
inline constexpr Control kButton1{"Пуск", {8, 8, 153, 25}};
inline constexpr char kButton1Running[] = "Стоп";
inline constexpr Control kLabel1{"Список шар для наблюдения:", {8, 39, 0, 0}};
inline constexpr Place kListBox2{8, 57, 153, 287};
inline constexpr Control kButton3{"Очистить", {8, 348, 153, 25}};
inline constexpr Place kLabel5{829, 1, 0, 0};  // shows core::VersionLabelText()
inline constexpr Place kPageControl1{168, 24, 873, 352};
// On TabSheet1.
inline constexpr Place kListView1{8, 4, 865, 317};
// On TabSheet2.
inline constexpr Control kLabel3{"Список шар компьютера", {8, 0, 0, 0}};
inline constexpr Place kListBox1{0, 24, 177, 257};
inline constexpr Control kButton2{"Добавить в список наблюдения", {8, 288, 177, 25}};
inline constexpr Control kLabel4{"Список текущих пользователей", {208, 0, 0, 0}};
inline constexpr Place kListBox3{200, 24, 177, 257};
inline constexpr Control kLabel2{"Интервал опроса (мин):", {392, 24, 0, 0}};
inline constexpr Place kEdit1{515, 22, 57, 21};  // starts with kDefaultIntervalMinutes
// On TabSheet3.
inline constexpr Place kChart1{16, 8, 817, 250};
// On the page "Сеансы и файлы": who is connected above, what they hold open below, the share
// box choosing whose files, and a status line under both.
inline constexpr Control kSessionsLabel{"Сеансы", {8, 6, 0, 0}};
inline constexpr Control kRefreshButton{"Обновить", {768, 2, 89, 25}};
inline constexpr Place kSessionsList{8, 30, 849, 112};
inline constexpr Control kOpenFilesLabel{"Открытые файлы", {8, 154, 0, 0}};
inline constexpr Place kOpenFilesShareBox{120, 150, 177, 21};
inline constexpr Place kOpenFilesList{8, 176, 849, 104};
// Three lines of the form's font, its text wrapped: the longest advice takes two or three.
inline constexpr Place kServerStatus{8, 284, 849, 39};
// The two lists' column widths in pixels, in the order of core::SessionColumns() and
// core::OpenFileColumns().
inline constexpr int kSessionsColumnWidths[] = {120, 130, 80, 100, 100, 60, 130, 90};
inline constexpr int kOpenFilesColumnWidths[] = {250, 90, 110, 110, 60, 90, 120};

// The pages, in the order of core::WindowPage. Tab visits the window's controls in kTabOrder,
// and the controls of the page shown right after PageControl1.
inline constexpr Focusable kTableTabOrder[] = {Focusable::kListView1};
inline constexpr Focusable kListTabOrder[] = {Focusable::kListBox1, Focusable::kButton2, Focusable::kEdit1,
                                              Focusable::kListBox3};
inline constexpr Focusable kServerTabOrder[] = {Focusable::kRefreshButton, Focusable::kSessionsList,
                                                Focusable::kOpenFilesShareBox, Focusable::kOpenFilesList};
inline constexpr Page kPages[] = {{"Таблица с данными", kTableTabOrder},
                                  {"Дополнительные данные", kListTabOrder},
                                  {"График", {}},
                                  {"Сеансы и файлы", kServerTabOrder}};
inline constexpr int kPageCount = static_cast<int>(std::size(kPages));
inline constexpr Focusable kTabOrder[] = {Focusable::kButton1, Focusable::kPageControl1, Focusable::kListBox2,
                                          Focusable::kButton3};
// Every page's controls when `page` is kEveryPage: a toolkit that skips the hidden ones itself.
inline constexpr int kEveryPage = -1;

// The window's tab order with `page` shown.
inline std::vector<Focusable> TabOrder(int page) {
  std::vector<Focusable> order;
  for (const Focusable control : kTabOrder) {
    order.push_back(control);
    if (control != Focusable::kPageControl1) continue;
    for (int p = 0; p < kPageCount; ++p) {
      if (page != kEveryPage && p != page) continue;
      order.insert(order.end(), kPages[p].tab_order.begin(), kPages[p].tab_order.end());
    }
  }
  return order;
}

// The menu bar's "Меню" (N1) and ListBox2's popup menu, their items in menu order.
inline constexpr char kN1[] = "Меню";
inline constexpr MenuItem kN2{2, "Загрузить файл", WindowCommand::kOpenTableFile};
inline constexpr MenuItem kN6{6, "Сохранить таблицу", WindowCommand::kSaveTable};
inline constexpr MenuItem kN4{4, "Выход", WindowCommand::kExit};
inline constexpr MenuItem kN3{3, "Удалить", WindowCommand::kDeleteSelected};
inline constexpr MenuItem kN5{5, "Пользователи", WindowCommand::kShowUsers};
inline constexpr MenuItem kN1Items[] = {kN2, kN6, kN4};
inline constexpr MenuItem kPopupMenu1Items[] = {kN3, kN5};
inline constexpr std::span<const MenuItem> kMenus[] = {kN1Items, kPopupMenu1Items};

// ListView1's width of report column `column` (0-based) of `count`, in pixels: every column but
// the last fits its widest text, `widest` (caption or value, margins included), so that a row's
// time shows whole; the last keeps a new column's width; a column the table does not have (the
// list view's column 0 of a table without columns) none.
constexpr bool FitsItsTexts(int column, int count) { return column + 1 < count; }
constexpr int ReportColumnWidth(int column, int count, int widest) {
  if (column >= count) return 0;
  return FitsItsTexts(column, count) ? widest : kColumnWidth;
}

}  // namespace core::form1
