#include "chart/axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "chart/chart_exceptions.h"
#include "chart/rounding.h"
#include "recording_chart_host.h"

namespace {

template <class E>
void ExpectThrowText(const std::function<void()>& call, const char* text) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected " << text;
  } catch (const E& error) {
    EXPECT_STREQ(error.what(), text);
  }
}

// A vertical axis 0..8 whose pixel span is 10..210 (the left axis of a 200-pixel plot).
struct left_axis_test : ::testing::Test {
  void SetUp() override {
    chart.plot_area = {10, 10, 210, 210};
    left().SetScaleRange(0, 8);
    chart.UpdateAxes();
  }
  TCustomChartAxis& left() { return chart.Axes().Left(); }
  RecordingChartHost chart;
};

TEST(axis_test, the_five_axes_take_their_order_sides_visibility_and_title_angles) {
  RecordingChartHost chart;
  struct Row {
    TCustomChartAxis* axis;
    bool horizontal, opposite, depth, visible;
    int titleAngle;
  };
  TChartAxes& axes = chart.Axes();
  const Row rows[] = {
      {&axes.Bottom(), true, false, false, true, 0}, {&axes.Top(), true, true, false, true, 0},
      {&axes.Left(), false, false, false, true, 90}, {&axes.Right(), false, true, false, true, 270},
      {&axes.Depth(), false, true, true, false, 0},
  };
  ASSERT_EQ(axes.List().size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    const Row& row = rows[i];
    EXPECT_EQ(axes.List()[i], row.axis);
    EXPECT_EQ(row.axis->IsHorizontal(), row.horizontal) << i;
    EXPECT_EQ(row.axis->IsOppositeSide(), row.opposite) << i;
    EXPECT_EQ(row.axis->IsDepth(), row.depth) << i;
    EXPECT_EQ(row.axis->Visible(), row.visible) << i;
    EXPECT_EQ(row.axis->Title().Angle(), row.titleAngle) << i;
    EXPECT_EQ(row.axis->DefaultTitleAngle(), row.titleAngle) << i;
  }
}

TEST(axis_test, a_new_axis_starts_automatic_with_its_published_settings) {
  TChartAxis axis(nullptr, true, false, 0);
  EXPECT_TRUE(axis.Automatic() && axis.AutomaticMinimum() && axis.AutomaticMaximum());
  EXPECT_EQ(axis.Minimum(), 0);
  EXPECT_EQ(axis.Maximum(), 0);
  EXPECT_EQ(axis.Increment(), 0);
  EXPECT_FALSE(axis.Logarithmic());
  EXPECT_EQ(axis.LogarithmicBase(), 10);
  EXPECT_EQ(axis.EndPosition(), 100);
  EXPECT_TRUE(axis.ExactDateTime() && axis.RoundFirstLabel());
  EXPECT_EQ(axis.AxisValuesFormat(), "#,##0.###");
  EXPECT_EQ(axis.DateTimeFormat(), "");
  EXPECT_EQ(axis.LabelsSeparation(), 10);
  EXPECT_EQ(axis.LabelStyle(), talAuto);
  EXPECT_EQ(axis.Axis().Width(), 2);
  EXPECT_EQ(axis.Ticks().Color(), clGray);
  EXPECT_EQ(axis.Grid().Style(), psDot);
  EXPECT_FALSE(axis.MinorGrid().Visible());
  EXPECT_EQ(axis.TickLength(), 4);
  EXPECT_EQ(axis.MinorTickCount(), 3);
  EXPECT_EQ(axis.MinorTickLength(), 2);
  EXPECT_TRUE(axis.TickOnLabelsOnly());
  EXPECT_EQ(axis.LabelsFont().Name(), "Arial");
  EXPECT_EQ(axis.LabelsFont().Size(), 8);
}

// --- setters -------------------------------------------------------------------------------

