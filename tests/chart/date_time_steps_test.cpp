#include "chart/date_time_steps.h"

#include <gtest/gtest.h>

#include "calendar_value.h"

namespace {

TEST(date_time_steps_test, table_runs_from_one_second_to_one_year) {
  EXPECT_EQ(DateTimeStepTable.size(), 25u);
  EXPECT_DOUBLE_EQ(DateTimeStepTable[dtOneSecond], 1.0 / 86400);
  EXPECT_DOUBLE_EQ(DateTimeStepTable[dtOneHour], 1.0 / 24);
  EXPECT_EQ(DateTimeStepTable[dtHalfMonth], 15);
  EXPECT_EQ(DateTimeStepTable[dtSixMonths], 182);
  EXPECT_EQ(DateTimeStepTable[dtOneYear], 365);
  for (int i = 1; i < dtNone; ++i) EXPECT_LT(DateTimeStepTable[i - 1], DateTimeStepTable[i]) << i;
}

TEST(date_time_steps_test, next_table_step_goes_to_the_entry_after_the_largest_not_above) {
  EXPECT_DOUBLE_EQ(NextTableStep(OneSecond), 5 * OneSecond);
  EXPECT_DOUBLE_EQ(NextTableStep(7 * OneSecond), 10 * OneSecond);
  EXPECT_DOUBLE_EQ(NextTableStep(1.0 / 48), 1.0 / 24);  // 30 minutes -> 1 hour
  EXPECT_EQ(NextTableStep(1), 2);
  EXPECT_EQ(NextTableStep(10), 15);
  EXPECT_EQ(NextTableStep(182), 365);
  EXPECT_EQ(NextTableStep(300), 365);
  EXPECT_EQ(NextTableStep(OneSecond / 2), 365);  // below the table
}

TEST(date_time_steps_test, match_table_step_allows_less_than_a_second) {
  EXPECT_EQ(MatchTableStep(1), dtOneDay);
  EXPECT_EQ(MatchTableStep(30), dtOneMonth);
  EXPECT_EQ(MatchTableStep(30 + 0.9 * OneSecond), dtOneMonth);
  EXPECT_EQ(MatchTableStep(30 + 1.1 * OneSecond), dtNone);
  EXPECT_EQ(MatchTableStep(1.0 / 24), dtOneHour);
  EXPECT_EQ(MatchTableStep(365), dtOneYear);
  EXPECT_EQ(MatchTableStep(OneSecond), dtOneSecond);
  EXPECT_EQ(MatchTableStep(45), dtNone);
  EXPECT_EQ(MatchTableStep(0), dtNone);
}

TEST(date_time_steps_test, calendar_index_needs_a_date_time_axis_exact_steps_and_an_increment) {
  EXPECT_EQ(CalendarStepIndex(true, true, 1, 1), dtOneDay);
  EXPECT_EQ(CalendarStepIndex(false, true, 1, 1), dtNone);
  EXPECT_EQ(CalendarStepIndex(true, false, 1, 1), dtNone);
  EXPECT_EQ(CalendarStepIndex(true, true, 0, 1), dtNone);
  EXPECT_EQ(CalendarStepIndex(true, true, 45, 45), dtNone);  // no such entry
}

TEST(date_time_steps_test, calendar_index_rises_while_the_label_step_is_larger) {
  EXPECT_EQ(CalendarStepIndex(true, true, 30, 30), dtOneMonth);
  EXPECT_EQ(CalendarStepIndex(true, true, 30, 60), dtTwoMonths);
  EXPECT_EQ(CalendarStepIndex(true, true, 30, 61), dtThreeMonths);
  EXPECT_EQ(CalendarStepIndex(true, true, 1, 5), dtOneWeek);
  EXPECT_EQ(CalendarStepIndex(true, true, 1, 2920), dtOneYear);  // never beyond one year
}

TEST(date_time_steps_test, truncate_to_step_start_drops_the_time_and_moves_the_day) {
  const double value = At(2026, 12, 8, 13.5);
  EXPECT_EQ(TruncateToStepStart(dtOneDay, value), At(2026, 12, 8));
  EXPECT_EQ(TruncateToStepStart(dtOneWeek, value), At(2026, 12, 8));
  EXPECT_EQ(TruncateToStepStart(dtHalfMonth, value), At(2026, 12, 1));
  EXPECT_EQ(TruncateToStepStart(dtHalfMonth, At(2026, 12, 15, 1)), At(2026, 12, 15));
  EXPECT_EQ(TruncateToStepStart(dtHalfMonth, At(2026, 12, 31, 1)), At(2026, 12, 15));
  EXPECT_EQ(TruncateToStepStart(dtOneMonth, value), At(2026, 12, 1));
  EXPECT_EQ(TruncateToStepStart(dtSixMonths, value), At(2026, 12, 1));
  EXPECT_EQ(TruncateToStepStart(dtOneYear, value), At(2026, 1, 1));
}

TEST(date_time_steps_test, truncate_to_step_start_keeps_early_values_and_short_steps) {
  EXPECT_EQ(TruncateToStepStart(dtOneYear, 2.0), 2.0);    // 1 January 1900
  EXPECT_EQ(TruncateToStepStart(dtOneDay, 1.75), 1.75);
  EXPECT_EQ(TruncateToStepStart(dtOneDay, -400.5), -400.5);
  EXPECT_EQ(TruncateToStepStart(dtOneDay, 2.5), 2.0);
  EXPECT_EQ(TruncateToStepStart(dtOneHour, 100.5), 100.5);
  EXPECT_EQ(TruncateToStepStart(dtNone, 100.5), 100.5);
  EXPECT_EQ(TruncateToStepStart(dtOneDay, 1e12), 1e12);  // no calendar date
}

TEST(date_time_steps_test, half_month_steps_back_to_the_fifteenth_and_the_first) {
  EXPECT_EQ(StepBack(At(2026, 3, 20, 5), dtHalfMonth, 15, true), At(2026, 3, 15));
  EXPECT_EQ(StepBack(At(2026, 3, 16), dtHalfMonth, 15, true), At(2026, 3, 15));
  EXPECT_EQ(StepBack(At(2026, 3, 15), dtHalfMonth, 15, true), At(2026, 3, 1));
  EXPECT_EQ(StepBack(At(2026, 3, 2), dtHalfMonth, 15, true), At(2026, 3, 1));
  EXPECT_EQ(StepBack(At(2026, 3, 1), dtHalfMonth, 15, true), At(2026, 2, 15));
  EXPECT_EQ(StepBack(At(2026, 1, 1), dtHalfMonth, 15, true), At(2025, 12, 15));
}

TEST(date_time_steps_test, month_steps_borrow_a_year) {
  struct Case {
    TDateTimeStep index;
    double from;
    double to;
  };
  const Case cases[] = {
      {dtOneMonth, At(2026, 3, 1), At(2026, 2, 1)},     {dtOneMonth, At(2026, 1, 1), At(2025, 12, 1)},
      {dtOneMonth, At(2026, 3, 31, 9), At(2026, 2, 1)}, {dtTwoMonths, At(2026, 2, 1), At(2025, 12, 1)},
      {dtThreeMonths, At(2026, 3, 1), At(2025, 12, 1)}, {dtThreeMonths, At(2026, 4, 1), At(2026, 1, 1)},
      {dtFourMonths, At(2026, 4, 1), At(2025, 12, 1)},  {dtFourMonths, At(2026, 5, 1), At(2026, 1, 1)},
      {dtSixMonths, At(2026, 6, 1), At(2025, 12, 1)},   {dtSixMonths, At(2026, 7, 1), At(2026, 1, 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(StepBack(c.from, c.index, 30, true), c.to) << c.index << " " << c.from;
}

TEST(date_time_steps_test, year_steps_keep_month_and_day) {
  EXPECT_EQ(StepBack(At(2026, 1, 1), dtOneYear, 365, true), At(2025, 1, 1));
  EXPECT_EQ(StepBack(At(2026, 7, 14, 12), dtOneYear, 365, true), At(2025, 7, 14));
  // 29 February has no twin a year back.
  EXPECT_EQ(StepBack(At(2024, 2, 29), dtOneYear, 365, true), At(2023, 2, 28));
}

TEST(date_time_steps_test, other_cases_subtract_the_step) {
  const double value = At(2026, 3, 1, 6);
  EXPECT_EQ(StepBack(value, dtOneMonth, 30, false), value - 30);  // not calendar-exact
  EXPECT_EQ(StepBack(value, dtOneWeek, 7, true), value - 7);
  EXPECT_EQ(StepBack(value, dtOneDay, 1, true), value - 1);
  EXPECT_EQ(StepBack(value, dtNone, 0.25, true), value - 0.25);
  EXPECT_EQ(StepBack(1e12, dtOneMonth, 30, true), 1e12 - 30);  // no calendar date
}

TEST(date_time_steps_test, date_time_step_walks_the_table_to_fit_the_count) {
  // Two days on 57 labels: 30 minutes give 96 labels, one hour 48.
  EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 2, 57), 1.0 / 24);
  EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 2, 48), 1.0 / 24);
  EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 2, 47), 2.0 / 24);
  EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, 60 * OneSecond, 100), OneSecond);
  EXPECT_EQ(DateTimeLabelStep(0, 0, 10), OneSecond);  // empty range
}

TEST(date_time_steps_test, date_time_step_doubles_whole_years) {
  EXPECT_EQ(DateTimeLabelStep(0, 365 * 10, 10), 365);
  EXPECT_EQ(DateTimeLabelStep(0, 365 * 10, 5), 730);
  EXPECT_EQ(DateTimeLabelStep(0, 365 * 10, 2), 1460);  // Nearest(2.5) = 2
}

TEST(date_time_steps_test, date_time_step_starts_from_the_increment) {
  EXPECT_EQ(DateTimeLabelStep(1, 10, 57), 1);
  EXPECT_EQ(DateTimeLabelStep(30, 90, 57), 30);
  EXPECT_EQ(DateTimeLabelStep(30, 900, 20), 60);
}

TEST(date_time_steps_test, date_time_step_starts_at_a_millionth_of_a_huge_range) {
  // A range of 10 million days starts at 10 days, not at one second, and still fits.
  const double step = DateTimeLabelStep(0, 1e7, 10);
  EXPECT_GE(step, 1e6);
  EXPECT_LE(1e7 / step, 10.5);
}

}  // namespace
