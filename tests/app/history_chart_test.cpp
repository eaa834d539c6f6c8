// The share history chart: Chart1's settings and ShowShareHistory step by step, with every
// failure it reports; then the same command through the window's ListBox2 click.
#include "app/history_chart.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTabWidget>
#include <cstdio>
#include <functional>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "core/table_file.h"
#include "qt_application.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"
#include "tests/support/temporary_directory.h"

namespace {

const rtl::Text kTime = "\xC2\xF0\xE5\xEC\xFF";  // "Время"

struct Row {
  rtl::Text caption;
  std::vector<rtl::Text> values;
};

core::ConnectionTable Table(const std::vector<rtl::Text>& columns, const std::vector<Row>& rows) {
  core::ConnectionTable table;
  for (const rtl::Text& column : columns) table.AddColumn(column);
  for (const Row& row : rows) {
    const int index = table.AddRow(row.caption);
    for (const rtl::Text& value : row.values) table.AppendValue(index, value);
  }
  return table;
}

// Calls `action` and returns the message of the rtl::Exception it throws ("" when none).
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const rtl::Exception& error) {
    return error.what();
  }
  return "";
}

class HistoryChartTest : public testing::Test {
 protected:
  HistoryChartTest() : saved_settings_(rtl::CurrentRegionalSettings()) {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  }
  ~HistoryChartTest() override { rtl::SetRegionalSettings(saved_settings_); }

  void Show(const core::ConnectionTable& table, const rtl::Text& share) {
    ShowShareHistory(chart_, series_, table, share, [this](const rtl::Text& text) { notices_.push_back(text); });
  }
  std::string ShowError(const core::ConnectionTable& table, const rtl::Text& share) {
    return ErrorOf([&] { Show(table, share); });
  }
  std::vector<rtl::Text> Labels() const {
    std::vector<rtl::Text> labels;
    for (int i = 0; i < series_.PointCount(); ++i) labels.push_back(series_.PointLabel(i));
    return labels;
  }
  std::vector<double> Counts() const {
    std::vector<double> counts;
    for (int i = 0; i < series_.PointCount(); ++i) counts.push_back(series_.PointY(i));
    return counts;
  }
  TChartAxis& Left() { return chart_.LeftAxisRef(); }
  rtl::Text TitleLine() { return chart_.Title().Text().at(0); }

  rtl::RegionalSettings saved_settings_;
  QApplication& application_ = TestApplication();  // before the chart's device
  TQtChartDevice device_;
  TChart chart_{device_};
  TFastLineSeries& series_ = ConfigureHistoryChart(chart_);
  std::vector<rtl::Text> notices_;
};

// Three polls on one day and two on the next, as polling captions them (two spaces).
const core::ConnectionTable kTwoDays = Table({kTime, "docs"}, {{"08.12.2026  10:00:00", {"3"}},
                                                         {"08.12.2026  10:30:00", {"7"}},
                                                         {"08.12.2026  11:00:00", {"2"}},
                                                         {"09.12.2026  9:00:00", {"4"}},
                                                         {"09.12.2026  9:30:00", {"1"}}});

TEST_F(HistoryChartTest, Chart1HasItsStoredSettings) {
  EXPECT_FALSE(chart_.View3D());
  EXPECT_FALSE(chart_.Legend().Visible());
  EXPECT_EQ(chart_.Title().Text(), std::vector<rtl::Text>{"TChart"});
  EXPECT_EQ(chart_.BackWall().Brush().Color(), clWhite);
  EXPECT_EQ(chart_.BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart_.BottomAxisRef().DateTimeFormat(), "dd.MM.yyyy");
  EXPECT_EQ(chart_.BottomAxisRef().LabelsAngle(), 90);
  ASSERT_EQ(chart_.SeriesList().size(), 1u);
  EXPECT_EQ(chart_.SeriesList()[0], &series_);
  EXPECT_EQ(series_.SeriesColor(), clRed);
  EXPECT_EQ(series_.LinePen().Color(), clRed);
  EXPECT_FALSE(series_.Marks().Visible);
  EXPECT_TRUE(series_.XValues().DateTime());
  EXPECT_EQ(series_.XValues().Order(), loAscending);
  EXPECT_EQ(series_.YValues().Order(), loNone);
}

