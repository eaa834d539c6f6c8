#include "core/server_rows.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <numeric>
#include <string>

#include "rtl/date_time.h"

namespace core {
namespace {

using platform::OpenFileRecord;
using platform::SessionRecord;
using Number = std::optional<std::int64_t>;

rtl::Text Moment(const std::optional<std::chrono::sys_seconds>& moment) {
  if (!moment) return "";
  const rtl::DateTime local = rtl::LocalDateTime(*moment);
  return rtl::DateText(local) + " " + rtl::TimeText(local);
}

Number Seconds(const std::optional<std::chrono::sys_seconds>& moment) {
  if (!moment) return std::nullopt;
  return moment->time_since_epoch().count();
}

rtl::Text Duration(const std::optional<std::int64_t>& seconds) {
  if (!seconds || *seconds < 0) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(*seconds / 3600),
                static_cast<long long>(*seconds / 60 % 60), static_cast<long long>(*seconds % 60));
  return text;
}

// Windows does not say how a session is protected: an empty cell, as for every value not given.
rtl::Text ProtectionText(const platform::Protection& protection) {
  if (protection.degree == platform::ProtectionDegree::kUnknown) return "";
  rtl::Text text = platform::ProtectionDegreeName(protection.degree);
  if (!protection.cipher.empty()) text += " (" + protection.cipher + ")";
  return text;
}

rtl::Text AccessText(const platform::FileAccess& access) {
  return rtl::Text(access.read ? "R" : "") + (access.write ? "W" : "") + (access.erase ? "D" : "");
}

std::vector<SessionColumn> MakeSessionColumns() {
  using S = const SessionRecord&;
  const auto text = ColumnSort::kText;
  return {
      {"Пользователь", [](S s) { return s.user; }, text, nullptr},
      {"Компьютер", [](S s) { return s.computer; }, text, nullptr},
      {"Протокол", [](S s) { return s.dialect; }, text, nullptr},
      {"Шифрование", [](S s) { return ProtectionText(s.encryption); }, text, nullptr},
      {"Подписывание", [](S s) { return ProtectionText(s.signing); }, text, nullptr},
      {"Файлов", [](S s) { return s.open_files ? std::to_string(*s.open_files) : ""; }, ColumnSort::kNumber,
       [](S s) -> Number { return s.open_files; }},
      {"Подключён", [](S s) { return Moment(s.connected_at); }, ColumnSort::kTime,
       [](S s) { return Seconds(s.connected_at); }},
      {"Простой", [](S s) { return Duration(s.idle_seconds); }, ColumnSort::kNumber,
       [](S s) { return s.idle_seconds; }},
  };
}

std::vector<OpenFileColumn> MakeOpenFileColumns() {
  using F = const OpenFileRecord&;
  const auto text = ColumnSort::kText;
  return {
      {"Файл", [](F f) { return f.path; }, text, nullptr},
      {"Шара", [](F f) { return f.share; }, text, nullptr},
      {"Пользователь", [](F f) { return f.user; }, text, nullptr},
      {"Компьютер", [](F f) { return f.computer; }, text, nullptr},
      {"Доступ", [](F f) { return AccessText(f.access); }, text, nullptr},
      {"Блокировки", [](F f) { return f.locks; }, text, nullptr},
      {"Открыт", [](F f) { return Moment(f.opened_at); }, ColumnSort::kTime, [](F f) { return Seconds(f.opened_at); }},
  };
}

// Case does not split names, and ё sorts with е.
rtl::Text Folded(const rtl::Text& text) {
  rtl::Text folded = rtl::LowerCase(text);
  std::replace(folded.begin(), folded.end(), static_cast<char>(0xB8), static_cast<char>(0xE5));
  return folded;
}

struct SortValue {
  std::int64_t number = 0;
  rtl::Text text;
  bool operator<(const SortValue& other) const {
    return number != other.number ? number < other.number : text < other.text;
  }
};

template <typename Record>
SortValue ValueOf(const RecordColumn<Record>& column, const Record& record) {
  if (column.number == nullptr) return {0, Folded(column.cell(record))};
  return {column.number(record).value_or(std::numeric_limits<std::int64_t>::min()), ""};
}

template <typename Record>
std::vector<std::size_t> Order(const std::vector<Record>& records, const RecordColumn<Record>& column,
                               bool descending) {
  std::vector<SortValue> values;
  values.reserve(records.size());
  for (const Record& record : records) values.push_back(ValueOf(column, record));
  std::vector<std::size_t> order(records.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return descending ? values[b] < values[a] : values[a] < values[b];
  });
  return order;
}

template <typename Record>
std::vector<rtl::Text> Cells(const std::vector<RecordColumn<Record>>& columns, const Record& record) {
  std::vector<rtl::Text> cells;
  cells.reserve(columns.size());
  for (const auto& column : columns) cells.push_back(column.cell(record));
  return cells;
}

template <typename Record>
std::vector<rtl::Text> CaptionsOf(const std::vector<RecordColumn<Record>>& columns) {
  std::vector<rtl::Text> captions;
  for (const auto& column : columns) captions.push_back(rtl::Windows1251FromUtf8(column.caption));
  return captions;
}

}  // namespace

const std::vector<SessionColumn>& SessionColumns() {
  static const std::vector<SessionColumn> columns = MakeSessionColumns();
  return columns;
}

const std::vector<OpenFileColumn>& OpenFileColumns() {
  static const std::vector<OpenFileColumn> columns = MakeOpenFileColumns();
  return columns;
}

std::vector<rtl::Text> Captions(const std::vector<SessionColumn>& columns) { return CaptionsOf(columns); }
std::vector<rtl::Text> Captions(const std::vector<OpenFileColumn>& columns) { return CaptionsOf(columns); }

std::vector<rtl::Text> RowCells(const std::vector<SessionColumn>& columns, const SessionRecord& record) {
  return Cells(columns, record);
}

std::vector<rtl::Text> RowCells(const std::vector<OpenFileColumn>& columns, const OpenFileRecord& record) {
  return Cells(columns, record);
}

std::vector<std::size_t> SortedOrder(const std::vector<SessionRecord>& records, const SessionColumn& column,
                                     bool descending) {
  return Order(records, column, descending);
}

std::vector<std::size_t> SortedOrder(const std::vector<OpenFileRecord>& records, const OpenFileColumn& column,
                                     bool descending) {
  return Order(records, column, descending);
}

}  // namespace core
