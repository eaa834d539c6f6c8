#include "chart/axis_labels.h"

#include <vector>

#include <gtest/gtest.h>

#include "calendar_value.h"
#include "chart/axis.h"
#include "recording_canvas.h"
#include "recording_chart_host.h"
#include "rtl/date_time.h"
#include "rtl/number_format.h"

namespace {

// A labels font 13 pixels high whose characters are 6 pixels wide; remembers what it measured.
class FixedMeasure : public TLabelMeasure {
 public:
  int TextWidth(const rtl::Text& line) override {
    measured.push_back(line);
    return 6 * static_cast<int>(line.size());
  }
  int FontHeight() override { return 13; }
  std::vector<rtl::Text> measured;
};

class AxisLabelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    rtl::SetNumberSeparators(rtl::RussianNumberSeparators());
  }

  // The left axis fixed to minimum..maximum on a plot 200 pixels high.
  TCustomChartAxis& LeftAxis(double minimum, double maximum) {
    chart.plot_area = {10, 10, 210, 210};
    TCustomChartAxis& axis = chart.Axes().Left();
    axis.SetScaleRange(minimum, maximum);
    chart.UpdateAxes();
    return axis;
  }

  // The bottom axis as a date-time axis over first..last on a plot 800 pixels wide,
  // labels rotated by 90 degrees (13 pixels along the axis).
  TCustomChartAxis& DateAxis(double first, double last) {
    chart.plot_area = {0, 0, 800, 250};
    TCustomChartAxis& axis = chart.Axes().Bottom();
    axis.SetLabelsAngle(90);
    axis.SetScaleRange(first, last);
    chart.UpdateAxes();
    axis.SetIsDateTimeScale(true);
    return axis;
  }

  // Step, calendar index and label values as one axis drawing computes them.
  std::vector<double> LabelValues(TCustomChartAxis& axis, double* step_out = nullptr) {
    const double step = ComputeLabelStep(axis, measure);
    if (step_out != nullptr) *step_out = step;
    std::vector<double> values;
    EmitValueLabels(axis, step, CalendarStepIndex(axis, step), [&](double v) { values.push_back(v); });
    return values;
  }

  RecordingChartHost chart;
  FixedMeasure measure;
};