TEST(axis_test, refused_values_raise_the_fixed_texts_and_keep_the_old_value) {
  RecordingChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Left();
  axis.SetMaximum(5);
  const int requests = chart.invalidations;
  ExpectThrowText<AxisException>([&] { axis.SetMinimum(10); }, "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(axis.Minimum(), 0);
  ExpectThrowText<AxisException>([&] { axis.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(axis.Maximum(), 5);
  ExpectThrowText<AxisException>([&] { axis.SetMinimum(NAN); }, "Axis Minimum Value must be <= Maximum");
  ExpectThrowText<AxisException>([&] { axis.SetIncrement(-0.5); }, "Axis increment must be >= 0");
  ExpectThrowText<AxisException>([&] { axis.SetIncrement(NAN); }, "Axis increment must be >= 0");
  EXPECT_EQ(axis.Increment(), 0);
  ExpectThrowText<AxisException>([&] { axis.SetLabelsSeparation(-1); }, "Labels Separation % must be greater than 0");
  EXPECT_EQ(axis.LabelsSeparation(), 10);
  ExpectThrowText<AxisException>([&] { axis.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2");
  EXPECT_EQ(axis.LogarithmicBase(), 10);
  ExpectThrowText<ChartException>([&] { axis.SetLabelsAngle(360); }, "Axis Labels Angle must be between 0 and 359 degrees");
  ExpectThrowText<ChartException>([&] { axis.SetLabelsAngle(-1); }, "Axis Labels Angle must be between 0 and 359 degrees");
  EXPECT_EQ(axis.LabelsAngle(), 0);
  ExpectThrowText<ChartException>([&] { axis.Title().SetAngle(400); }, "Axis Title Angle must be between 0 and 359 degrees");
  EXPECT_EQ(axis.Title().Angle(), 90);
  EXPECT_EQ(chart.invalidations, requests);
}

TEST(axis_test, boundary_values_are_accepted) {
  RecordingChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Bottom();
  axis.SetLabelsSeparation(0);
  axis.SetLabelsAngle(359);
  axis.SetLogarithmicBase(2);
  axis.SetMinimum(0);  // equal to Maximum
  EXPECT_EQ(axis.LabelsSeparation(), 0);
  EXPECT_EQ(axis.LabelsAngle(), 359);
  EXPECT_EQ(axis.LogarithmicBase(), 2);
}

TEST(axis_test, range_checks_are_skipped_while_loading) {
  RecordingChartHost chart;
  chart.loading = true;
  TCustomChartAxis& axis = chart.Axes().Left();
  axis.SetMinimum(10);
  EXPECT_EQ(axis.Minimum(), 10);
  axis.SetAutomatic(false);  // loading: the two flags arrive on their own
  EXPECT_TRUE(axis.AutomaticMinimum());
}

TEST(axis_test, setters_repaint_only_on_change) {
  RecordingChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Bottom();
  int requests = chart.invalidations;
  axis.SetInverted(false);
  axis.SetDateTimeFormat("");
  axis.SetLabelsAngle(0);
  axis.Grid().SetVisible(true);
  EXPECT_EQ(chart.invalidations, requests);
  axis.SetDateTimeFormat("dd.MM.yyyy");
  axis.SetLabelsAngle(90);
  axis.Grid().SetVisible(false);
  axis.LabelsFont().SetSize(10);
  axis.Title().SetCaption("t");
  EXPECT_EQ(chart.invalidations, requests + 5);
  EXPECT_EQ(chart.refreshes, 0);
  axis.SetLabelStyle(talText);  // repaints at once
  EXPECT_EQ(chart.refreshes, 1);
}

struct FlagCase {
  const char* step;
  std::function<void(TCustomChartAxis&)> action;
  bool automatic, minimum, maximum;
};

TEST(axis_test, automatic_sets_both_bounds_and_holds_only_while_both_do) {
  RecordingChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Left();
  const FlagCase steps[] = {
      {"max off", [](TCustomChartAxis& a) { a.SetAutomaticMaximum(false); }, false, true, false},
      {"max on", [](TCustomChartAxis& a) { a.SetAutomaticMaximum(true); }, true, true, true},
      {"min off", [](TCustomChartAxis& a) { a.SetAutomaticMinimum(false); }, false, false, true},
      {"max off", [](TCustomChartAxis& a) { a.SetAutomaticMaximum(false); }, false, false, false},
      {"max on, min still off", [](TCustomChartAxis& a) { a.SetAutomaticMaximum(true); }, false, false, true},
      {"automatic on", [](TCustomChartAxis& a) { a.SetAutomatic(true); }, true, true, true},
      {"automatic off", [](TCustomChartAxis& a) { a.SetAutomatic(false); }, false, false, false},
      {"minimum keeps flags", [](TCustomChartAxis& a) { a.SetMaximum(3); }, false, false, false},
  };
  for (const FlagCase& s : steps) {
    s.action(axis);
    EXPECT_EQ(axis.Automatic(), s.automatic) << s.step;
    EXPECT_EQ(axis.AutomaticMinimum(), s.minimum) << s.step;
    EXPECT_EQ(axis.AutomaticMaximum(), s.maximum) << s.step;
  }
}

TEST(axis_test, the_history_charts_setting_sequence_gives_a_fixed_range) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(1, 12);
  TCustomChartAxis& axis = chart.Axes().Left();
  chart.UpdateAxes();  // last automatic range 12..12
  axis.SetMinimum(0);
  axis.SetMaximum(60);
  axis.SetAutomatic(false);
  axis.SetMaximum(12 + 5);
  chart.UpdateAxes();
  EXPECT_EQ(axis.ScaleMinimum(), 0);
  EXPECT_EQ(axis.ScaleMaximum(), 17);
}

// --- scale -------------------------------------------------------------------------------------

TEST(axis_test, the_automatic_scale_spans_the_active_series_on_the_axis) {
  RecordingChartHost chart;
  TChartSeries a;
  TChartSeries b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  a.AddPoint(5, -2);
  a.AddPoint(9, 4);
  b.AddPoint(3, 1);
  chart.UpdateAxes();
  EXPECT_EQ(chart.Axes().Bottom().ScaleMinimum(), 3);
  EXPECT_EQ(chart.Axes().Bottom().ScaleMaximum(), 9);
  EXPECT_EQ(chart.Axes().Left().ScaleMinimum(), -2);
  EXPECT_EQ(chart.Axes().Left().ScaleRange(), 6);
  EXPECT_EQ(chart.Axes().Top().ScaleRange(), 0);  // no series uses it
  b.SetActive(false);                              // inactive series do not count
  chart.UpdateAxes();
  EXPECT_EQ(chart.Axes().Bottom().ScaleMinimum(), 5);
}

TEST(axis_test, inactive_series_count_when_no_active_series_uses_the_axis) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(4, 7);
  series.SetActive(false);
  chart.UpdateAxes();
  EXPECT_EQ(chart.Axes().Left().ScaleMaximum(), 7);
}

TEST(axis_test, no_points_map_to_the_centre_and_one_point_is_both_bounds) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  chart.UpdateAxes();
  TCustomChartAxis& left = chart.Axes().Left();
  EXPECT_EQ(left.ScaleRange(), 0);
  EXPECT_EQ(left.ValueToPixel(123), left.CenterPixel());
  series.AddPoint(2, 6);
  chart.UpdateAxes();
  EXPECT_EQ(left.Minimum(), 6);
  EXPECT_EQ(left.Maximum(), 6);
  EXPECT_EQ(left.ValueToPixel(6), 110);
}

TEST(axis_test, a_page_of_points_sets_the_range_of_that_page) {
  struct PageCase {
    int perPage, page, count;
    bool scaleLastPage;
    double minimum, maximum;
  };
  const PageCase cases[] = {
      {10, 1, 25, true, 0, 9},
      {10, 3, 25, true, 20, 24},
      {10, 3, 25, false, 20, 20 + 4.0 * 10 / 5},
      {10, 9, 25, true, 10, 19},  // beyond the last page
      {10, 2, 5, true, 0, 4},
  };
  for (const PageCase& c : cases) {
    RecordingChartHost chart;
    TChartSeries series;
    series.SetParentChart(&chart);
    for (int i = 0; i < c.count; ++i) series.AddPoint(i, 100 + i);
    chart.max_points_per_page = c.perPage;
    chart.page = c.page;
    chart.scale_last_page = c.scaleLastPage;
    const TCustomChartAxis& bottom = chart.Axes().Bottom();
    EXPECT_EQ(SeriesValueRange(chart, bottom, true, true), c.minimum) << c.page;
    EXPECT_EQ(SeriesValueRange(chart, bottom, false, true), c.maximum) << c.page;
    // Paging is along X only; Y stays over all points.
    EXPECT_EQ(SeriesValueRange(chart, chart.Axes().Left(), false, false), 100 + c.count - 1);
  }
}

TEST(axis_test, the_pixel_span_follows_the_plot_area_and_the_positions) {
  RecordingChartHost chart;
  chart.plot_area = {25, 10, 792, 240};
  TCustomChartAxis& bottom = chart.Axes().Bottom();
  bottom.UpdatePixelSpan();
  EXPECT_EQ(bottom.StartPixel(), 25);
  EXPECT_EQ(bottom.EndPixel(), 792);
  EXPECT_EQ(bottom.AxisLength(), 767);
  EXPECT_EQ(bottom.CenterPixel(), 408);
  bottom.SetStartPosition(10);  // 76.7 -> 77
  bottom.SetEndPosition(50);    // 383.5 -> 384
  bottom.UpdatePixelSpan();
  EXPECT_EQ(bottom.StartPixel(), 102);
  EXPECT_EQ(bottom.EndPixel(), 409);
  TCustomChartAxis& left = chart.Axes().Left();
  left.UpdatePixelSpan();
  EXPECT_EQ(left.StartPixel(), 10);
  EXPECT_EQ(left.EndPixel(), 240);
}

TEST_F(left_axis_test, values_map_to_pixels_and_back_also_inverted) {
  EXPECT_EQ(left().StartPixel(), 10);
  EXPECT_EQ(left().EndPixel(), 210);
  EXPECT_EQ(left().ValueToPixel(8), 10);
  EXPECT_EQ(left().ValueToPixel(0), 210);
  EXPECT_EQ(left().ValueToPixel(3), 135);
  EXPECT_EQ(left().PixelToValue(110), 4);
  left().SetInverted(true);
  EXPECT_EQ(left().ValueToPixel(8), 210);
  EXPECT_EQ(left().ValueToPixel(0), 10);
  EXPECT_EQ(left().PixelToValue(110), 4);
  EXPECT_EQ(left().PixelToValue(60), 2);
}

TEST_F(left_axis_test, mapping_rounds_halves_to_even) {
  // 0..400 over 200 pixels: 5 is 2.5 pixels up (210 - 2), 15 is 7.5 pixels up (210 - 8).
  left().SetScaleRange(0, 400);
  chart.UpdateAxes();
  EXPECT_EQ(left().ValueToPixel(5), 208);
  EXPECT_EQ(left().ValueToPixel(15), 202);
  EXPECT_EQ(left().ValueToPixel(-5), 212);
}

TEST_F(left_axis_test, far_values_map_to_the_centre) {
  left().SetScaleRange(0, 1e-9);
  chart.UpdateAxes();
  EXPECT_EQ(left().ValueToPixel(100), left().CenterPixel());
  EXPECT_EQ(left().ValueToPixel(NAN), left().CenterPixel());
  EXPECT_NE(left().ValueToPixel(0), left().CenterPixel());
}

TEST(axis_test, a_horizontal_axis_maps_values_beyond_its_guard_to_the_centre) {
  RecordingChartHost chart;
  TCustomChartAxis& bottom = chart.Axes().Bottom();
  bottom.SetScaleRange(0, 1);
  chart.UpdateAxes();
  // 10^8 * 200 pixels is beyond the guard; 10^7 pixels is not.
  EXPECT_EQ(bottom.ValueToPixel(1e8), bottom.CenterPixel());
  EXPECT_EQ(bottom.ValueToPixel(-1e8), bottom.CenterPixel());
  EXPECT_EQ(bottom.ValueToPixel(5e4), 10 + 10000000);
}

// An offset just inside the guard still leaves the 32-bit range once the end pixel it counts
// from is added: such a value goes to the centre like one beyond the guard, and a pixel that
// just fits is kept. Plot 10..210 on both axes, scale 0..200: the offset equals the value.
TEST(axis_test, pixels_beyond_the_int_range_map_to_the_centre) {
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  struct Case {
    bool horizontal, inverted;
    double value;
    int pixel;  // 0: the centre
  };
  const Case cases[] = {
      {true, false, kMax - 10.0, kMax},        {true, false, kMax - 9.0, 0},   {true, false, kMax - 1.0, 0},
      {true, false, -(kMax - 1.0), kMin + 12}, {true, true, -(kMax - 210.0), kMax},
      {true, true, -(kMax - 209.0), 0},        {true, true, kMax - 1.0, 210 - (kMax - 1)},
      {false, false, -(kMax - 210.0), kMax},   {false, false, -(kMax - 209.0), 0},
      {false, false, kMax - 1.0, 210 - (kMax - 1)}, {false, true, kMax - 10.0, kMax},
      {false, true, kMax - 9.0, 0},            {false, true, -(kMax - 1.0), kMin + 12},
  };
  for (const Case& c : cases) {
    RecordingChartHost chart;
    TCustomChartAxis& axis = c.horizontal ? static_cast<TCustomChartAxis&>(chart.Axes().Bottom()) : chart.Axes().Left();
    axis.SetScaleRange(0, 200);
    axis.SetInverted(c.inverted);
    chart.UpdateAxes();
    const int expected = c.pixel == 0 ? axis.CenterPixel() : c.pixel;
    EXPECT_EQ(axis.ValueToPixel(c.value), expected) << c.horizontal << c.inverted << " " << c.value;
    // The mapping object handed out for many points says the same.
    const TAxisPixelMapping mapping = axis.LinearPixelMapping(c.horizontal);
    EXPECT_EQ(mapping(c.value), expected);
    EXPECT_EQ(mapping.MapsInOrder(c.value), c.pixel != 0);
  }
}

TEST(axis_test, logarithmic_pixels_beyond_the_int_range_map_to_the_centre) {
  RecordingChartHost chart;
  for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(&chart.Axes().Bottom()),
                                 static_cast<TCustomChartAxis*>(&chart.Axes().Left())}) {
    axis->SetScaleRange(1, 1 + 1e-7);
    axis->SetLogarithmic(true);
  }
  chart.UpdateAxes();
  // An offset of about 2147483645 pixels: from StartPixel 10 it overflows, from EndPixel 210
  // upward it does not.
  const double span = std::log(chart.Axes().Left().ScaleMaximum());
  const double value = std::exp(2147483645.0 * span / 200);
  EXPECT_EQ(chart.Axes().Bottom().ValueToPixel(value), chart.Axes().Bottom().CenterPixel());
  EXPECT_EQ(chart.Axes().Left().ValueToPixel(value), 210 - 2147483645);
}

