#include "chart/series.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "chart/chart_exceptions.h"
#include "recording_chart_host.h"
#include "rtl/errors.h"
#include "rtl/number_format.h"

namespace {

struct Point {
  double x, y;
  rtl::Text label;
  TColor color;
  friend bool operator==(const Point&, const Point&) = default;
};

std::vector<Point> Points(const TChartSeries& series) {
  std::vector<Point> points;
  for (int i = 0; i < series.PointCount(); ++i)
    points.push_back({series.PointX(i), series.PointY(i), series.PointLabel(i), series.PointColor(i)});
  return points;
}

template <class E, class F>
void ExpectThrowText(F&& call, const char* text) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected " << text;
  } catch (const E& error) {
    EXPECT_STREQ(error.what(), text);
  }
}

// A series that draws by recording the indexes it was asked for.
class RecordingSeries : public TChartSeries {
 public:
  explicit RecordingSeries(bool drawBetweenPoints = false) { draw_between_points_ = drawBetweenPoints; }
  void DrawPoint(int index) override { drawn.push_back(index); }
  std::vector<int> drawn;
};

TEST(series_test, ordered_inserts_carry_y_colour_and_label_along) {
  TChartSeries series;
  EXPECT_EQ(series.AddPoint(5, 50, "five", 0x05), 0);
  EXPECT_EQ(series.AddPoint(3, 30, "three", 0x03), 0);
  EXPECT_EQ(series.AddPoint(4, 40, "", 0x04), 1);
  EXPECT_EQ(series.AddPoint(3, 31, "three again", 0x13), 1);
  const std::vector<Point> expected = {
      {3, 30, "three", 0x03}, {3, 31, "three again", 0x13}, {4, 40, "", 0x04}, {5, 50, "five", 0x05}};
  EXPECT_EQ(Points(series), expected);
}

TEST(series_test, vetoed_add_stores_and_notifies_nothing) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(1, 1);
  int afterAdds = 0;
  series.OnAfterAdd = [&](TChartSeries&, int) { ++afterAdds; };
  series.OnBeforeAdd = [](TChartSeries& sender) { return sender.PointCount() < 1; };
  const int requests = chart.invalidations;
  EXPECT_EQ(series.AddPoint(2, 2, "x"), -1);
  EXPECT_EQ(series.PointCount(), 1);
  EXPECT_EQ(series.LabelCount(), 1);
  EXPECT_EQ(series.ColorCount(), 1);
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(chart.invalidations, requests);
  EXPECT_EQ(series.XValues().PendingValue(), 2);  // the staged values stay
}

TEST(series_test, each_add_fires_after_add_and_requests_one_repaint) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  std::vector<int> added;
  series.OnAfterAdd = [&](TChartSeries& sender, int index) {
    EXPECT_EQ(&sender, &series);
    added.push_back(index);
  };
  const int requests = chart.invalidations;
  series.AddPoint(2, 0);
  series.AddPoint(1, 0);
  series.AddPoint(3, 0);
  EXPECT_EQ(added, (std::vector<int>{0, 0, 2}));
  EXPECT_EQ(chart.invalidations, requests + 3);
}

TEST(series_test, inactive_series_requests_no_repaint_on_add) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.SetActive(false);
  const int requests = chart.invalidations;
  series.AddPoint(1, 1);
  series.RemovePoint(0);
  series.ClearPoints();
  EXPECT_EQ(chart.invalidations, requests);
}

TEST(series_test, clear_on_empty_series_still_fires_and_repaints) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  int clears = 0;
  series.OnClearValues = [&](TChartSeries&) { ++clears; };
  const int requests = chart.invalidations;
  series.ClearPoints();
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(chart.invalidations, requests + 1);
}

TEST(series_test, clear_keeps_the_visible_range_and_pending_values) {
  TChartSeries series;
  series.AddPoint(1, 2, "a");
  series.SetVisibleRange(0, 0);
  series.ClearPoints();
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.LabelCount(), 0);
  EXPECT_EQ(series.ColorCount(), 0);
  EXPECT_EQ(series.FirstVisibleIndex(), 0);
  EXPECT_EQ(series.YValues().PendingValue(), 2);
}

TEST(series_test, empty_series_reports_zero_extremes) {
  TChartSeries series;
  EXPECT_EQ(series.LowestX(), 0);
  EXPECT_EQ(series.HighestX(), 0);
  EXPECT_EQ(series.LowestY(), 0);
  EXPECT_EQ(series.HighestY(), 0);
}

