#include "chart/label_sequence.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "calendar_value.h"

namespace {

std::vector<double> Linear(const LabelScale& scale, double step, TDateTimeStep calendar_step = dtNone) {
  std::vector<double> values;
  EmitLinearLabels(scale, step, calendar_step, [&](double v) { values.push_back(v); });
  return values;
}

LabelScale Numeric(double minimum, double maximum) { return LabelScale{minimum, maximum, false, true, true}; }
LabelScale Dates(double minimum, double maximum) { return LabelScale{minimum, maximum, true, true, true}; }

TEST(label_sequence_test, first_label_is_rounded_down_to_the_step) {
  EXPECT_EQ(Linear(Numeric(0.5, 9.7), 2), (std::vector<double>{8, 6, 4, 2}));
  LabelScale unrounded = Numeric(0.5, 9.7);
  unrounded.RoundFirstLabel = false;
  const std::vector<double> values = Linear(unrounded, 2);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_DOUBLE_EQ(values[0], 9.7);
  EXPECT_NEAR(values[4], 1.7, 1e-12);
}

TEST(label_sequence_test, a_first_label_above_a_negative_maximum_steps_back) {
  // Trunc(-2.5 / 1) = -2 lies above the maximum.
  EXPECT_EQ(Linear(Numeric(-5, -2.5), 1), (std::vector<double>{-3, -4, -5}));
  EXPECT_EQ(Linear(Numeric(-8, 0), 4), (std::vector<double>{0, -4, -8}));  // the minimum keeps its label
}

TEST(label_sequence_test, one_point_starts_at_its_value) {
  const std::vector<double> values = Linear(Numeric(7.3, 7.3), 1e-12);
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.front(), 7.3);
  for (double v : values) EXPECT_NEAR(v, 7.3, 1e-10);
}

TEST(label_sequence_test, a_step_below_the_value_precision_ends_the_sequence) {
  // 1e10 - 1e-12 == 1e10: stepping back cannot move, so one label and no endless loop.
  EXPECT_EQ(Linear(Numeric(1e10, 1e10), 1e-12), (std::vector<double>{1e10}));
}

TEST(label_sequence_test, ten_thousand_steps_or_more_give_no_labels) {
  EXPECT_TRUE(Linear(Numeric(0, 10000), 1).empty());
  EXPECT_EQ(Linear(Numeric(0, 9999), 1).size(), 10000u);
  EXPECT_TRUE(Linear(Numeric(0, 1), std::numeric_limits<double>::infinity()).empty());
  EXPECT_TRUE(Linear(Numeric(0, 1), std::nan("")).empty());
}

TEST(label_sequence_test, without_exact_date_time_months_step_by_thirty_days) {
  LabelScale scale = Dates(At(2025, 10, 20), At(2026, 2, 10));
  scale.ExactDateTime = false;
  const std::vector<double> values = Linear(scale, 30, dtOneMonth);
  ASSERT_GE(values.size(), 2u);
  EXPECT_EQ(values[0] - values[1], 30);
}

std::vector<double> Logarithmic(double minimum, double maximum, int base = 10) {
  std::vector<double> values;
  EmitLogarithmicLabels(minimum, maximum, base, [&](double v) { values.push_back(v); });
  return values;
}

TEST(label_sequence_test, logarithmic_labels_are_powers_of_the_base) {
  EXPECT_EQ(Logarithmic(1, 1000), (std::vector<double>{1, 10, 100, 1000}));
  EXPECT_EQ(Logarithmic(3, 1000), (std::vector<double>{10, 100, 1000}));  // 1 lies below 3
  EXPECT_EQ(Logarithmic(4, 40, 2), (std::vector<double>{4, 8, 16, 32}));
  EXPECT_TRUE(Logarithmic(5, 5).empty());
}

TEST(label_sequence_test, logarithmic_minimum_at_or_below_zero_is_replaced) {
  EXPECT_EQ(LogarithmicScaleMinimum(0), 0.1);
  EXPECT_EQ(LogarithmicScaleMinimum(-4), 1e-10);
  EXPECT_EQ(LogarithmicScaleMinimum(2.5), 2.5);
  const std::vector<double> values = Logarithmic(0, 100);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0], 0.1);
  EXPECT_NEAR(values[3], 100, 1e-12);
}

TEST(label_sequence_test, logarithmic_labels_stop_when_the_powers_overflow) {
  const std::vector<double> values = Logarithmic(1, std::numeric_limits<double>::infinity());
  EXPECT_EQ(values.size(), 309u);  // 1e0 .. 1e308
}

struct CustomRun {
  bool used = false;
  std::vector<double> values;
  std::vector<int> asked;
};

CustomRun Custom(double minimum, double maximum, const NextLabelQuery& handler) {
  CustomRun run;
  auto asking = [&](int index, double& value, bool& stop) {
    run.asked.push_back(index);
    handler(index, value, stop);
  };
  run.used = EmitCustomLabels(minimum, maximum, asking, [&](double v) { run.values.push_back(v); });
  return run;
}

TEST(label_sequence_test, custom_labels_come_from_the_handler) {
  const CustomRun run = Custom(0, 100, [](int index, double& value, bool& stop) {
    stop = index == 3;
    value = index * 25.0;
  });
  EXPECT_TRUE(run.used);
  EXPECT_EQ(run.values, (std::vector<double>{0, 25, 50}));
}

TEST(label_sequence_test, a_handler_that_keeps_stop_declines) {
  const CustomRun run = Custom(0, 100, [](int, double& value, bool&) { value = 50; });
  EXPECT_FALSE(run.used);
  EXPECT_TRUE(run.values.empty());
  EXPECT_EQ(run.asked, (std::vector<int>{0}));
}

TEST(label_sequence_test, custom_value_and_stop_carry_from_call_to_call) {
  std::vector<double> seen;
  const CustomRun run = Custom(10, 20, [&](int index, double& value, bool& stop) {
    seen.push_back(value);
    if (index == 0) stop = false;
    value += 4;
  });
  EXPECT_EQ(seen, (std::vector<double>{10, 14, 18}));
  EXPECT_EQ(run.values, (std::vector<double>{14, 18}));  // 22 leaves the band
}

TEST(label_sequence_test, custom_values_may_lie_a_hair_outside_the_range) {
  const CustomRun run = Custom(0, 1, [](int index, double& value, bool& stop) {
    stop = index == 2;
    value = index == 0 ? -0.5e-7 : 1 + 0.5e-7;
  });
  EXPECT_EQ(run.values.size(), 2u);
}

TEST(label_sequence_test, custom_labels_stop_after_index_two_thousand) {
  const CustomRun run = Custom(0, 1, [](int, double& value, bool& stop) {
    stop = false;
    value = 0.5;
  });
  EXPECT_EQ(run.values.size(), 2001u);
  EXPECT_EQ(run.asked.back(), 2000);
}

}  // namespace