TEST_F(HistoryChartTest, FirstPointOfEachDayIsLabelledWithItsDate) {
  Show(kTwoDays, "docs");
  EXPECT_EQ(Labels(), (std::vector<rtl::Text>{"08.12.2026", " 10:30:00", " 11:00:00", "09.12.2026", " 9:30:00"}));
  EXPECT_EQ(TitleLine(), "docs");
  EXPECT_TRUE(notices_.empty());
}

TEST_F(HistoryChartTest, PointsAreTheCaptionDateTimeAndTheCountInBlue) {
  Show(kTwoDays, "docs");
  ASSERT_EQ(series_.PointCount(), 5);
  EXPECT_DOUBLE_EQ(series_.PointX(1), rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 30, 0, 0));
  EXPECT_DOUBLE_EQ(series_.PointX(3), rtl::EncodeDate(2026, 12, 9) + rtl::EncodeTime(9, 0, 0, 0));
  EXPECT_EQ(Counts(), (std::vector<double>{3, 7, 2, 4, 1}));
  EXPECT_EQ(series_.PointColor(4), TColor(0xFF0000));
}

TEST_F(HistoryChartTest, LeftAxisIsFixedAndEndsFiveAboveTheLargestCount) {
  struct Case {
    std::vector<rtl::Text> counts;
    double maximum;
  };
  const Case cases[] = {{{"3", "7", "2"}, 12}, {{"0"}, 5}, {{"-3", "-1"}, 4}, {{"60", "61"}, 66}};
  for (const Case& c : cases) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < c.counts.size(); ++i) rows.push_back({"08.12.2026  1" + std::to_string(i) + ":00:00", {c.counts[i]}});
    Show(Table({kTime, "docs"}, rows), "docs");
    EXPECT_EQ(Left().Minimum(), 0);
    EXPECT_EQ(Left().Maximum(), c.maximum);
    EXPECT_FALSE(Left().Automatic());
    EXPECT_FALSE(Left().AutomaticMinimum());
  }
}

TEST_F(HistoryChartTest, ShareWithoutColumnClearsTheSeries) {
  Show(kTwoDays, "docs");
  Left().SetMaximum(100);
  Show(kTwoDays, "print$");
  EXPECT_EQ(series_.PointCount(), 0);
  EXPECT_EQ(TitleLine(), "print$");
  EXPECT_EQ(Left().Maximum(), 60);
}

TEST_F(HistoryChartTest, TableWithoutShareColumnsKeepsTheEarlierCurve) {
  Show(kTwoDays, "docs");
  Show(Table({kTime}, {{"10.12.2026  10:00:00", {}}}), "other");
  EXPECT_EQ(series_.PointCount(), 5);
  EXPECT_EQ(TitleLine(), "other");
  EXPECT_EQ(Left().Maximum(), 60);
  Show(core::ConnectionTable(), "none");
  EXPECT_EQ(series_.PointCount(), 5);
}

TEST_F(HistoryChartTest, TableWithoutRowsLeavesAnEmptyChart) {
  Show(kTwoDays, "docs");
  Show(Table({kTime, "docs"}, {}), "docs");
  EXPECT_EQ(series_.PointCount(), 0);
  EXPECT_EQ(Left().Maximum(), 60);
}

using history_chart_test = HistoryChartTest;

