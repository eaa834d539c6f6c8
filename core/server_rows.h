// The rows that show who is connected and what is open, the same in both windows and on the
// command line: for sessions and for open files one table of columns each (its caption, how a
// record becomes the cell's text, how the column sorts), and a stable sort by a column.
// Texts are program text (Windows-1251). Times are local, shown as the table shows its rows
// (short date and long time of the regional settings); idle time is a duration "H:MM:SS",
// hours counting on past a day. A value the system does not give is an empty cell and sorts
// before every given one. Nothing here fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/server_sessions.h"
#include "rtl/text.h"

namespace core {

enum class ColumnSort { kText, kNumber, kTime };

template <typename Record>
struct RecordColumn {
  const char* caption;  // UTF-8
  rtl::Text (*cell)(const Record& record);
  ColumnSort sort;
  // kNumber and kTime: what the column sorts by (a time as seconds since 1970, UTC); nullptr
  // for kText, which sorts by the cell's text, upper and lower case alike.
  std::optional<std::int64_t> (*number)(const Record& record);
};

using SessionColumn = RecordColumn<platform::SessionRecord>;
using OpenFileColumn = RecordColumn<platform::OpenFileRecord>;

// "Пользователь", "Компьютер", "Протокол", "Шифрование", "Подписывание", "Файлов",
// "Подключён", "Простой".
const std::vector<SessionColumn>& SessionColumns();
// "Файл", "Шара", "Пользователь", "Компьютер", "Доступ", "Блокировки", "Открыт".
const std::vector<OpenFileColumn>& OpenFileColumns();

// The captions of the columns in their order, as program text.
std::vector<rtl::Text> Captions(const std::vector<SessionColumn>& columns);
std::vector<rtl::Text> Captions(const std::vector<OpenFileColumn>& columns);

// A record's cells, one per column.
std::vector<rtl::Text> RowCells(const std::vector<SessionColumn>& columns, const platform::SessionRecord& record);
std::vector<rtl::Text> RowCells(const std::vector<OpenFileColumn>& columns, const platform::OpenFileRecord& record);

// The records' indices in the order of the column: stable, so equal cells keep the records'
// own order (also descending). Each record's sort value is made once, not per comparison.
std::vector<std::size_t> SortedOrder(const std::vector<platform::SessionRecord>& records, const SessionColumn& column,
                                     bool descending);
std::vector<std::size_t> SortedOrder(const std::vector<platform::OpenFileRecord>& records,
                                     const OpenFileColumn& column, bool descending);

}  // namespace core