TEST(axis_test, short_axis_maps_pixels_to_zero) {
  RecordingChartHost chart;
  chart.plot_area = {10, 10, 10, 10};
  TCustomChartAxis& bottom = chart.Axes().Bottom();
  bottom.SetScaleRange(5, 9);
  chart.UpdateAxes();
  EXPECT_EQ(bottom.PixelToValue(10), 0);
}

TEST(axis_test, the_depth_axis_maps_over_the_charts_depth) {
  RecordingChartHost chart;
  chart.depth3d = 40;
  TCustomChartAxis& depth = chart.Axes().Depth();
  depth.SetScaleRange(0, 4);
  chart.UpdateAxes();
  EXPECT_EQ(depth.ValueToPixel(1), 10);
  depth.SetInverted(true);
  EXPECT_EQ(depth.ValueToPixel(1), 30);
  depth.SetScaleRange(2, 2);
  chart.UpdateAxes();
  EXPECT_EQ(depth.ValueToPixel(2), 40);  // inverted: the minimum lies at the far end
  EXPECT_EQ(depth.ValueToPixel(7), 20);  // range 1e-10: far beyond the guard, the middle
}

TEST(axis_test, logarithmic_axes_map_values_to_pixels_and_back) {
  RecordingChartHost chart;
  TCustomChartAxis& bottom = chart.Axes().Bottom();
  TCustomChartAxis& left = chart.Axes().Left();
  bottom.SetScaleRange(1, 100);
  left.SetScaleRange(1, 100);
  bottom.SetLogarithmic(true);
  left.SetLogarithmic(true);
  chart.UpdateAxes();
  EXPECT_EQ(bottom.ValueToPixel(10), 110);
  EXPECT_EQ(bottom.ValueToPixel(100), 210);
  EXPECT_EQ(bottom.ValueToPixel(0), 10);
  EXPECT_EQ(left.ValueToPixel(10), 110);
  EXPECT_EQ(left.ValueToPixel(-1), 210);
  EXPECT_NEAR(bottom.PixelToValue(110), 10, 1e-9);
  EXPECT_EQ(bottom.PixelToValue(10), 1);
  EXPECT_EQ(bottom.PixelToValue(210), 100);
  EXPECT_EQ(left.PixelToValue(10), 100);
  EXPECT_NEAR(left.PixelToValue(60), std::sqrt(1000.0), 1e-9);
  bottom.SetInverted(true);
  EXPECT_EQ(bottom.ValueToPixel(100), 10);
  EXPECT_EQ(bottom.ValueToPixel(0), 210);
  EXPECT_EQ(bottom.PixelToValue(10), 100);
  EXPECT_NEAR(bottom.PixelToValue(60), std::sqrt(1000.0), 1e-9);
}