TEST(series_test, extremes_follow_adds_and_removals) {
  TChartSeries series;
  series.AddPoint(10, -3);
  series.AddPoint(2, 8);
  EXPECT_EQ(series.LowestX(), 2);
  EXPECT_EQ(series.HighestY(), 8);
  series.RemovePoint(0);
  EXPECT_EQ(series.LowestX(), 10);
  EXPECT_EQ(series.HighestY(), -3);
}

TEST(series_test, remove_point_keeps_lists_parallel_and_checks_the_index) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(1, 10, "a", 0x01);
  series.AddPoint(2, 20, "", 0x02);
  series.AddPoint(3, 30, "c", 0x03);
  const int requests = chart.invalidations;
  series.RemovePoint(1);
  EXPECT_EQ(Points(series), (std::vector<Point>{{1, 10, "a", 0x01}, {3, 30, "c", 0x03}}));
  EXPECT_EQ(chart.invalidations, requests + 1);
  ExpectThrowText<rtl::ListIndexError>([&] { series.RemovePoint(2); }, "List index out of bounds (2)");
  ExpectThrowText<rtl::ListIndexError>([&] { series.RemovePoint(-1); }, "List index out of bounds (-1)");
  EXPECT_EQ(series.PointCount(), 2);
}

TEST(series_test, swap_points_checks_both_indexes) {
  TChartSeries series;
  series.AddPoint(1, 10, "a");
  series.AddPoint(2, 20, "b");
  series.SwapPoints(0, 1);
  EXPECT_EQ(series.PointY(0), 20);
  EXPECT_EQ(series.PointLabel(0), "b");
  ExpectThrowText<rtl::ListIndexError>([&] { series.SwapPoints(0, 5); }, "List index out of bounds (5)");
  EXPECT_EQ(series.PointY(0), 20);
}

TEST(series_test, labels_and_colours_beyond_their_lists_do_not_fail) {
  TChartSeries series;
  series.SetSeriesColor(clRed);
  series.AddPoint(1, 1, "", clDefault);
  EXPECT_EQ(series.PointLabel(0), "");
  EXPECT_EQ(series.PointLabel(7), "");
  EXPECT_EQ(series.PointLabel(-1), "");
  EXPECT_EQ(series.PointColor(7), clRed);
  EXPECT_EQ(series.PointColor(0), clRed);
}

TEST(series_test, point_colour_rules) {
  TChartSeries series;
  series.SetSeriesColor(clBlue);
  for (int i = 0; i < 18; ++i) series.AddPoint(i, i);
  series.SetPointColor(3, clYellow);
  EXPECT_EQ(series.PointColor(17), clBlue);
  EXPECT_EQ(series.PointColor(3), clYellow);
  series.SetColorEachPoint(true);
  EXPECT_EQ(series.PointColor(17), 0x008000u);  // palette entry 1, green
  EXPECT_EQ(series.PointColor(0), 0x0000FFu);
  EXPECT_EQ(series.PointColor(3), clYellow);
  series.SetColorEachPoint(false);  // also resets every point colour
  EXPECT_EQ(series.PointColor(3), clBlue);
}

TEST(series_test, palette_order) {
  const TColor expected[16] = {0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000,
                               0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(SeriesPaletteColor(i), expected[i]);
    EXPECT_EQ(SeriesPaletteColor(i + 16), expected[i]);
  }
}

TEST(series_test, blank_points) {
  TChartSeries series;
  series.AddBlankPointAt(1, 2, "gap");
  EXPECT_EQ(series.AddBlankPoint(), 1);
  series.AddPoint(5, 5);
  EXPECT_TRUE(series.IsBlankPoint(0));
  EXPECT_TRUE(series.IsBlankPoint(1));
  EXPECT_FALSE(series.IsBlankPoint(2));
  EXPECT_EQ(series.PointX(1), 1);  // AddNextValue: X = point count
  EXPECT_EQ(series.PointY(1), 0);
}

TEST(series_test, fill_with_samples) {
  TChartSeries series;
  series.AddPoint(100, 1);
  series.FillWithSamples(7);
  EXPECT_EQ(series.PointCount(), 7);
  EXPECT_EQ(series.PointX(6), 6);
  ExpectThrowText<ChartException>([&] { series.FillWithSamples(0); }, "FillSampleValues NumValues must be > 0");
  EXPECT_EQ(series.PointCount(), 7);
}

