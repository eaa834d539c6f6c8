// FormatDateTime: the format specifiers of the runtime's date-time texts.
#include <cctype>
#include <cstdio>

#include "rtl/date_time.h"

namespace rtl {
namespace {

// Formats nest ("c" holds the short date format); a regional format that names itself
// again ("ddddd" inside the short date format) must not recurse without end.
constexpr int kMaxNesting = 3;

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Upper(text[at + i]) != Upper(word[i])) return false;
  }
  return true;
}

// A format with an AM/PM specifier anywhere outside quotes shows hours on a 12-hour clock.
bool UsesTwelveHourClock(std::string_view format) {
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
               StartsWithNoCase(format, i, "ampm")) {
      return true;
    }
  }
  return false;
}

class Formatter {
 public:
  Formatter(const RegionalSettings& settings, DateTime value)
      : settings_(settings), parts_(DecodeDateTime(value)) {}

  Text Run(std::string_view format) {
    Append(format, 0);
    return std::move(out_);
  }

 private:
  void Append(std::string_view format, int nesting) {
    if (nesting > kMaxNesting) return;
    const bool twelve_hour = UsesTwelveHourClock(format);
    char last_letter = 0;
    size_t i = 0;
    while (i < format.size()) {
      const char c = format[i];
      char token = Upper(c);
      if (std::isalpha(static_cast<unsigned char>(c))) {
        // "m" right after an hour means minutes, so "hh:mm" shows the time.
        if (token == 'M' && last_letter == 'H') token = 'N';
        last_letter = token;
      }
      size_t count = 1;
      while (i + count < format.size() && format[i + count] == c) ++count;
      i = AppendToken(format, i, token, count, twelve_hour, nesting);
    }
  }

  // Appends the text of the token at `at`; returns the position after it.
  size_t AppendToken(std::string_view format, size_t at, char token, size_t count, bool twelve_hour,
                     int nesting) {
    switch (token) {
      case 'Y': Number(count <= 2 ? parts_.year % 100 : parts_.year, count <= 2 ? 2 : 4); return at + count;
      case 'M': Month(count); return at + count;
      case 'D': Day(count, nesting); return at + count;
      case 'H': Number(Hour(twelve_hour), count == 1 ? 1 : 2); return at + count;
      case 'N': Number(parts_.minute, count == 1 ? 1 : 2); return at + count;
      case 'S': Number(parts_.second, count == 1 ? 1 : 2); return at + count;
      case 'Z': Number(parts_.millisecond, count == 1 ? 1 : 3); return at + count;
      case 'T': Append(count == 1 ? ShortTimeFormat() : Text(settings_.long_time_format), nesting + 1);
                return at + count;
      case 'C': DateAndTime(nesting); return at + count;
      case 'A': return AmPm(format, at);
      case '/': out_.append(count, settings_.date_separator); return at + count;
      case ':': out_.append(count, settings_.time_separator); return at + count;
      case '"':
      case '\'': return Quoted(format, at);
      default: out_.append(count, format[at]); return at + count;
    }
  }

  void Number(long long value, int min_digits) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%0*lld", min_digits, value);
    out_ += buffer;
  }

  unsigned Hour(bool twelve_hour) const {
    if (!twelve_hour) return parts_.hour;
    const unsigned hour = parts_.hour % 12;
    return hour == 0 ? 12 : hour;
  }

  void Month(size_t count) {
    if (count <= 2) return Number(parts_.month, static_cast<int>(count));
    const auto& names = count == 3 ? settings_.short_month_names : settings_.long_month_names;
    out_ += names[parts_.month - 1];
  }

  void Day(size_t count, int nesting) {
    if (count <= 2) return Number(parts_.day, static_cast<int>(count));
    if (count == 3) out_ += settings_.short_day_names[parts_.day_of_week];
    else if (count == 4) out_ += settings_.long_day_names[parts_.day_of_week];
    else Append(settings_.short_date_format, nesting + 1);
  }

  void DateAndTime(int nesting) {
    Append(settings_.short_date_format, nesting + 1);
    if (parts_.hour != 0 || parts_.minute != 0 || parts_.second != 0 || parts_.millisecond != 0) {
      out_ += ' ';
      Append(settings_.long_time_format, nesting + 1);
    }
  }

  // The long time format without its seconds: "h:mm:ss ampm" gives "h:mm ampm".
  Text ShortTimeFormat() const {
    Text format = settings_.long_time_format;
    const size_t seconds = format.find(":ss");
    if (seconds != Text::npos) format.erase(seconds, 3);
    return format;
  }

  size_t AmPm(std::string_view format, size_t at) {
    const bool afternoon = parts_.hour >= 12;
    if (StartsWithNoCase(format, at, "am/pm")) {
      out_ += format.substr(afternoon ? at + 3 : at, 2);
      return at + 5;
    }
    if (StartsWithNoCase(format, at, "a/p")) {
      out_ += format[afternoon ? at + 2 : at];
      return at + 3;
    }
    if (StartsWithNoCase(format, at, "ampm")) {
      out_ += afternoon ? settings_.time_pm_string : settings_.time_am_string;
      return at + 4;
    }
    out_ += format[at];
    return at + 1;
  }

  // Text between quotes stands for itself; an unclosed quote runs to the end.
  size_t Quoted(std::string_view format, size_t at) {
    const size_t end = format.find(format[at], at + 1);
    const size_t stop = end == std::string_view::npos ? format.size() : end;
    out_.append(format.substr(at + 1, stop - at - 1));
    return end == std::string_view::npos ? stop : end + 1;
  }

  const RegionalSettings& settings_;
  DateTimeParts parts_;
  Text out_;
};

}  // namespace

Text FormatDateTime(std::string_view format, DateTime value, const RegionalSettings& settings) {
  return Formatter(settings, value).Run(format);
}

}  // namespace rtl