TEST(axis_test, a_date_time_or_negative_axis_refuses_to_become_logarithmic) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.XValues().SetDateTime(true);
  series.AddPoint(40000, -3);
  ExpectThrowText<AxisException>([&] { chart.Axes().Bottom().SetLogarithmic(true); },
                                  "DateTime Axis cannot be Logarithmic");
  EXPECT_FALSE(chart.Axes().Bottom().Logarithmic());
  ExpectThrowText<AxisException>([&] { chart.Axes().Left().SetLogarithmic(true); },
                                  "Logarithmic Axis Min and Max values should be >= 0");
  EXPECT_FALSE(chart.Axes().Left().Logarithmic());
  series.YValues().StoreValueAt(0, 0);
  chart.Axes().Left().SetLogarithmic(true);
  EXPECT_TRUE(chart.Axes().Left().Logarithmic());
}

TEST(axis_test, date_time_detection_by_first_active_bound_series) {
  RecordingChartHost chart;
  TChartSeries first;
  TChartSeries second;
  first.SetParentChart(&chart);
  second.SetParentChart(&chart);
  second.XValues().SetDateTime(true);
  EXPECT_FALSE(chart.Axes().Bottom().IsDateTimeAxis());
  first.SetActive(false);
  EXPECT_TRUE(chart.Axes().Bottom().IsDateTimeAxis());
  EXPECT_FALSE(chart.Axes().Left().IsDateTimeAxis());
  EXPECT_FALSE(chart.Axes().Top().IsDateTimeAxis());
}