TEST(series_test, value_list_by_name_ignores_case_and_falls_back_to_y) {
  TChartSeries series;
  TChartValueList extra(&series, "Open");
  EXPECT_EQ(&series.ValueListByName("OPEN"), &extra);
  EXPECT_EQ(&series.ValueListByName("X"), &series.YValues());
  EXPECT_EQ(&series.ValueListByName("none"), &series.YValues());
}

TEST(series_test, legend_entry_texts) {
  rtl::SetNumberSeparators({',', '\xA0'});
  TChartSeries series;
  series.AddPoint(1, 1.5, "a");
  series.AddPoint(2, 4.5, "");
  EXPECT_EQ(series.LegendEntryText(0, ltsPlain), "a");
  EXPECT_EQ(series.LegendEntryText(0, ltsLeftValue), "1,5 a");
  EXPECT_EQ(series.LegendEntryText(0, ltsRightPercent), "a 25 %");
  EXPECT_EQ(series.LegendEntryText(1, ltsRightValue), "4,5");
  EXPECT_EQ(series.LegendEntryText(1, ltsXValue), "2");
}

// --- visible range -----------------------------------------------------------------------

// Bottom axis 0..10 over pixels 10..210: the left edge reads 0, the right edge 10.
struct VisibleCase {
  std::vector<double> xs;
  double minimum, maximum;
  bool drawBetween;
  int first, last;
};

TEST(series_test, visible_range_table) {
  const VisibleCase cases[] = {
      {{1, 2, 3}, 0, 10, false, 0, 2},
      {{-5, -4}, 0, 10, false, -1, -1},   // all left of the range
      {{-5, -4}, 0, 10, true, -1, -1},
      {{20, 30}, 0, 10, false, 0, -1},    // all right: first 0, stepped back to -1
      {{20, 30}, 0, 10, true, 0, 0},      // the segment leaving the plot is drawn
      {{-1, 0, 5, 10, 11, 12}, 0, 10, false, 1, 3},
      {{-1, 0, 5, 10, 11, 12}, 0, 10, true, 1, 3},  // a point exactly on the edge ends it
      {{-1, 0.5, 5, 10.5, 12}, 0, 10, false, 1, 2},
      {{-1, 0.5, 5, 10.5, 12}, 0, 10, true, 1, 3},
  };
  for (const VisibleCase& c : cases) {
    RecordingChartHost chart;
    RecordingSeries series(c.drawBetween);
    series.SetParentChart(&chart);
    for (double x : c.xs) series.AddPoint(x, 0);
    chart.Axes().Bottom().SetScaleRange(c.minimum, c.maximum);
    chart.UpdateAxes();
    series.ComputeVisibleRange();
    EXPECT_EQ(series.FirstVisibleIndex(), c.first) << c.xs.size() << " points, between " << c.drawBetween;
    EXPECT_EQ(series.LastVisibleIndex(), c.last) << c.xs.size() << " points, between " << c.drawBetween;
  }
}

// Ascending values are searched, not scanned; values overwritten out of order or NaN must
// still give what the scan from the left gives.
TEST(series_test, visible_range_of_values_out_of_order_is_the_scans) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<std::pair<int, double>> overwrites;
    double minimum, maximum;
    int first, last;
  };
  const Case cases[] = {
      {"in order", {}, 3, 6.5, 3, 7},
      {"a large value early", {{2, 50}}, 3, 6.5, 2, 2},
      {"a small value late", {{8, -1}}, 3, 10, 3, 9},
      {"NaN before the range", {{1, nan}}, 2, 6.5, 1, 1},  // both scans stop at the NaN
  };
  for (const Case& c : cases) {
    RecordingChartHost chart;
    RecordingSeries series(true);
    series.SetParentChart(&chart);
    for (int i = 0; i < 10; ++i) series.AddPoint(i, 0);
    for (const auto& [index, value] : c.overwrites) series.XValues().StoreValueAt(index, value);
    chart.Axes().Bottom().SetScaleRange(c.minimum, c.maximum);
    chart.UpdateAxes();
    series.ComputeVisibleRange();
    EXPECT_EQ(series.FirstVisibleIndex(), c.first) << c.name;
    EXPECT_EQ(series.LastVisibleIndex(), c.last) << c.name;
  }
}

