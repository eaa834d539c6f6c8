// The main window's stored layout, from which the Qt and the Win32 window both build theirs:
// the title, every control's place in pixels (left, top, width, height, relative to its parent:
// the window's client area or a page of PageControl1), the captions and menu items (UTF-8) and
// the fonts. Labels carry no size: they size themselves to their text.
#pragma once

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
inline constexpr const char* kPages[] = {"Таблица с данными", "Дополнительные данные", "График"};
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

// The menu bar's "Меню" (N1) holds N2, N6 and N4 in this order; ListBox2's popup menu N3, N5.
inline constexpr char kN1[] = "Меню";
inline constexpr MenuItem kN2{2, "Загрузить файл"};
inline constexpr MenuItem kN6{6, "Сохранить таблицу"};
inline constexpr MenuItem kN4{4, "Выход"};
inline constexpr MenuItem kN3{3, "Удалить"};
inline constexpr MenuItem kN5{5, "Пользователи"};

}  // namespace core::form1