TEST(axis_test, the_automatic_label_style_follows_the_series_on_the_axis) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  EXPECT_EQ(chart.Axes().Top().ResolveLabelStyle(), talNone);
  EXPECT_EQ(chart.Axes().Bottom().ResolveLabelStyle(), talValue);
  series.AddPoint(1, 1, "08.12.2026");
  EXPECT_EQ(chart.Axes().Bottom().ResolveLabelStyle(), talText);
  EXPECT_EQ(chart.Axes().Left().ResolveLabelStyle(), talValue);
  chart.Axes().Bottom().SetLabelStyle(talNone);
  EXPECT_EQ(chart.Axes().Bottom().ResolveLabelStyle(), talNone);
}

// --- margins, scale range, shift -----------------------------------------------------------------

TEST_F(left_axis_test, pixel_margins_widen_the_range) {
  // 20 pixels off each end of 200: 8 units over 160 pixels, so the ends read 1 unit further.
  left().ApplyPixelMargins(20, 20);
  EXPECT_EQ(left().StartPixel(), 10);
  EXPECT_EQ(left().EndPixel(), 210);
  EXPECT_DOUBLE_EQ(left().ScaleMinimum(), -1);
  EXPECT_DOUBLE_EQ(left().ScaleMaximum(), 9);
  EXPECT_DOUBLE_EQ(left().ScaleRange(), 10);
  EXPECT_EQ(left().ValueToPixel(8), 30);
}