TEST(series_test, visible_range_on_an_inverted_axis_reads_the_right_edge_first) {
  RecordingChartHost chart;
  RecordingSeries series;
  series.SetParentChart(&chart);
  for (double x : {-1.0, 2.0, 8.0, 11.0}) series.AddPoint(x, 0);
  chart.Axes().Bottom().SetScaleRange(0, 10);
  chart.Axes().Bottom().SetInverted(true);
  chart.UpdateAxes();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 1);
  EXPECT_EQ(series.LastVisibleIndex(), 2);
}

TEST(series_test, unordered_x_shows_every_point_whatever_the_axes) {
  RecordingChartHost chart;
  RecordingSeries series;
  series.SetParentChart(&chart);
  series.XValues().SetOrder(loNone);
  for (double x : {50.0, -20.0, 70.0}) series.AddPoint(x, 0);
  chart.Axes().Bottom().SetScaleRange(0, 10);
  chart.UpdateAxes();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 0);
  EXPECT_EQ(series.LastVisibleIndex(), 2);
}

TEST(series_test, visible_range_of_an_empty_series_is_none) {
  RecordingChartHost chart;
  RecordingSeries series;
  series.SetParentChart(&chart);
  series.SetVisibleRange(0, 3);
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), -1);
  EXPECT_EQ(series.LastVisibleIndex(), -1);
  series.DrawPoints();
  EXPECT_TRUE(series.drawn.empty());
}

TEST(series_test, draw_points_walks_the_visible_range) {
  RecordingSeries series;
  for (int i = 0; i < 5; ++i) series.AddPoint(i, i);
  series.SetVisibleRange(1, 3);
  series.DrawPoints();
  EXPECT_EQ(series.drawn, (std::vector<int>{1, 2, 3}));
}

TEST(series_test, screen_positions_go_through_the_resolved_axes) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.AddPoint(5, 2);
  chart.Axes().Bottom().SetScaleRange(0, 10);
  chart.Axes().Left().SetScaleRange(0, 8);
  chart.UpdateAxes();
  EXPECT_EQ(series.PointScreenX(0), 110);
  EXPECT_EQ(series.PointScreenY(0), 160);
  series.SetVertAxis(aRightAxis);
  EXPECT_EQ(series.GetVertAxis(), &chart.Axes().Right());
  EXPECT_TRUE(series.IsBoundToAxis(chart.Axes().Right()));
  EXPECT_FALSE(series.IsBoundToAxis(chart.Axes().Left()));
  series.SetVertAxis(aBothVertAxis);
  EXPECT_TRUE(series.IsBoundToAxis(chart.Axes().Right()));
  EXPECT_TRUE(series.IsBoundToAxis(chart.Axes().Left()));
}

// A series whose mandatory values are its X values (drawn along the vertical axis).
class SidewaysSeries : public TChartSeries {
 public:
  bool PrimaryIsX() const override { return true; }
};

TEST(series_test, primary_x_series_exchanges_next_values_and_scans_along_y) {
  RecordingChartHost chart;
  SidewaysSeries series;
  series.SetParentChart(&chart);
  series.AddNextValue(5);
  EXPECT_EQ(series.PointX(0), 5);
  EXPECT_EQ(series.PointY(0), 0);
  series.ClearPoints();
  series.XValues().SetOrder(loNone);
  series.YValues().SetOrder(loAscending);
  for (double y : {-1.0, 2.0, 8.0, 11.0}) series.AddPoint(100, y);
  chart.Axes().Left().SetScaleRange(0, 10);
  chart.Axes().Bottom().SetScaleRange(-1000, -900);  // would hide every point if it were asked
  chart.UpdateAxes();
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisibleIndex(), 1);
  EXPECT_EQ(series.LastVisibleIndex(), 2);
}

TEST(series_test, copying_between_primary_x_and_y_series_exchanges_the_values) {
  TChartSeries source;
  source.AddPoint(1, 10);
  SidewaysSeries copy;
  copy.AddDataSource(source);
  ASSERT_EQ(copy.PointCount(), 1);
  EXPECT_EQ(copy.PointX(0), 10);
  EXPECT_EQ(copy.PointY(0), 1);
}

// --- chart membership ------------------------------------------------------------------------