TEST_F(history_chart_test, a_loaded_table_draws_like_the_live_one_without_the_leading_space) {
  TemporaryDirectory directory;
  const std::filesystem::path file = directory.Path() / "list.txt";
  core::SaveConnectionTable(kTwoDays, file);
  core::ConnectionTable loaded;
  core::LoadConnectionTable(loaded, file);
  Show(kTwoDays, "docs");
  const std::vector<double> live_counts = Counts();
  std::vector<double> live_times;
  for (int i = 0; i < series_.PointCount(); ++i) live_times.push_back(series_.PointX(i));

  Show(loaded, "docs");
  EXPECT_EQ(Labels(), (std::vector<rtl::Text>{"08.12.2026", "10:30:00", "11:00:00", "09.12.2026", "9:30:00"}));
  EXPECT_EQ(Counts(), live_counts);
  for (int i = 0; i < series_.PointCount(); ++i) EXPECT_DOUBLE_EQ(series_.PointX(i), live_times[i]);
}

// A share with a space and a 12-hour clock used to come back one column away from its
// values; now a saved and loaded table draws the same points as the live one.
TEST_F(history_chart_test, a_spaced_share_on_a_12_hour_clock_draws_the_same_points_after_reload) {
  rtl::RegionalSettings twelve_hour = rtl::RussianRegionalSettings();
  twelve_hour.long_time_format = rtl::BuildLongTimeFormat(false, true, false);
  rtl::SetRegionalSettings(twelve_hour);
  const rtl::Text spaced = "scan inbox";
  const core::ConnectionTable live = Table({kTime, "public", spaced, "a,b"}, {{"08.12.2026  9:05:07 AM", {"1", "3", "0"}},
                                                                             {"08.12.2026  9:05:07 PM", {"2", "5", "1"}},
                                                                             {"09.12.2026  1:00:00 AM", {"2", "4", "1"}}});
  TemporaryDirectory directory;
  core::SaveConnectionTable(live, directory.Path() / "list.txt");
  core::ConnectionTable loaded;
  core::LoadConnectionTable(loaded, directory.Path() / "list.txt");
  for (const rtl::Text& share : {spaced, rtl::Text("a,b")}) {
    Show(live, share);
    const std::vector<double> live_counts = Counts();
    std::vector<double> live_times;
    for (int i = 0; i < series_.PointCount(); ++i) live_times.push_back(series_.PointX(i));
    Show(loaded, share);
    EXPECT_EQ(Counts(), live_counts) << share;
    ASSERT_EQ(series_.PointCount(), 3) << share;
    for (int i = 0; i < series_.PointCount(); ++i) EXPECT_DOUBLE_EQ(series_.PointX(i), live_times[i]) << share;
  }
}

TEST_F(HistoryChartTest, CaptionsAreReadUnderTheRegionalSettings) {
  rtl::RegionalSettings american = rtl::RussianRegionalSettings();
  american.short_date_format = "M/d/yyyy";
  american.date_separator = '/';
  rtl::SetRegionalSettings(american);
  Show(Table({kTime, "docs"}, {{"12/8/2026  10:00:00", {"1"}}}), "docs");
  ASSERT_EQ(series_.PointCount(), 1);
  EXPECT_DOUBLE_EQ(series_.PointX(0), rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 0, 0, 0));
  EXPECT_EQ(series_.PointLabel(0), "12/8/2026");
}

TEST_F(HistoryChartTest, ShareNamedLikeTheTimeColumnHasNoValueMinusOne) {
  EXPECT_EQ(ShowError(kTwoDays, kTime), "List index out of bounds (-1)");
  EXPECT_EQ(TitleLine(), kTime);
  EXPECT_EQ(series_.PointCount(), 0);
}

