// The connection table a long polling run leaves behind, for the history benchmarks:
// "Время" and one share "DATA", one row per poll captioned as a poll captions it.
#pragma once

#include <string>
#include <vector>

#include "core/connection_table.h"
#include "rtl/date_time.h"

// Rows in the order of `times` (date-time values), each with its count.
inline core::ConnectionTable HistoryTable(const std::vector<double>& times, const std::vector<double>& counts) {
  core::ConnectionTable table;
  table.AddColumn("\xC2\xF0\xE5\xEC\xFF");  // "Время"
  table.AddColumn("DATA");
  for (std::size_t i = 0; i < times.size(); ++i) {
    const int row = table.AddRow(rtl::DateText(times[i]) + "  " + rtl::TimeText(times[i]));
    table.AppendValue(row, std::to_string(int(counts[i])));
  }
  return table;
}
