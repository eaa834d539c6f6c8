#include "rtl/date_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <utility>

#include "rtl/errors.h"

namespace rtl {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr long long kMillisecondsPerDay = 86'400'000;

std::function<DateTime()>& ClockOverride() {
  static std::function<DateTime()> clock;
  return clock;
}

bool ValidDate(int year, unsigned month, unsigned day) {
  return year >= 1 && year <= 9999 &&
         year_month_day{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}}.ok();
}

bool ValidTime(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  return hour < 24 && minute < 60 && second < 60 && millisecond < 1000;
}

double DaysOf(int year, unsigned month, unsigned day) {
  const year_month_day date{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
  return static_cast<double>((sys_days{date} - kDateTimeEpoch).count());
}

double FractionOf(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(ms) / kMillisecondsPerDay;
}

DateTime Combine(double date, double time) { return date < 0 ? date - time : date + time; }

}  // namespace

DateTime EncodeDate(int year, unsigned month, unsigned day) {
  if (!ValidDate(year, month, day)) throw ConvertError("Invalid argument to date encode");
  return DaysOf(year, month, day);
}

DateTime EncodeTime(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  if (!ValidTime(hour, minute, second, millisecond)) throw ConvertError("Invalid argument to time encode");
  return FractionOf(hour, minute, second, millisecond);
}

bool TryEncodeDateTime(const DateTimeParts& p, DateTime& value) {
  if (!ValidDate(p.year, p.month, p.day) || !ValidTime(p.hour, p.minute, p.second, p.millisecond)) return false;
  value = Combine(DaysOf(p.year, p.month, p.day), FractionOf(p.hour, p.minute, p.second, p.millisecond));
  return true;
}

DateTime EncodeDateTime(const DateTimeParts& parts) {
  EncodeDate(parts.year, parts.month, parts.day);
  EncodeTime(parts.hour, parts.minute, parts.second, parts.millisecond);
  DateTime value = 0;
  TryEncodeDateTime(parts, value);
  return value;
}

DateTimeParts DecodeDateTime(DateTime value) {
  // Rounding the whole value to milliseconds first lets 23:59:59.9996 roll over into the next
  // day instead of showing as second 60; the day counts toward zero, the time from midnight.
  const long long total = std::llround(value * kMillisecondsPerDay);
  const long long day_number = total / kMillisecondsPerDay;
  long long ms = std::llabs(total) % kMillisecondsPerDay;
  const sys_days day = kDateTimeEpoch + days{day_number};
  const year_month_day date{day};
  DateTimeParts parts;
  parts.year = static_cast<int>(date.year());
  parts.month = static_cast<unsigned>(date.month());
  parts.day = static_cast<unsigned>(date.day());
  parts.day_of_week = std::chrono::weekday{day}.c_encoding();
  parts.millisecond = static_cast<unsigned>(ms % 1000);
  ms /= 1000;
  parts.second = static_cast<unsigned>(ms % 60);
  ms /= 60;
  parts.minute = static_cast<unsigned>(ms % 60);
  parts.hour = static_cast<unsigned>(ms / 60);
  return parts;
}

namespace {

// The local time of a moment, the milliseconds given apart since the C library counts seconds.
DateTime LocalOf(std::time_t seconds, unsigned milliseconds) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return DaysOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         FractionOf(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), milliseconds);
}

}  // namespace

DateTime Now() {
  if (ClockOverride()) return ClockOverride()();
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return LocalOf(std::chrono::system_clock::to_time_t(now), static_cast<unsigned>(ms));
}

DateTime LocalDateTime(std::chrono::sys_seconds moment) {
  return LocalOf(static_cast<std::time_t>(moment.time_since_epoch().count()), 0);
}

void SetClockForTesting(std::function<DateTime()> clock) { ClockOverride() = std::move(clock); }

Text DateText(DateTime value, const RegionalSettings& settings) {
  return FormatDateTime(settings.short_date_format, value, settings);
}

Text TimeText(DateTime value, const RegionalSettings& settings) {
  return FormatDateTime(settings.long_time_format, value, settings);
}

}  // namespace rtl