TEST_F(left_axis_test, zero_margins_keep_the_range) {
  left().ApplySeriesMargins();
  EXPECT_EQ(left().ScaleMinimum(), 0);
  EXPECT_EQ(left().ScaleMaximum(), 8);
}

TEST(axis_test, set_scale_range_orders_and_keeps_a_minimal_span) {
  RecordingChartHost chart;
  TCustomChartAxis& axis = chart.Axes().Left();
  axis.SetScaleRange(10, 5);
  EXPECT_EQ(axis.Minimum(), 5);
  EXPECT_EQ(axis.Maximum(), 10);
  EXPECT_FALSE(axis.Automatic() || axis.AutomaticMinimum() || axis.AutomaticMaximum());
  axis.SetScaleRange(3, 3);
  EXPECT_EQ(axis.Minimum(), 3);
  EXPECT_EQ(axis.Maximum(), 3 + 1e-10);
}

TEST(axis_test, a_shift_stays_within_the_data_and_repaints_only_on_change) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(0, 0);
  series.AddPoint(1, 20);
  TCustomChartAxis& left = chart.Axes().Left();
  left.SetScaleRange(0, 10);
  const int refreshes = chart.refreshes;
  left.ShiftRange(0, true);
  left.ShiftRange(-2, true);  // no data below 0
  EXPECT_EQ(left.Minimum(), 0);
  EXPECT_EQ(chart.refreshes, refreshes);
  left.ShiftRange(3, true);  // data up to 20 lies above 10
  EXPECT_EQ(left.Minimum(), 3);
  EXPECT_EQ(left.Maximum(), 13);
  EXPECT_EQ(chart.refreshes, refreshes + 1);
  left.SetAutomatic(true);
  left.ShiftRange(-100, false);
  EXPECT_FALSE(left.Automatic() || left.AutomaticMinimum());
  EXPECT_EQ(left.Maximum(), -87);
}

