// The window's commands as data: every control event, menu item and timer wait of a window
// names one of these, and WindowLogic::Execute runs it inside the window's one error guard. A
// shell maps its native events to commands and nothing more, so a new command is one entry here
// (and its method in WindowLogic) and one line in each shell's event table.
#pragma once

namespace core {

enum class WindowCommand {
  kStartStop,         // "Пуск" / "Стоп"
  kTimerWaitEnded,    // the poll timer's wait has passed
  kAddSelectedShare,  // a double-click on the share list (or the users view)
  kCopyShareList,     // "Добавить в список наблюдения"
  kClearWatchList,    // "Очистить"
  kShowHistory,       // a click on a watched share
  kOpenTableFile,     // "Загрузить файл"
  kSaveTable,         // "Сохранить таблицу"
  kExit,              // "Выход"
  kDeleteSelected,    // "Удалить"
  kShowUsers,         // "Пользователи"
  kPageChanged,       // a tab of PageControl1 was chosen (the view tells which page is shown)
  kRefreshServerPage,     // "Обновить" on the page "Сеансы и файлы"
  kChooseOpenFilesShare,  // the page's share box has another share chosen
  kSortSessions,          // a click on a header of "Сеансы" (the list tells which column)
  kSortOpenFiles,         // a click on a header of "Открытые файлы"
  kCount              // how many commands there are; no command
};

inline constexpr int kWindowCommandCount = static_cast<int>(WindowCommand::kCount);

}  // namespace core
