// Mouse zoom, undo and the wheel on the history chart with its stored settings, and what a
// later click on a watched share does to a zoomed chart: it sets only the left axis.
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "app/history_chart.h"
#include "chart/qt/chart_widget.h"
#include "chart/fast_line_series.h"
#include "qt_application.h"
#include "rtl/date_time.h"

namespace {

core::ConnectionTable Counts(const std::vector<std::pair<rtl::Text, rtl::Text>>& rows) {
  core::ConnectionTable table;
  table.AddColumn("\xC2\xF0\xE5\xEC\xFF");  // "Время"
  table.AddColumn("docs");
  for (const auto& [caption, count] : rows) table.AppendValue(table.AddRow(caption), count);
  return table;
}

class HistoryZoomTest : public testing::Test {
 protected:
  HistoryZoomTest() : saved_settings_(rtl::CurrentRegionalSettings()) {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    widget_.resize(817, 250);
    widget_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget_));
    Click(Counts({{"08.12.2026  10:00:00", "3"}, {"08.12.2026  12:00:00", "60"}, {"08.12.2026  14:00:00", "7"}}));
  }
  ~HistoryZoomTest() override { rtl::SetRegionalSettings(saved_settings_); }

  // A click on the watched share "docs", then the paint that follows it.
  void Click(const core::ConnectionTable& table) {
    ShowShareHistory(chart_, series_, table, "docs", [](const rtl::Text&) {});
    widget_.repaint();
  }
  void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(&widget_, button, {}, from);
    QTest::mouseMove(&widget_, to);
    QTest::mouseRelease(&widget_, button, {}, to);
    widget_.repaint();
  }
  TChartAxis& Left() { return chart_.LeftAxisRef(); }
  TChartAxis& Bottom() { return chart_.BottomAxisRef(); }

  rtl::RegionalSettings saved_settings_;
  QApplication& application_ = TestApplication();  // before any widget
  TChartWidget widget_;
  TChart& chart_ = widget_.Chart();
  TFastLineSeries& series_ = ConfigureHistoryChart(chart_);
};

TEST_F(HistoryZoomTest, LeftDragZoomsAndDragBackRestores) {
  const double firstDay = Bottom().Minimum(), lastDay = Bottom().Maximum();
  ASSERT_DOUBLE_EQ(65, Left().Maximum());
  Drag(Qt::LeftButton, {200, 60}, {400, 150});
  EXPECT_GT(Left().Minimum(), 0);
  EXPECT_LT(Left().Maximum(), 65);
  EXPECT_GT(Bottom().Minimum(), firstDay);
  EXPECT_LT(Bottom().Maximum(), lastDay);
  Drag(Qt::LeftButton, {400, 150}, {200, 60});
  EXPECT_DOUBLE_EQ(0, Left().Minimum());
  EXPECT_DOUBLE_EQ(65, Left().Maximum());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_DOUBLE_EQ(firstDay, Bottom().Minimum());
  EXPECT_DOUBLE_EQ(lastDay, Bottom().Maximum());
}

TEST_F(HistoryZoomTest, RightDragPansTheTimeAxis) {
  const double firstDay = Bottom().Minimum();
  Drag(Qt::RightButton, {300, 100}, {340, 100});
  EXPECT_LT(Bottom().Minimum(), firstDay);  // earlier times come into view
  EXPECT_DOUBLE_EQ(65, Left().Maximum());
}

TEST_F(HistoryZoomTest, WheelDownMovesTheCountsUp) {
  const QPoint at(300, 100);
  QWheelEvent wheel(at, widget_.mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget_, &wheel);
  EXPECT_DOUBLE_EQ(1.95, Left().Minimum());
  EXPECT_DOUBLE_EQ(66.95, Left().Maximum());
}

TEST_F(HistoryZoomTest, LaterClickSetsOnlyTheLeftAxisAndUndoRestoresBoth) {
  const double firstDay = Bottom().Minimum(), lastDay = Bottom().Maximum();
  Drag(Qt::LeftButton, {200, 60}, {400, 150});
  const double zoomedFrom = Bottom().Minimum(), zoomedTo = Bottom().Maximum();
  Click(Counts({{"08.12.2026  10:00:00", "1"}, {"08.12.2026  14:00:00", "20"}}));
  EXPECT_DOUBLE_EQ(0, Left().Minimum());
  EXPECT_DOUBLE_EQ(25, Left().Maximum());
  EXPECT_DOUBLE_EQ(zoomedFrom, Bottom().Minimum());
  EXPECT_DOUBLE_EQ(zoomedTo, Bottom().Maximum());
  Drag(Qt::LeftButton, {400, 150}, {200, 60});
  // The ranges saved before the zoom come back, overwriting the click's left axis.
  EXPECT_DOUBLE_EQ(65, Left().Maximum());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_DOUBLE_EQ(firstDay, Bottom().Minimum());
  EXPECT_DOUBLE_EQ(lastDay, Bottom().Maximum());
}

}  // namespace
