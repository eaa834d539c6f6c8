// StrToDateTime: reading a date and a time under the regional settings.
#include <optional>

#include "rtl/date_time.h"
#include "rtl/errors.h"

namespace rtl {
namespace {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The order is that of the first day, month or year letter of the short date format.
DateOrder OrderOf(std::string_view short_date_format) {
  for (const char c : short_date_format) {
    switch (c) {
      case 'd': case 'D': return DateOrder::DayMonthYear;
      case 'm': case 'M': return DateOrder::MonthDayYear;
      case 'y': case 'Y': return DateOrder::YearMonthDay;
      default: break;
    }
  }
  return DateOrder::DayMonthYear;
}

// A two-digit year lies in the hundred years that start fifty years before the current one.
int WidenTwoDigitYear(int year) {
  const int base = DecodeDateTime(Now()).year - 50;
  year += base / 100 * 100;
  return year < base ? year + 100 : year;
}

class Scanner {
 public:
  Scanner(std::string_view text, const RegionalSettings& settings) : text_(text), settings_(settings) {}

  std::optional<double> DateAndTime() {
    pos_ = 0;
    const std::optional<double> date = Date();
    if (!date) return std::nullopt;
    const std::optional<double> time = Time();
    if (!time || !AtEnd()) return std::nullopt;
    return *date < 0 ? *date - *time : *date + *time;
  }

  std::optional<double> TimeAlone() {
    pos_ = 0;
    const std::optional<double> time = Time();
    if (!time || !AtEnd()) return std::nullopt;
    return time;
  }

 private:
  void SkipSpaces() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  bool AtEnd() {
    SkipSpaces();
    return pos_ == text_.size();
  }

  bool Char(char c) {
    SkipSpaces();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // Up to four digits; `digits` tells how many were read.
  bool Number(int& value, int& digits) {
    SkipSpaces();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && digits < 4 && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }

  bool Word(std::string_view word) {
    if (word.empty() || text_.size() - pos_ < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (LowerCase(text_[pos_ + i]) != LowerCase(word[i])) {
        return false;
      }
    }
    pos_ += word.size();
    return true;
  }

  // 0 for the morning designator, 12 for the afternoon one, -1 when none follows.
  int Designator() {
    SkipSpaces();
    if (Word(settings_.time_am_string) || Word("AM")) return 0;
    if (Word(settings_.time_pm_string) || Word("PM")) return 12;
    return -1;
  }

  std::optional<double> Date() {
    int numbers[3];
    int digits[3];
    const char separator = settings_.date_separator;
    if (!Number(numbers[0], digits[0]) || !Char(separator) || !Number(numbers[1], digits[1]) ||
        !Char(separator) || !Number(numbers[2], digits[2])) {
      return std::nullopt;
    }
    int year_index = 2, month_index = 1, day_index = 0;
    switch (OrderOf(settings_.short_date_format)) {
      case DateOrder::DayMonthYear: break;
      case DateOrder::MonthDayYear: month_index = 0, day_index = 1; break;
      case DateOrder::YearMonthDay: year_index = 0, month_index = 1, day_index = 2; break;
    }
    int year = numbers[year_index];
    if (digits[year_index] <= 2) year = WidenTwoDigitYear(year);
    DateTimeParts parts;
    parts.year = year;
    parts.month = static_cast<unsigned>(numbers[month_index]);
    parts.day = static_cast<unsigned>(numbers[day_index]);
    DateTime value = 0;
    if (!TryEncodeDateTime(parts, value)) return std::nullopt;
    return value;
  }

  std::optional<double> Time() {
    int base_hour = Designator();
    int hour = 0, minute = 0, second = 0, digits = 0;
    const char separator = settings_.time_separator;
    if (!Number(hour, digits) || !Char(separator) || !Number(minute, digits)) return std::nullopt;
    if (Char(separator) && !Number(second, digits)) return std::nullopt;
    if (base_hour < 0) base_hour = Designator();
    if (base_hour >= 0) {
      if (hour == 0 || hour > 12) return std::nullopt;
      hour = hour % 12 + base_hour;
    }
    DateTimeParts parts;
    parts.hour = static_cast<unsigned>(hour);
    parts.minute = static_cast<unsigned>(minute);
    parts.second = static_cast<unsigned>(second);
    DateTime value = 0;
    if (!TryEncodeDateTime(parts, value)) return std::nullopt;
    return value;
  }

  std::string_view text_;
  const RegionalSettings& settings_;
  size_t pos_ = 0;
};

}  // namespace

bool TryStrToDateTime(const Text& text, DateTime& value, const RegionalSettings& settings) {
  Scanner scanner(text, settings);
  std::optional<double> result = scanner.DateAndTime();
  if (!result) result = scanner.TimeAlone();
  if (!result) return false;
  value = *result;
  return true;
}

DateTime StrToDateTime(const Text& text, const RegionalSettings& settings) {
  DateTime value = 0;
  if (!TryStrToDateTime(text, value, settings)) throw ConvertError("'" + text + "' is not a valid date and time");
  return value;
}

}  // namespace rtl
