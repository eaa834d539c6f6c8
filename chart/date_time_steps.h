// Calendar-aware label steps of date-time axes: the fixed table of 25 step durations
// from one second to one year, the walk through it, and month and year arithmetic for
// stepping labels back on whole days, half months, months and years.
// Date-time values are days since 30 December 1899; the fraction is the time of day.
#pragma once

#include <array>

// Index into DateTimeStepTable; dtNone (25) means "no calendar step".
enum TDateTimeStep : int {
  dtOneSecond,
  dtFiveSeconds,
  dtTenSeconds,
  dtFifteenSeconds,
  dtThirtySeconds,
  dtOneMinute,
  dtFiveMinutes,
  dtTenMinutes,
  dtFifteenMinutes,
  dtThirtyMinutes,
  dtOneHour,
  dtTwoHours,
  dtSixHours,
  dtTwelveHours,
  dtOneDay,
  dtTwoDays,
  dtThreeDays,
  dtOneWeek,
  dtHalfMonth,
  dtOneMonth,
  dtTwoMonths,
  dtThreeMonths,
  dtFourMonths,
  dtSixMonths,
  dtOneYear,
  dtNone,
};

inline constexpr double OneSecond = 1.0 / 86400;  // days

// Step durations in days, indexed by TDateTimeStep (dtNone has no entry).
inline constexpr std::array<double, dtNone> DateTimeStepTable = {
    1.0 / 86400,  5.0 / 86400,  10.0 / 86400, 15.0 / 86400, 30.0 / 86400,  // seconds
    1.0 / 1440,   5.0 / 1440,   10.0 / 1440,  15.0 / 1440,  30.0 / 1440,   // minutes
    1.0 / 24,     2.0 / 24,     0.25,         0.5,                         // hours
    1,            2,            3,            7,                           // days, week
    15,           30,           60,           90,           120,  182,     // months
    365,                                                                   // year
};

// The entry after the largest of entries 0..23 that is <= x; below entry 0 gives entry 24.
// Always greater than x for x < 365 days.
double NextTableStep(double x);

// From dtOneYear down to dtOneSecond, the first entry within one second of x; else dtNone.
TDateTimeStep MatchTableStep(double x);

// The calendar step of one axis drawing. dtNone unless the axis is date-time, ExactDateTime is
// set and increment is not 0; then the entry matching increment, raised one entry at a time
// (up to dtOneYear) while label_step is greater than the entry.
TDateTimeStep CalendarStepIndex(bool is_date_time, bool exact_date_time, double increment,
                                double label_step);

// Start of the first label of a calendar step of one day or more (dtOneDay..dtOneYear): the date
// of value at midnight, moved to the 1st or 15th (dtHalfMonth), the 1st of the month
// (dtOneMonth..dtSixMonths) or 1 January (dtOneYear). Values at or before 1 January 1900 (2.0),
// values outside the years 1..9999 and the other indices return value unchanged.
double TruncateToStepStart(TDateTimeStep index, double value);

// The label before value. With calendar (ExactDateTime on a date-time axis) and an index from
// dtHalfMonth to dtOneYear, calendar arithmetic at midnight: dtHalfMonth goes to the 15th or
// the 1st (the 1st goes to the previous month's 15th), dtOneMonth..dtSixMonths to the 1st of
// the month 1, 2, 3, 4 or 6 months back, dtOneYear to the same day a year back (29 February
// becomes the 28th). Every other case, and values outside the years 1..9999, give value - step.
double StepBack(double value, TDateTimeStep index, double step, bool calendar);

// The label step of a date-time axis whose labels must fit count labels into scale_range days:
// from max(one second, increment) (at least scale_range / 1000000) up the table, then doubling
// whole years, until Nearest(scale_range / step) <= count. At least one second.
double DateTimeLabelStep(double increment, double scale_range, int count);
