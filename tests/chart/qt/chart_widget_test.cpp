// The Qt chart widget: Qt's merged paints, resizes, palette changes, mouse and wheel events
// reach the chart, and what the chart shows reaches the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "chart/cursors.h"
#include "chart/fast_line_series.h"
#include "chart/qt/chart_widget.h"
#include "gui_application.h"

namespace {

class ChartWidgetTest : public ::testing::Test {
 protected:
  ChartWidgetTest() {
    widget_.resize(817, 250);
    chart().SetView3D(false);
    chart().Legend().SetVisible(false);
    series_ = &static_cast<TFastLineSeries&>(chart().AdoptSeries(std::make_unique<TFastLineSeries>()));
    for (int i = 0; i <= 20; ++i) series_->AddPoint(i, 5 + i % 3);
    chart().LeftAxisRef().SetScaleRange(0, 65);
    widget_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget_));
    Settle();
  }
  TChart& chart() { return widget_.Chart(); }
  void Settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  void Move(QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, at, widget_.mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget_, &event);
  }

  bool application_ready_ = (EnsureGuiApplication(), true);
  TChartWidget widget_;
  TFastLineSeries* series_ = nullptr;
};

TEST_F(ChartWidgetTest, ManyRequestsGiveOnePaint) {
  const int runs = chart().PipelineRuns();
  ASSERT_GE(runs, 1);
  for (int i = 0; i < 10; ++i) chart().SetMarginLeft(4 + i);
  chart().Title().SetText({"share"});
  chart().InvalidateChart();
  Settle();
  EXPECT_EQ(chart().PipelineRuns(), runs + 1);
}

TEST_F(ChartWidgetTest, TheWidgetShowsTheFrame) {
  const QImage shown = widget_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const TBitmap& frame = *static_cast<TChartCanvas3D*>(chart().Canvas())->FrameBitmap();
  ASSERT_EQ(shown.size(), QSize(frame.Width(), frame.Height()));
  for (int y = 0; y < frame.Height(); y += 7)
    for (int x = 0; x < frame.Width(); x += 7) ASSERT_EQ(shown.pixel(x, y), frame.Pixel(x, y)) << x << "," << y;
}

TEST_F(ChartWidgetTest, ResizeAndPaletteChangeDrawANewFrame) {
  int runs = chart().PipelineRuns();
  widget_.resize(600, 200);
  Settle();
  EXPECT_EQ(chart().PipelineRuns(), runs + 1);
  EXPECT_EQ(chart().FrameBounds(), (TRect{0, 0, 600, 200}));
  runs = chart().PipelineRuns();
  QPalette palette = widget_.palette();
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  widget_.setPalette(palette);
  Settle();
  EXPECT_EQ(chart().PipelineRuns(), runs + 1);
  EXPECT_EQ(widget_.grab().toImage().pixel(3, 3), qRgb(1, 2, 3));  // the panel in button face
}

// Left drags and the wheel reach the chart in the history chart's own tests (app/); here the
// rest of the mouse: a right drag and a double click with its shift state.
TEST_F(ChartWidgetTest, RightDragAndDoubleClickReachTheChart) {
  int scrolls = 0;
  chart().OnScroll = [&](TChart&) { ++scrolls; };
  QTest::mousePress(&widget_, Qt::RightButton, {}, {300, 100});
  Move({310, 100}, Qt::RightButton);
  QTest::mouseRelease(&widget_, Qt::RightButton, {}, {310, 100});
  EXPECT_EQ(scrolls, 1);
  TShiftState shift = 0;
  chart().OnMouseDown = [&](TChart&, TMouseButton, TShiftState pressed, int, int) { shift = pressed; };
  QTest::mouseDClick(&widget_, Qt::LeftButton, Qt::ShiftModifier, {5, 5});
  EXPECT_EQ(shift, ssShift | ssLeft | ssDouble);
}

TEST_F(ChartWidgetTest, SeriesCursorShowsAsTheWidgetsCursor) {
  series_->SetCursor(crHandPoint);
  Move({series_->PointScreenX(4), series_->PointScreenY(4)}, Qt::NoButton);
  EXPECT_EQ(widget_.cursor().shape(), Qt::PointingHandCursor);
  Move({100, 50}, Qt::NoButton);
  EXPECT_EQ(widget_.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