// Rows cut short (by a run ended in the middle of a tick, or a tick a failed probe ended)
// give the shares after the cut no point, wherever they stand; every whole row still counts.
TEST_F(history_chart_test, a_row_cut_short_gives_no_point_and_the_rows_after_it_still_draw) {
  const std::pair<std::vector<Row>, std::vector<double>> cases[] = {
      {{{"08.12.2026  10:00:00", {"1", "20"}}, {"08.12.2026  11:00:00", {"3"}}, {"08.12.2026  12:00:00", {"4", "40"}}},
       {20, 40}},
      {{{"08.12.2026  10:00:00", {"1"}}, {"08.12.2026  11:00:00", {"2", "30"}}}, {30}},
  };
  for (const auto& [rows, counts] : cases) {
    EXPECT_EQ(ShowError(Table({kTime, "docs", "print$"}, rows), "print$"), "");
    EXPECT_EQ(Counts(), counts);
    EXPECT_EQ(Left().Maximum(), counts.back() + 5);
  }
}

TEST_F(HistoryChartTest, FirstCountThatIsNoNumberIsNoticedThenFails) {
  const core::ConnectionTable table = Table({kTime, "docs"}, {{"08.12.2026  10:00:00", {"abc"}}});
  EXPECT_EQ(ShowError(table, "docs"), "'abc' is not a valid integer value");
  EXPECT_EQ(notices_, std::vector<rtl::Text>{"abc"});
  EXPECT_EQ(series_.PointCount(), 0);
  EXPECT_EQ(Left().Maximum(), 60);
}

TEST_F(HistoryChartTest, LaterCountThatIsNoNumberFailsWithoutNotice) {
  const core::ConnectionTable table =
      Table({kTime, "docs"}, {{"08.12.2026  10:00:00", {"4"}}, {"08.12.2026  10:30:00", {"x1"}}});
  EXPECT_EQ(ShowError(table, "docs"), "'x1' is not a valid integer value");
  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(Counts(), std::vector<double>{4});
}

TEST_F(HistoryChartTest, CaptionThatIsNoDateTimeFails) {
  const core::ConnectionTable table =
      Table({kTime, "docs"}, {{"08.12.2026  10:00:00", {"4"}}, {"yesterday noon", {"5"}}});
  EXPECT_EQ(ShowError(table, "docs"), "'yesterday noon' is not a valid date and time");
  EXPECT_EQ(Counts(), std::vector<double>{4});
}

TEST_F(HistoryChartTest, AllCountsBelowMinusFiveAreRefusedByTheAxis) {
  const core::ConnectionTable table =
      Table({kTime, "docs"}, {{"08.12.2026  10:00:00", {"-9"}}, {"08.12.2026  10:30:00", {"-6"}}});
  EXPECT_EQ(ShowError(table, "docs"), "Axis Maximum Value must be >= Minimum");
  EXPECT_EQ(Left().Maximum(), 60);
  EXPECT_EQ(series_.PointCount(), 2);
}

