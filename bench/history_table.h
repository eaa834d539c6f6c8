// The connection tables of the benchmarks (Linux's and the Windows timing programs'): the one a
// long polling run leaves behind, "Время" and one share "DATA", one row per poll captioned as a
// poll captions it, and the history such a run has; and a table file of very many shares.
#pragma once

#include <random>
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

inline constexpr double kFirstDay = 46023;  // 1 January 2026 as a date-time value
inline constexpr double kMinute = 1.0 / 1440;

struct History {
  std::vector<double> times;   // date-time values
  std::vector<double> counts;  // 0..60
};

// `count` polls a minute apart from kFirstDay, with counts drawn at random from a fixed seed.
inline History MinuteHistory(int count) {
  History history;
  std::mt19937 generator(20260101);
  std::uniform_int_distribution<int> users(0, 60);
  for (int i = 0; i < count; ++i) {
    history.times.push_back(kFirstDay + i * kMinute);
    history.counts.push_back(users(generator));
  }
  return history;
}

// A table file of `shares` shares ("Время", "s1", "s2"...) and `rows` polls half an hour apart
// from kFirstDay, each with a count of one to three digits per share, as its load hands them
// to the table: the columns, then the rows.
struct ManyShares {
  std::vector<rtl::Text> columns;
  std::vector<core::ConnectionTable::Row> rows;
};

inline ManyShares ManySharesTable(int shares, int rows) {
  ManyShares table;
  table.columns.push_back("\xC2\xF0\xE5\xEC\xFF");  // "Время"
  for (int share = 1; share <= shares; ++share) table.columns.push_back(rtl::Text("s").append(std::to_string(share)));
  for (int row = 0; row < rows; ++row) {
    const double time = kFirstDay + row / 48.0;
    core::ConnectionTable::Row entry{rtl::DateText(time) + "  " + rtl::TimeText(time), {}};
    for (int share = 0; share < shares; ++share) entry.values.push_back(std::to_string((row * share) % 1000));
    table.rows.push_back(std::move(entry));
  }
  return table;
}