TEST_F(AxisLabelsTest, zero_to_eight_on_two_hundred_pixels_labels_every_unit) {
  TCustomChartAxis& axis = LeftAxis(0, 8);
  double step = 0;
  EXPECT_EQ(LabelValues(axis, &step), (std::vector<double>{8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(step, 1);
}

TEST_F(AxisLabelsTest, zero_to_sixty_five_labels_every_five) {
  TCustomChartAxis& axis = LeftAxis(0, 65);
  double step = 0;
  const std::vector<double> values = LabelValues(axis, &step);
  EXPECT_EQ(step, 5);
  ASSERT_EQ(values.size(), 14u);
  EXPECT_EQ(values.front(), 65);
  EXPECT_EQ(values.back(), 0);
}

TEST_F(AxisLabelsTest, the_canvas_measures_with_its_labels_font) {
  // 13-pixel lines: 0..65 on 200 pixels steps by 5, as with the fixed measure.
  TMeasuringCanvas canvas;
  EXPECT_EQ(ComputeLabelStep(LeftAxis(0, 65), canvas), 5);
  TCanvasLabelMeasure canvas_measure(canvas);
  EXPECT_EQ(canvas_measure.FontHeight(), 13);
  EXPECT_EQ(canvas_measure.TextWidth("65"), 14);
}

TEST_F(AxisLabelsTest, separation_zero_keeps_the_starting_step) {
  TCustomChartAxis& axis = LeftAxis(0, 65);
  axis.SetLabelsSeparation(0);
  EXPECT_EQ(ComputeLabelStep(axis, measure), 1);
  axis.SetIncrement(3);
  EXPECT_EQ(ComputeLabelStep(axis, measure), 3);
}

TEST_F(AxisLabelsTest, label_size_is_measured_on_the_minimum_and_maximum_labels) {
  TCustomChartAxis& axis = LeftAxis(0, 65);
  axis.SetLabelsAngle(90);  // vertical axis, text along it: the width counts
  ComputeLabelStep(axis, measure);
  EXPECT_EQ(measure.measured, (std::vector<rtl::Text>{"65", "0"}));
}

TEST_F(AxisLabelsTest, widest_label_along_a_horizontal_axis) {
  // Bottom axis 0..100000 on 200 pixels, unrotated text: "100 000" is 42 pixels, plus a gap
  // of 4: Nearest(200 / 46) = 4 labels; 20000 would give 5, so the step is 50000.
  chart.plot_area = {10, 10, 210, 210};
  TCustomChartAxis& axis = chart.Axes().Bottom();
  axis.SetScaleRange(0, 100000);
  chart.UpdateAxes();
  EXPECT_EQ(ComputeLabelStep(axis, measure), 50000);
}

TEST_F(AxisLabelsTest, multi_line_labels_stack_their_height) {
  // "8\rpcs": two lines of 13 pixels, 26 + 3 gap: Nearest(200 / 29) = 7 labels; 8 units need step 2.
  TCustomChartAxis& axis = LeftAxis(0, 8);
  axis.SetAxisValuesFormat("0 'pcs'");
  axis.SetLabelsMultiLine(true);
  EXPECT_EQ(FormatAxisLabel(axis, 8), "8\rpcs");
  EXPECT_EQ(ComputeLabelStep(axis, measure), 2);
}

TEST_F(AxisLabelsTest, two_days_of_dates_step_by_the_hour) {
  const double first = At(2026, 12, 6, 9.25);
  const double last = At(2026, 12, 8, 9.25);
  TCustomChartAxis& axis = DateAxis(first, last);
  double step = 0;
  const std::vector<double> values = LabelValues(axis, &step);
  EXPECT_DOUBLE_EQ(step, 1.0 / 24);
  EXPECT_EQ(CalendarStepIndex(axis, step), dtNone);  // Increment 0: plain subtraction
  ASSERT_EQ(values.size(), 48u);
  EXPECT_NEAR(values.front(), At(2026, 12, 8, 9), 1e-9);
  EXPECT_NEAR(values.back(), At(2026, 12, 6, 10), 1e-9);
}

TEST_F(AxisLabelsTest, increment_of_one_day_labels_each_midnight) {
  TCustomChartAxis& axis = DateAxis(At(2026, 11, 28, 6), At(2026, 12, 2, 15));
  axis.SetIncrement(1);
  double step = 0;
  const std::vector<double> values = LabelValues(axis, &step);
  EXPECT_EQ(CalendarStepIndex(axis, step), dtOneDay);
  EXPECT_EQ(values, (std::vector<double>{At(2026, 12, 2), At(2026, 12, 1), At(2026, 11, 30), At(2026, 11, 29)}));
}

TEST_F(AxisLabelsTest, increment_of_a_month_labels_the_firsts_across_the_year_end) {
  TCustomChartAxis& axis = DateAxis(At(2025, 10, 20), At(2026, 2, 10, 12));
  axis.SetIncrement(30);
  double step = 0;
  const std::vector<double> values = LabelValues(axis, &step);
  EXPECT_EQ(CalendarStepIndex(axis, step), dtOneMonth);
  EXPECT_EQ(values, (std::vector<double>{At(2026, 2, 1), At(2026, 1, 1), At(2025, 12, 1), At(2025, 11, 1)}));
  axis.SetDateTimeFormat("dd.MM.yyyy");
  EXPECT_EQ(FormatAxisLabel(axis, values[2]), "01.12.2025");
}

TEST_F(AxisLabelsTest, empty_series_give_one_label_at_zero) {
  TCustomChartAxis& axis = chart.Axes().Left();
  chart.UpdateAxes();
  double step = 0;
  const std::vector<double> values = LabelValues(axis, &step);
  EXPECT_EQ(step, 1e-12);
  ASSERT_EQ(values, (std::vector<double>{0}));
  EXPECT_EQ(FormatAxisLabel(axis, values[0]), "0");
}

TEST_F(AxisLabelsTest, emptied_date_time_series_label_the_epoch) {
  TCustomChartAxis& axis = chart.Axes().Bottom();
  chart.UpdateAxes();
  axis.SetIsDateTimeScale(true);
  axis.SetDateTimeFormat("dd.MM.yyyy");
  const std::vector<double> values = LabelValues(axis);
  ASSERT_EQ(values, (std::vector<double>{0}));
  EXPECT_EQ(FormatAxisLabel(axis, 0), "30.12.1899");
}

TEST_F(AxisLabelsTest, date_time_labels_follow_the_range) {
  TCustomChartAxis& axis = DateAxis(At(2026, 12, 6), At(2026, 12, 8));
  EXPECT_EQ(FormatAxisLabel(axis, At(2026, 12, 7, 13.5)), "07.12.2026");  // more than a day: short date
  axis.SetScaleRange(At(2026, 12, 7), At(2026, 12, 7, 20));
  chart.UpdateAxes();
  EXPECT_EQ(FormatAxisLabel(axis, At(2026, 12, 7, 13.5)), "13:30");  // a day or less: short time
  axis.SetDateTimeFormat("yyyy");
  EXPECT_EQ(FormatAxisLabel(axis, At(2026, 12, 7, 13.5)), "2026");
}

TEST_F(AxisLabelsTest, negative_and_far_date_times_have_no_label) {
  TCustomChartAxis& axis = DateAxis(0, 10);
  EXPECT_EQ(FormatAxisLabel(axis, -0.5), "");
  EXPECT_EQ(FormatAxisLabel(axis, 1e9), "");
}

TEST_F(AxisLabelsTest, numbers_use_the_regional_separators) {
  TCustomChartAxis& axis = LeftAxis(0, 8);
  EXPECT_EQ(FormatAxisLabel(axis, 1234.5), "1\xA0" "234,5");
  EXPECT_EQ(FormatAxisLabel(axis, 0.12345), "0,123");
}

TEST_F(AxisLabelsTest, the_panel_handler_may_replace_the_text) {
  TCustomChartAxis& axis = LeftAxis(0, 8);
  std::vector<int> indices;
  chart.on_get_axis_label = [&](TCustomChartAxis& sender, TChartSeries* series, int index, rtl::Text& text) {
    EXPECT_EQ(&sender, &axis);
    EXPECT_EQ(series, nullptr);
    indices.push_back(index);
    text = "<" + text + " units>";
  };
  EXPECT_EQ(FormatAxisLabel(axis, 5), "<5 units>");
  EXPECT_EQ(indices, (std::vector<int>{-1}));
  EXPECT_EQ(FormatAxisLabel(axis, 5, TLabelHandler::Skip), "5");
  axis.SetLabelsMultiLine(true);  // the handler's blanks break lines too
  EXPECT_EQ(FormatAxisLabel(axis, 5), "<5\runits>");
}

TEST_F(AxisLabelsTest, label_lines_count_pieces_and_a_non_empty_rest) {
  struct Case {
    const char* text;
    int width;
    int count;
  };
  const Case cases[] = {
      {"", 0, 1}, {"abc", 18, 1}, {"a\rbcd", 18, 2}, {"ab\r", 12, 1}, {"\r\r", 0, 2}, {"a\r\rbb", 12, 3},
  };
  for (const Case& c : cases) {
    const TLabelLines lines = MeasureLabelLines(c.text, measure);
    EXPECT_EQ(lines.Width, c.width) << c.text;
    EXPECT_EQ(lines.Count, c.count) << c.text;
  }
}

TEST_F(AxisLabelsTest, the_next_label_handler_supplies_the_values) {
  TCustomChartAxis& axis = LeftAxis(0, 8);
  chart.on_get_next_axis_label = [&](TCustomChartAxis& sender, int index, double& value, bool& stop) {
    EXPECT_EQ(&sender, &axis);
    stop = index == 3;
    value = index * 3.0;
  };
  EXPECT_EQ(LabelValues(axis), (std::vector<double>{0, 3, 6}));
}

TEST_F(AxisLabelsTest, a_declining_next_label_handler_leaves_the_normal_labels) {
  TCustomChartAxis& axis = LeftAxis(0, 8);
  int calls = 0;
  chart.on_get_next_axis_label = [&](TCustomChartAxis&, int, double&, bool&) { ++calls; };
  EXPECT_EQ(LabelValues(axis).size(), 9u);
  EXPECT_EQ(calls, 1);
}

TEST_F(AxisLabelsTest, logarithmic_labels_replace_a_zero_minimum_for_the_paint) {
  TCustomChartAxis& axis = LeftAxis(0, 1000);
  axis.SetLogarithmic(true);
  const std::vector<double> values = LabelValues(axis);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values.front(), 0.1);
  EXPECT_NEAR(values.back(), 1000, 1e-9);
  EXPECT_EQ(axis.ScaleMinimum(), 0.1);
}

TEST_F(AxisLabelsTest, logarithmic_axis_with_an_increment_steps_linearly) {
  TCustomChartAxis& axis = LeftAxis(1, 8);
  axis.SetLogarithmic(true);
  axis.SetIncrement(1);
  EXPECT_EQ(LabelValues(axis), (std::vector<double>{8, 7, 6, 5, 4, 3, 2, 1}));
}

}  // namespace
