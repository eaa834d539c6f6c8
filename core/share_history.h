// One watched share's connection history as the history chart shows it, read from the
// connection table: the points (X the row caption's date-time under the regional settings, Y
// the share's count, label the date at the first row of each day, else the time), the left
// axis' top and what ended the reading. Toolkit-free: the shells hand it to the chart engine
// (the chart's own half is chart/history_chart.h), so every window and the picture face draw
// one history the same way.
#pragma once

#include <exception>
#include <optional>
#include <vector>

#include "core/connection_table.h"
#include "rtl/text.h"

namespace core {

struct ShareHistory {
  // The table has share columns: the chart's earlier curve goes. Without them nothing below
  // is filled and the earlier curve stays under the new title.
  bool replaces_curve = false;
  // One per row that holds the share's value, in table order, as far as the rows could be
  // read; a row cut short before the share's column gives it no point.
  std::vector<double> times;
  std::vector<double> counts;
  std::vector<rtl::Text> labels;
  // The first count (of the first row that has one) when it is no integer: the user is told
  // it (NoticeBox) before the points are drawn, and the reading then fails on it.
  std::optional<rtl::Text> notice;
  // The left axis' maximum, the largest count + 5, when every row was read.
  std::optional<double> axis_maximum;
  // What ended the reading at a row (rtl::ConvertError for a caption or count that cannot be
  // read, rtl::ListIndexError -1 for the time column): the chart shows the points before it,
  // then the command fails with it.
  std::exception_ptr failure;
};

// `share`'s history (Windows-1251). The share's column is the first whose caption equals it
// byte for byte; its values are the rows' values one to the left (a share named like the
// time column has none: ListIndexError -1). A share without a column, or a table without
// a row that holds the share's value, gives no points.
ShareHistory ReadShareHistory(const ConnectionTable& table, const rtl::Text& share);

// Throws rtl::Exception "В файле "FILE" нет столбца "SHARE". Столбцы файла: ..." when the
// table loaded from `file_name` (program text) has no column for `share`: an empty chart
// would look like a share nobody used.
void RequireShareColumn(const ConnectionTable& table, const rtl::Text& share, const rtl::Text& file_name);

}  // namespace core