TEST(axis_test, assigning_copies_the_published_settings_but_not_the_side) {
  RecordingChartHost chart;
  TCustomChartAxis& source = chart.Axes().Left();
  source.SetInverted(true);
  source.SetLabelsAngle(45);
  source.Title().SetCaption("users");
  source.Grid().SetColor(clRed);
  TCustomChartAxis& target = chart.Axes().Bottom();
  target.Assign(source);
  EXPECT_TRUE(target.Inverted());
  EXPECT_EQ(target.LabelsAngle(), 45);
  EXPECT_EQ(target.Title().Caption(), "users");
  EXPECT_EQ(target.Title().Angle(), 90);
  EXPECT_EQ(&target.Title().Axis(), &target);
  EXPECT_EQ(target.Grid().Color(), clRed);
  EXPECT_FALSE(target.IsHorizontal());
}

// --- rounding ------------------------------------------------------------------------------------

TEST(axis_test, rounding_takes_halves_to_even_and_muldiv_rounds_away_from_zero) {
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(3.5), 4);
  EXPECT_EQ(Nearest(-2.5), -2);
  EXPECT_EQ(Nearest(75.0), 75);
  EXPECT_EQ(Nearest(1e30), 2147483647);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(gdi::MulDiv(3, 817, 100), 25);
  EXPECT_EQ(gdi::MulDiv(4, 250, 100), 10);
  EXPECT_EQ(gdi::MulDiv(1, 5, 2), 3);
  EXPECT_EQ(gdi::MulDiv(-1, 5, 2), -3);
  EXPECT_EQ(gdi::MulDiv(1, 5, -2), -3);
  EXPECT_EQ(gdi::MulDiv(1, 1, 0), -1);
  EXPECT_EQ(gdi::MulDiv(2147483647, 2, 1), -1);
}

}  // namespace