TEST(series_test, parent_chart_joins_and_leaves_the_list) {
  RecordingChartHost first;
  RecordingChartHost second;
  TChartSeries series;
  series.SetParentChart(&first);
  ASSERT_EQ(first.SeriesList().size(), 1u);
  EXPECT_EQ(series.GetHorizAxis(), &first.Axes().Bottom());
  first.DetachSeries(series);
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_EQ(series.GetHorizAxis(), nullptr);
  second.AttachSeries(series);
  EXPECT_EQ(series.ParentChart(), &second);
  series.SetParentChart(&first);
  EXPECT_TRUE(second.SeriesList().empty());
  EXPECT_EQ(first.SeriesList().size(), 1u);
}

TEST(series_test, destroyed_series_leaves_its_chart_after_clearing) {
  RecordingChartHost chart;
  int clears = 0;
  {
    TChartSeries series;
    series.SetParentChart(&chart);
    series.OnClearValues = [&](TChartSeries&) { ++clears; };
  }
  EXPECT_EQ(clears, 1);
  EXPECT_TRUE(chart.SeriesList().empty());
}

TEST(series_test, setters_store_only_changes) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  int requests = chart.invalidations;
  series.SetSeriesColor(clDefault);
  series.SetActive(true);
  series.XValues().SetDateTime(false);
  series.XValues().SetMultiplier(1);
  EXPECT_EQ(chart.invalidations, requests);
  series.XValues().SetDateTime(true);
  series.SetSeriesColor(clRed);
  EXPECT_EQ(chart.invalidations, requests + 2);
}

// --- dependents ------------------------------------------------------------------------------

TEST(series_test, dependent_follows_adds_removals_and_clearing) {
  TChartSeries source;
  source.AddPoint(1, 10, "a");
  TChartSeries copy;
  copy.AddDataSource(source);
  EXPECT_EQ(Points(copy), Points(source));
  source.AddPoint(0, 5, "b", clYellow);
  EXPECT_EQ(Points(copy), Points(source));
  source.RemovePoint(1);
  EXPECT_EQ(Points(copy), Points(source));
  source.ClearPoints();
  EXPECT_EQ(copy.PointCount(), 0);
}

TEST(series_test, recalc_options_choose_what_a_dependent_follows) {
  TChartSeries source;
  TChartSeries copy;
  copy.AddDataSource(source);
  copy.SetRecalcOptions(rOnModify);
  source.AddPoint(1, 1);
  EXPECT_EQ(copy.PointCount(), 0);
  source.YValues().StoreValueAt(0, 7);  // modification: full copy
  ASSERT_EQ(copy.PointCount(), 1);
  EXPECT_EQ(copy.PointY(0), 7);
  source.ClearPoints();
  EXPECT_EQ(copy.PointCount(), 1);
  source.AddPoint(2, 2);
  source.YValues().SetMultiplier(3);  // refreshed: copied whatever the options
  ASSERT_EQ(copy.PointCount(), 1);
  EXPECT_EQ(copy.PointY(0), 6);
}

TEST(series_test, a_series_cannot_feed_itself_even_in_a_ring) {
  TChartSeries a;
  TChartSeries b;
  a.AddDataSource(a);
  EXPECT_TRUE(a.DataSources().empty());
  b.AddDataSource(a);
  a.AddDataSource(b);
  EXPECT_TRUE(a.DataSources().empty());
  a.AddPoint(1, 1);  // would recurse forever through a ring
  EXPECT_EQ(b.PointCount(), 1);
}

TEST(series_test, clicks_go_to_double_click_then_click) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  EXPECT_FALSE(series.SeriesClicked(0, mbLeft, 0, 1, 1));
  std::vector<std::string> calls;
  series.OnClick = [&](TChartSeries&, int index, TMouseButton, TShiftState, int, int) {
    calls.push_back("click " + std::to_string(index));
  };
  EXPECT_TRUE(series.SeriesClicked(3, mbLeft, ssDouble, 1, 1));
  series.OnDblClick = [&](TChartSeries&, int, TMouseButton, TShiftState, int, int) { calls.push_back("double"); };
  EXPECT_TRUE(series.SeriesClicked(3, mbLeft, ssDouble, 1, 1));
  EXPECT_EQ(calls, (std::vector<std::string>{"click 3", "double"}));
}

}  // namespace