TEST_F(HistoryChartTest, AxisPannedBelowZeroRefusesTheMinimumAfterTheTitle) {
  Show(kTwoDays, "docs");
  Left().SetScaleRange(-20, -10);
  EXPECT_EQ(ShowError(kTwoDays, "print$"), "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(TitleLine(), "print$");
  EXPECT_EQ(series_.PointCount(), 5);
}

// --- rows out of time order ------------------------------------------------------------------

// Rows going back in time (the autumn clock change, files joined out of order) are drawn in
// time order; each keeps the label its place in the table gave it, and rows of equal time
// keep their table order.
TEST_F(HistoryChartTest, RowsGoingBackInTimeAreSortedWithTheLabelsOfTheirTableOrder) {
  Show(Table({kTime, "docs"}, {{"09.12.2026  9:30:00", {"1"}},
                               {"09.12.2026  9:00:00", {"4"}},
                               {"08.12.2026  11:00:00", {"2"}},
                               {"08.12.2026  10:30:00", {"7"}},
                               {"08.12.2026  10:00:00", {"3"}},
                               {"08.12.2026  10:30:00", {"5"}}}),
       "docs");
  EXPECT_EQ(Labels(), (std::vector<rtl::Text>{" 10:00:00", " 10:30:00", " 10:30:00", "08.12.2026", " 9:00:00",
                                              "09.12.2026"}));
  EXPECT_EQ(Counts(), (std::vector<double>{3, 7, 5, 2, 4, 1}));
  EXPECT_EQ(Left().Maximum(), 12);
}

TEST_F(HistoryChartTest, RowFailingAmongRowsOutOfOrderKeepsThePointsBeforeIt) {
  const core::ConnectionTable table = Table({kTime, "docs"}, {{"08.12.2026  11:00:00", {"2"}},
                                                        {"08.12.2026  10:00:00", {"3"}},
                                                        {"08.12.2026  10:30:00", {"7"}},
                                                        {"08.12.2026  9:00:00", {"x"}},
                                                        {"08.12.2026  8:00:00", {"1"}}});
  EXPECT_EQ(ShowError(table, "docs"), "'x' is not a valid integer value");
  EXPECT_EQ(Counts(), (std::vector<double>{3, 7, 2}));
  EXPECT_EQ(Labels(), (std::vector<rtl::Text>{" 10:00:00", " 10:30:00", "08.12.2026"}));
  EXPECT_EQ(Left().Maximum(), 60);
}

// A long history in random order, with repeated times, against the same command on a series
// that must add point by point (an OnAfterAdd handler sees every add): the same points and
// the same picture.
TEST_F(HistoryChartTest, RandomRowOrderDrawsWhatAddingRowByRowDraws) {
  std::vector<Row> rows;
  unsigned state = 2026;
  for (int i = 0; i < 3000; ++i) {
    state = state * 1103515245 + 12345;
    const int minutes = int(state >> 8) % (4 * 1440);
    char caption[32];
    std::snprintf(caption, sizeof caption, "%02d.12.2026  %d:%02d:00", 7 + minutes / 1440, minutes % 1440 / 60,
                  minutes % 60);
    rows.push_back({caption, {std::to_string(int(state >> 20) % 50)}});
  }
  const core::ConnectionTable table = Table({kTime, "docs"}, rows);
  TChart one_by_one_chart(device_);
  TFastLineSeries& one_by_one = ConfigureHistoryChart(one_by_one_chart);
  one_by_one.OnAfterAdd = [](TChartSeries&, int) {};
  for (TChart* chart : {&chart_, &one_by_one_chart}) chart->Resize(817, 250);
  Show(table, "docs");
  ShowShareHistory(one_by_one_chart, one_by_one, table, "docs", [](const rtl::Text&) {});
  ASSERT_EQ(series_.PointCount(), one_by_one.PointCount());
  for (int i = 0; i < series_.PointCount(); ++i) {
    EXPECT_EQ(series_.PointX(i), one_by_one.PointX(i)) << i;
    EXPECT_EQ(series_.PointY(i), one_by_one.PointY(i)) << i;
    EXPECT_EQ(series_.PointLabel(i), one_by_one.PointLabel(i)) << i;
  }
  QImage frame(817, 250, QImage::Format_RGB32), one_by_one_frame(817, 250, QImage::Format_RGB32);
  RenderHistoryFrame(chart_, frame);
  RenderHistoryFrame(one_by_one_chart, one_by_one_frame);
  EXPECT_TRUE(frame == one_by_one_frame);
}

// --- extreme counts and dates ---------------------------------------------------------------

// Every count the table file can hold, over the whole calendar, on pictures from one pixel to
// long and thin: nothing overflows (the sanitizer build stops at the first signed overflow),
// and the line never leaves the plot area it is clipped to.
TEST_F(HistoryChartTest, ExtremeCountsAndDatesDrawInsideThePlotOnAnyPictureSize) {
  const std::vector<std::vector<Row>> histories = {
      {{"08.12.2026  10:00:00", {"10"}}, {"08.12.2026  10:30:00", {"-2147483643"}}, {"08.12.2026  11:00:00", {"10"}}},
      {{"01.01.0001  0:00:00", {"30"}}, {"31.12.9999  23:59:59", {"$80000000"}}},
      {{"01.01.0001  0:00:00", {"-2147483648"}}, {"31.12.9999  0:00:00", {"2147483642"}}},
      {{"08.12.2026  10:00:00", {"2147483642"}}, {"08.12.2026  10:00:01", {"-2147483648"}},
       {"08.12.2026  10:00:02", {"0"}}, {"08.12.2026  10:00:03", {"2147483642"}}},
      {{"31.12.9999  0:00:00", {"1"}}, {"01.01.0001  0:00:00", {"-1"}}, {"08.12.2026  10:00:00", {"2147483"}}},
  };
  const QSize sizes[] = {{1, 1}, {2, 3}, {40, 40}, {100, 100}, {817, 250}, {3000, 12}, {12, 3000}};
  for (const std::vector<Row>& rows : histories)
    for (const QSize& size : sizes) {
      chart_.Resize(size.width(), size.height());
      ErrorOf([&] { Show(Table({kTime, "docs"}, rows), "docs"); });
      QImage frame(size, QImage::Format_RGB32);
      RenderHistoryFrame(chart_, frame);
      const TRect plot = chart_.PlotArea();
      int red = 0;
      for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
          if (frame.pixel(x, y) == 0xFFFF0000) {
            ++red;
            ASSERT_TRUE(x > plot.Left && x < plot.Right && y > plot.Top && y < plot.Bottom)
                << rows.size() << " rows, " << size.width() << "x" << size.height() << ": red at " << x << "," << y;
          }
      if (size == QSize(817, 250)) {
        EXPECT_GT(red, 0) << rows.size() << " rows";
      }
    }
}

// --- through the window ------------------------------------------------------------------

class history_window_test : public testing::Test {
 protected:
  history_window_test() : saved_settings_(rtl::CurrentRegionalSettings()) {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    core::ConnectionTable& table = form_.Table();
    table.AddColumn(kTime);
    table.AddColumn("docs");
    table.AppendValue(table.AddRow("08.12.2026  10:00:00"), "3");
    table.AppendValue(table.AddRow("08.12.2026  10:30:00"), "n/a");
    form_.ListBox2()->SetEntries({"docs"});
  }
  ~history_window_test() override { rtl::SetRegionalSettings(saved_settings_); }

  rtl::RegionalSettings saved_settings_;
  QApplication& application_ = TestApplication();
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(history_window_test, a_click_shows_the_chart_page_the_points_before_a_bad_count_and_its_error) {
  form_.ListBox2()->SetItemIndex(0);
  form_.Logic().Execute(core::WindowCommand::kShowHistory);
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 2);
  EXPECT_EQ(form_.Chart1()->Title().Text().at(0), "docs");
  EXPECT_EQ(form_.Series1()->PointCount(), 1);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("'n/a' is not a valid integer value."));
}

TEST_F(history_window_test, a_click_without_a_selection_reports_index_minus_one_on_the_chart_page) {
  form_.Logic().Execute(core::WindowCommand::kShowHistory);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("List index out of bounds (-1)"));
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 2);
}

TEST_F(history_window_test, a_first_count_that_is_no_number_shows_the_notice_before_the_error) {
  form_.Table().Clear();
  form_.Table().AddColumn(kTime);
  form_.Table().AddColumn("docs");
  form_.Table().AppendValue(form_.Table().AddRow("08.12.2026  10:00:00"), "many");
  form_.ListBox2()->SetItemIndex(0);
  form_.Logic().Execute(core::WindowCommand::kShowHistory);
  ASSERT_EQ(boxes_.Boxes().size(), 2u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kNotice);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("many"));
  EXPECT_EQ(boxes_.Boxes()[1].kind, MessageBoxRecorder::Kind::kError);
}

}  // namespace
