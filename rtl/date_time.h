// Date-time values and their texts under the regional settings.
// A date-time value is a double: the whole part counts days since 30 December 1899, the
// fraction is the time of day (0.5 = noon). Before that day the whole part is negative and the
// fraction still counts forward from midnight: -1.25 is 29 December 1899, 06:00.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "rtl/regional_settings.h"
#include "rtl/text.h"

namespace rtl {

using DateTime = double;

// Day 0 of a date-time value: 30 December 1899.
inline constexpr std::chrono::sys_days kDateTimeEpoch{std::chrono::year{1899} / 12 / 30};
// The first and the last day a date-time value can name, 1 January 0001 and 31 December 9999,
// as whole days since the epoch.
inline constexpr DateTime kFirstCalendarDay = -693593;
inline constexpr DateTime kLastCalendarDay = 2958465;
// Where the calendar ends: values at or beyond it name no date (a value of the last day
// with a time of day stays below it).
inline constexpr DateTime kEndOfCalendar = kLastCalendarDay + 1;

struct DateTimeParts {
  int year = 1899;          // 1..9999
  unsigned month = 12;      // 1..12
  unsigned day = 30;        // 1..31
  unsigned hour = 0;        // 0..23
  unsigned minute = 0;      // 0..59
  unsigned second = 0;      // 0..59
  unsigned millisecond = 0; // 0..999
  unsigned day_of_week = 6; // 0 = Sunday
};

// Throws ConvertError "Invalid argument to date encode" / "Invalid argument to time encode"
// for a day, month or year outside the calendar (years 1..9999) or a time outside the day.
DateTime EncodeDate(int year, unsigned month, unsigned day);
DateTime EncodeTime(unsigned hour, unsigned minute, unsigned second, unsigned millisecond);
// Date plus time; for a date before 30 December 1899 the date minus the time.
DateTime EncodeDateTime(const DateTimeParts& parts);
bool TryEncodeDateTime(const DateTimeParts& parts, DateTime& value);

// Rounds to the millisecond, so 0.99999999999 is midnight of day 1.
DateTimeParts DecodeDateTime(DateTime value);

// The local wall-clock time now. Each call is a separate reading of the clock.
DateTime Now();
// The local wall-clock time of a moment the system gives in UTC, to the second.
DateTime LocalDateTime(std::chrono::sys_seconds moment);
// Replaces the clock (tests); an empty function restores the system clock.
void SetClockForTesting(std::function<DateTime()> clock);

// Formats a value. Specifiers (case-insensitive, as in "dd.MM.yyyy" and "hh:mm"):
//   d dd      day without / with leading zero    ddd dddd  short / long day name
//   ddddd     short date format                  dddddd    short date format too
//   m mm      month (minutes right after an hour) mmm mmmm short / long month name
//   yy yyyy   two- / four-digit year (y counts up to 2 give two digits)
//   h hh      hour without / with leading zero   n nn      minutes
//   s ss      seconds                            z zzz     milliseconds
//   t tt      short time ("h:mm") / long time format       c  short date and long time
//   am/pm a/p the format's own letters, 12-hour   ampm      the regional designator, 12-hour
//   /         date separator                     :         time separator
//   "x" 'x'   literal text; any other character stands for itself.
Text FormatDateTime(std::string_view format, DateTime value,
                    const RegionalSettings& settings = CurrentRegionalSettings());

// The date text (short date format) and the time text (long time format) of a value.
Text DateText(DateTime value, const RegionalSettings& settings = CurrentRegionalSettings());
Text TimeText(DateTime value, const RegionalSettings& settings = CurrentRegionalSettings());

// Reads a date followed by a time: three numbers separated by the date separator, in the
// day-month-year order the short date format gives (a one- or two-digit year lies within 50
// years before the current one or 49 after), any spaces, then hours, minutes and optional
// seconds separated by the time separator, with an optional AM/PM designator (the regional
// one or "AM"/"PM", either case) before or after. Text that is not a date and a time is read as
// a time alone, on day 0. Spaces at both ends are allowed.
// Throws ConvertError "'%s' is not a valid date and time".
DateTime StrToDateTime(const Text& text, const RegionalSettings& settings = CurrentRegionalSettings());
bool TryStrToDateTime(const Text& text, DateTime& value,
                      const RegionalSettings& settings = CurrentRegionalSettings());

}  // namespace rtl
