#include "chart/label_steps.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "chart/date_time_steps.h"

namespace {

TEST(label_steps_test, next_nice_step_runs_one_two_five) {
  struct Case {
    double from;
    double to;
  };
  const Case cases[] = {
      {1, 2},      {2, 5},     {3, 5},        {5, 10},     {10, 20},  {20, 50},
      {50, 100},   {0.3, 0.5}, {0.1, 0.2},    {0.5, 1},    {1.5, 2},  {7, 10},
      {1e-12, 2e-12}, {4e9, 5e9}, {1000, 2000},
  };
  // Exact: the steps are the doubles nearest to the decimal values, so labels read cleanly.
  for (const Case& c : cases) EXPECT_EQ(NextNiceStep(c.from), c.to) << c.from;
}

TEST(label_steps_test, next_nice_step_climbs_three_steps_per_decade_from_any_start) {
  for (double start : {1e-12, 1.0, 3e-7, 0.7}) {
    double step = start;
    int steps = 0;
    while (step < start * 1e24) {
      const double next = NextNiceStep(step);
      ASSERT_GT(next, step) << "from " << step;
      step = next;
      ++steps;
    }
    EXPECT_GE(steps, 72) << start;
    EXPECT_LE(steps, 73) << start;
  }
}

TEST(label_steps_test, next_nice_step_leaves_unusable_values) {
  EXPECT_EQ(NextNiceStep(0), 0);
  EXPECT_EQ(NextNiceStep(-3), -3);
  EXPECT_TRUE(std::isinf(NextNiceStep(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(NextNiceStep(std::nan(""))));
}

TEST(label_steps_test, label_count_adds_the_separation_gap) {
  EXPECT_EQ(LabelCount(13, 200, 10), 14);   // 13 + Nearest(1.3) = 14; Nearest(14.28)
  EXPECT_EQ(LabelCount(13, 800, 10), 57);   // Nearest(57.1)
  EXPECT_EQ(LabelCount(13, 200, 0), 15);    // no gap: Nearest(15.4)
  EXPECT_EQ(LabelCount(20, 200, 50), 7);    // 20 + 10: Nearest(6.67)
  EXPECT_EQ(LabelCount(10, 25, 0), 2);      // Nearest(2.5) = 2, halves to even
  EXPECT_EQ(LabelCount(10, 35, 0), 4);      // Nearest(3.5) = 4
  EXPECT_EQ(LabelCount(0, 200, 10), 1);
  EXPECT_EQ(LabelCount(-5, 200, 10), 1);
  EXPECT_EQ(LabelCount(13, 0, 10), 0);
}

TEST(label_steps_test, numeric_step_grows_one_two_five_until_the_labels_fit) {
  // 65 labels, then Nearest(32.5) = 32, then 13 <= 14.
  EXPECT_EQ(NumericLabelStep(0, 65, 10, 14), 5);
  EXPECT_EQ(NumericLabelStep(0, 65, 10, 13), 5);
  EXPECT_EQ(NumericLabelStep(0, 65, 10, 12), 10);
  EXPECT_EQ(NumericLabelStep(0, 1000, 10, 14), 100);
  EXPECT_EQ(NumericLabelStep(0, 0.5, 10, 14), 0.05);
}

TEST(label_steps_test, numeric_step_starts_from_the_increment) {
  EXPECT_EQ(NumericLabelStep(3, 65, 10, 14), 5);    // 3 gives 22 labels, 5 gives 13
  EXPECT_EQ(NumericLabelStep(3, 30, 10, 14), 3);    // 3 fits already
  EXPECT_EQ(NumericLabelStep(3, 650, 10, 14), 50);  // 3, 5, 10, 20, 50
}

TEST(label_steps_test, separation_zero_takes_the_starting_step_unchanged) {
  EXPECT_EQ(NumericLabelStep(0, 65, 0, 14), 1);
  EXPECT_EQ(NumericLabelStep(3, 65, 0, 14), 3);
  EXPECT_EQ(NumericLabelStep(0, 0.5, 0, 14), 1e-12);
  EXPECT_EQ(NumericLabelStep(0, -7, 0, 14), 1);  // |range| >= 1
}

TEST(label_steps_test, empty_range_gives_the_smallest_step) {
  EXPECT_EQ(NumericLabelStep(0, 0, 10, 14), 1e-12);
  EXPECT_EQ(LabelStepForCount(14, false, 0, 0, 10), 1e-12);
  EXPECT_EQ(LabelStepForCount(57, true, 0, 0, 10), OneSecond);
}

TEST(label_steps_test, ratios_beyond_the_counter_keep_growing_the_step) {
  // 1e12 / 1 does not fit an int count; the step grows to 1e11 (10 labels).
  EXPECT_DOUBLE_EQ(NumericLabelStep(0, 1e12, 10, 14), 1e11);
}

TEST(label_steps_test, an_unbounded_range_ends_the_search) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isinf(NumericLabelStep(0, infinity, 10, 14)));
  EXPECT_TRUE(std::isinf(LabelStepForCount(14, true, 0, infinity, 10)));
}

TEST(label_steps_test, count_below_one_gives_the_smallest_step) {
  EXPECT_EQ(LabelStepForCount(0, false, 5, 65, 10), 1e-12);
  EXPECT_EQ(LabelStepForCount(0, true, 1, 65, 10), OneSecond);
}

TEST(label_steps_test, step_for_count_picks_the_date_time_walk) {
  EXPECT_DOUBLE_EQ(LabelStepForCount(57, true, 0, 2, 10), 1.0 / 24);
  EXPECT_EQ(LabelStepForCount(14, false, 0, 65, 10), 5);
}

}  // namespace
