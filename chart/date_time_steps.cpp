#include "chart/date_time_steps.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "rtl/date_time.h"

using namespace std::chrono;

namespace {

// The date part of a value, truncated toward zero like the runtime's date decoder
// (-1.5 is 29.12.1899); nothing when the value names no calendar date.
std::optional<year_month_day> DecodeDate(double value) {
  if (!(value >= rtl::kFirstCalendarDay && value < rtl::kEndOfCalendar)) return std::nullopt;
  return year_month_day{rtl::kDateTimeEpoch + days{static_cast<long>(std::trunc(value))}};
}

double EncodeDate(year_month_day date) {
  return static_cast<double>((sys_days{date} - rtl::kDateTimeEpoch).count());
}

double NearestDouble(double x) { return std::nearbyint(x); }

year_month_day HalfMonthBefore(year_month_day date) {
  const unsigned day = static_cast<unsigned>(date.day());
  if (day >= 16) return date.year() / date.month() / 15;
  if (day >= 2) return date.year() / date.month() / 1;
  const year_month previous = date.year() / date.month() - months{1};
  return previous / 15;
}

int MonthsOfStep(TDateTimeStep index) {
  switch (index) {
    case dtOneMonth: return 1;
    case dtTwoMonths: return 2;
    case dtThreeMonths: return 3;
    case dtFourMonths: return 4;
    default: return 6;
  }
}

year_month_day CalendarStepBefore(year_month_day date, TDateTimeStep index) {
  if (index == dtHalfMonth) return HalfMonthBefore(date);
  if (index == dtOneYear) {
    const year_month_day back = date - years{1};
    // 29 February of a leap year has no twin a year back; the month's last day stands in.
    return back.ok() ? back : year_month_day{back.year() / back.month() / last};
  }
  return (date.year() / date.month() - months{MonthsOfStep(index)}) / 1;
}

}  // namespace

double NextTableStep(double x) {
  for (int index = dtSixMonths; index >= dtOneSecond; --index) {
    if (DateTimeStepTable[index] <= x) return DateTimeStepTable[index + 1];
  }
  return DateTimeStepTable[dtOneYear];
}

TDateTimeStep MatchTableStep(double x) {
  for (int index = dtOneYear; index >= dtOneSecond; --index) {
    if (std::abs(DateTimeStepTable[index] - x) < OneSecond) return static_cast<TDateTimeStep>(index);
  }
  return dtNone;
}

TDateTimeStep CalendarStepIndex(bool is_date_time, bool exact_date_time, double increment,
                                double label_step) {
  if (!is_date_time || !exact_date_time || increment == 0) return dtNone;
  int index = MatchTableStep(increment);
  if (index == dtNone) return dtNone;
  while (label_step > DateTimeStepTable[index] && index < dtOneYear) ++index;
  return static_cast<TDateTimeStep>(index);
}

double TruncateToStepStart(TDateTimeStep index, double value) {
  if (value <= 2.0 || index < dtOneDay || index > dtOneYear) return value;
  const std::optional<year_month_day> date = DecodeDate(value);
  if (!date) return value;
  year_month_day start = *date;
  if (index == dtHalfMonth) {
    start = date->year() / date->month() / (date->day() < day{15} ? 1 : 15);
  } else if (index >= dtOneMonth && index <= dtSixMonths) {
    start = date->year() / date->month() / 1;
  } else if (index == dtOneYear) {
    start = date->year() / January / 1;
  }
  return EncodeDate(start);
}

double StepBack(double value, TDateTimeStep index, double step, bool calendar) {
  if (!calendar || index <= dtOneWeek || index >= dtNone) return value - step;
  const std::optional<year_month_day> date = DecodeDate(value);
  if (!date) return value - step;
  return EncodeDate(CalendarStepBefore(*date, index));
}

double DateTimeLabelStep(double increment, double scale_range, int count) {
  double step = std::max(OneSecond, increment);
  // Starting no finer than a millionth of the range bounds the walk below to the table's
  // 25 entries plus a few dozen doublings, whatever the range.
  if (scale_range / step > 1000000) step = scale_range / 1000000;
  while (std::isfinite(step) && count < NearestDouble(scale_range / step)) {
    step = step >= DateTimeStepTable[dtOneYear] ? step * 2 : NextTableStep(step);
  }
  return std::max(step, OneSecond);
}
