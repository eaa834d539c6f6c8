// A share's history from the connection table, row by row as the chart shows it.
#include "core/share_history.h"

#include <algorithm>

#include "rtl/date_time.h"
#include "rtl/errors.h"
#include "rtl/integer.h"

namespace core {

namespace {

// Column index of the first caption equal to the share byte for byte, or the column count.
int ShareColumn(const ConnectionTable& table, const rtl::Text& share) {
  int column = 0;
  while (column < table.ColumnCount() && table.Column(column) != share) ++column;
  return column;
}

// A row's value `index`, or none for a row cut short: a run ended in the middle of a tick by
// an older version, or a tick a failed probe ended, left such rows, and every whole row after
// one still counts. The caption column's index -1 fails.
const rtl::Text* RowValue(const ConnectionTable::Row& row, int index) {
  if (index < 0) throw rtl::ListIndexError(index);
  return index < static_cast<int>(row.values.size()) ? &row.values[index] : nullptr;
}

const rtl::Text* FirstValue(const ConnectionTable& table, int index) {
  for (int row = 0; row < table.RowCount(); ++row) {
    if (const rtl::Text* value = RowValue(table.RowAt(row), index)) return value;
  }
  return nullptr;
}

// A caption made by a poll is "date  time" (two spaces), one read from a file "date time":
// the date is what precedes the first space, the time what follows it (the second space
// included for a poll's caption); a caption without a space is all time.
struct CaptionParts {
  rtl::Text date;
  rtl::Text time;
};
CaptionParts SplitCaption(const rtl::Text& caption) {
  const auto space = caption.find(' ');
  if (space == rtl::Text::npos) return {{}, caption};
  return {caption.substr(0, space), caption.substr(space + 1)};
}

// The rows' points in table order; returns the largest count, starting from `maximum`.
int ReadRowPoints(const ConnectionTable& table, int value_index, int maximum, ShareHistory& history) {
  rtl::Text previous_date;
  for (int row = 0; row < table.RowCount(); ++row) {
    const ConnectionTable::Row& entry = table.RowAt(row);
    const rtl::Text* value = RowValue(entry, value_index);
    if (value == nullptr) continue;
    CaptionParts parts = SplitCaption(entry.caption);
    const double x = rtl::StrToDateTime(entry.caption);
    const int y = rtl::StrToInt(*value);
    const bool new_day = parts.date != previous_date;
    if (new_day) previous_date = parts.date;
    history.times.push_back(x);
    history.counts.push_back(y);
    history.labels.push_back(std::move(new_day ? parts.date : parts.time));
    maximum = std::max(maximum, y);
  }
  return maximum;
}

// The largest count before the rows are read: the first row's count, or 0 with the notice
// when it is not a number (the row loop then fails on it).
int StartingMaximum(const rtl::Text& first_value, ShareHistory& history) {
  int maximum = 0;
  if (rtl::TryStrToInt(first_value, maximum)) return maximum;
  history.notice = first_value;
  return 0;
}

void ReadPoints(const ConnectionTable& table, int value_index, ShareHistory& history) {
  const rtl::Text* first = FirstValue(table, value_index);
  if (first == nullptr) return;
  const int first_maximum = StartingMaximum(*first, history);
  history.axis_maximum = ReadRowPoints(table, value_index, first_maximum, history) + 5.0;
}

}  // namespace

ShareHistory ReadShareHistory(const ConnectionTable& table, const rtl::Text& share) {
  ShareHistory history;
  history.replaces_curve = table.ColumnCount() >= 2;
  if (!history.replaces_curve) return history;
  const int value_index = ShareColumn(table, share) - 1;
  const std::size_t rows = static_cast<std::size_t>(table.RowCount());
  history.times.reserve(rows);
  history.counts.reserve(rows);
  history.labels.reserve(rows);
  try {
    ReadPoints(table, value_index, history);
  } catch (...) {
    history.failure = std::current_exception();
  }
  return history;
}

void RequireShareColumn(const ConnectionTable& table, const rtl::Text& share, const rtl::Text& file_name) {
  rtl::Text columns;
  for (const rtl::Text& column : table.Columns()) {
    if (column == share) return;
    columns += (columns.empty() ? "\"" : ", \"") + column + "\"";
  }
  throw rtl::Exception(rtl::Windows1251FromUtf8("В файле \"") + file_name +
                       rtl::Windows1251FromUtf8("\" нет столбца \"") + share +
                       rtl::Windows1251FromUtf8("\". Столбцы файла: ") + columns);
}

}  // namespace core
