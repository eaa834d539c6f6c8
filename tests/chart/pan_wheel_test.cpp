// Panning, the wheel, the click events and the series cursor, driven through the mouse
// messages a chart window forwards.
#include "chart/cursors.h"
#include "chart/zoom_scroll.h"
#include "zoom_scroll_fixture.h"

namespace {

class PanTest : public ZoomScrollTest {
 protected:
  PanTest() {
    chart().OnScroll = [this](TChart&) { ++scrolls; };
  }
  int scrolls = 0;
};

TEST_F(PanTest, TenPixelsRightMovesTheHorizontalAxesOnly) {
  const TAxisMapping bottom = Bottom();
  const int requests = chart().RepaintRequests();
  Press(mbRight, {300, 100});
  Move({310, 100});
  EXPECT_EQ(1, scrolls);
  EXPECT_DOUBLE_EQ(0 - bottom.Width(10), chart().BottomAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(20 - bottom.Width(10), chart().BottomAxisRef().Maximum());
  EXPECT_DOUBLE_EQ(0, chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  EXPECT_GT(chart().RepaintRequests(), requests);
  EXPECT_FALSE(chart().ScalesRestored());
  Release(mbRight, {310, 100});
  EXPECT_FALSE(chart().PanDrag().Dragging);
}

TEST_F(PanTest, DraggingDownShowsHigherValues) {
  const TAxisMapping left = Left();
  Press(mbRight, {300, 100});
  Move({300, 110});
  EXPECT_NEAR(left.Width(10), chart().LeftAxisRef().Minimum(), 1e-12);
  EXPECT_NEAR(65 + left.Width(10), chart().LeftAxisRef().Maximum(), 1e-12);
  EXPECT_EQ(1, scrolls);
}

TEST_F(PanTest, LeftwardDragMeasuresFromTwoMovesBack) {
  const TAxisMapping bottom = Bottom();
  Press(mbRight, {300, 100});
  Move({290, 100});  // 10 pixels from the start
  Move({280, 100});  // 20: from 300, the larger of start and previous
  Move({270, 100});  // 20: from 290
  EXPECT_EQ(3, scrolls);
  EXPECT_NEAR(bottom.Width(50), chart().BottomAxisRef().Minimum(), 1e-12);
}

TEST_F(PanTest, RightwardDragMeasuresFromThePreviousMove) {
  const TAxisMapping bottom = Bottom();
  Press(mbRight, {300, 100});
  Move({310, 100});
  Move({320, 100});
  Move({330, 100});
  EXPECT_NEAR(-bottom.Width(30), chart().BottomAxisRef().Minimum(), 1e-12);
}

TEST_F(PanTest, LeavingThePlotAreaEndsPanningForGood) {
  const TRect plot = chart().PlotArea();
  Press(mbRight, {300, 100});
  Move({300, plot.Top - 1});
  EXPECT_FALSE(chart().PanDrag().Dragging);
  Move({310, 100});
  EXPECT_EQ(0, scrolls);
  EXPECT_TRUE(chart().BottomAxisRef().Automatic());
  EXPECT_TRUE(chart().ScalesRestored());
}

TEST_F(PanTest, RightAndBottomEdgesAreOutside) {
  const TRect plot = chart().PlotArea();
  Press(mbRight, {300, 100});
  Move({plot.Right, 100});
  EXPECT_FALSE(chart().PanDrag().Dragging);
  Press(mbRight, {300, 100});
  Move({300, plot.Bottom - 1});
  EXPECT_TRUE(chart().PanDrag().Dragging);
}

TEST_F(PanTest, HorizontalModeIgnoresVerticalMoves) {
  chart().SetAllowPanning(pmHorizontal);
  Press(mbRight, {300, 100});
  Move({300, 130});
  EXPECT_EQ(0, scrolls);
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  Move({310, 130});
  EXPECT_EQ(1, scrolls);
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
}

TEST_F(PanTest, NoPanningStartsNoDrag) {
  chart().SetAllowPanning(pmNone);
  Press(mbRight, {300, 100});
  EXPECT_FALSE(chart().PanDrag().Dragging);
}

TEST_F(PanTest, RefusedScrollKeepsRangesButStillFiresAndInvalidates) {
  int asked = 0;
  chart().OnAllowScroll = [&](TCustomChartAxis&, double&, double&, bool& allow) {
    ++asked;
    allow = false;
  };
  const int requests = chart().RepaintRequests();
  Press(mbRight, {300, 100});
  Move({310, 100});
  EXPECT_EQ(2, asked);  // bottom and top
  EXPECT_EQ(1, scrolls);
  EXPECT_GT(chart().RepaintRequests(), requests);
  EXPECT_TRUE(chart().BottomAxisRef().Automatic());
}

TEST_F(PanTest, AllowScrollMayChangeTheProposedRange) {
  chart().OnAllowScroll = [&](TCustomChartAxis& axis, double& minimum, double& maximum, bool&) {
    if (&axis == &chart().BottomAxisRef()) minimum = -1, maximum = 7;
  };
  Press(mbRight, {300, 100});
  Move({310, 100});
  EXPECT_DOUBLE_EQ(-1, chart().BottomAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(7, chart().BottomAxisRef().Maximum());
}

TEST_F(PanTest, UndoAfterPanningRestoresTheRanges) {
  Press(mbRight, {300, 100});
  Move({310, 110});
  Release(mbRight, {310, 110});
  chart().CancelZoom();
  EXPECT_TRUE(chart().BottomAxisRef().Automatic());
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, WheelDownMovesTheVerticalAxesUpByThreePercent) {
  int scrolls = 0;
  chart().OnScroll = [&](TChart&) { ++scrolls; };
  Wheel(-120);
  EXPECT_DOUBLE_EQ(1.95, chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(66.95, chart().LeftAxisRef().Maximum());
  EXPECT_TRUE(chart().BottomAxisRef().Automatic());
  EXPECT_EQ(0, scrolls);
  EXPECT_TRUE(chart().ScalesRestored());
}

TEST_F(ZoomScrollTest, WheelUpMovesDownAndHalfNotchesAddUp) {
  chart().SetAllowZoom(false);
  chart().SetAllowPanning(pmNone);
  Wheel(60);
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  Wheel(60);
  EXPECT_DOUBLE_EQ(-1.95, chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(63.05, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, BackgroundHandlerKeepsALeftPressFromZooming) {
  int clicks = 0;
  chart().OnClickBackground = [&](TChart&, TMouseButton button, TShiftState, int x, int y) {
    ++clicks;
    EXPECT_EQ(mbLeft, button);
    EXPECT_EQ(100, x);
    EXPECT_EQ(50, y);
  };
  Press(mbLeft, {100, 50});
  EXPECT_EQ(1, clicks);
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_FALSE(chart().MouseHandled());
}

TEST_F(ZoomScrollTest, BackgroundHandlerClearingMouseHandledLetsTheZoomStart) {
  chart().OnClickBackground = [&](TChart& sender, TMouseButton, TShiftState, int, int) {
    sender.SetMouseHandled(false);
  };
  Press(mbLeft, {100, 50});
  EXPECT_TRUE(chart().ZoomDrag().Dragging);
  Release(mbLeft, {100, 50});
}

TEST_F(ZoomScrollTest, MiddlePressStartsNoDragAndRunsOnlyTheBackgroundClick) {
  int clicks = 0;
  chart().OnClickBackground = [&](TChart&, TMouseButton button, TShiftState, int, int) {
    EXPECT_EQ(mbMiddle, button);
    ++clicks;
  };
  Press(mbMiddle, {100, 50});
  EXPECT_EQ(1, clicks);
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_FALSE(chart().PanDrag().Dragging);
  Release(mbMiddle, {100, 50});
}

TEST_F(ZoomScrollTest, PressOutsideThePlotAreaOnlyReachesTheBackground) {
  int clicks = 0;
  chart().OnClickBackground = [&](TChart&, TMouseButton, TShiftState, int, int) { ++clicks; };
  Press(mbLeft, {3, 3});
  EXPECT_EQ(1, clicks);
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_EQ(PartNone, chart().FindClickedPart(3, 3).Kind);
}

TEST_F(ZoomScrollTest, PressSetAsHandledBeforehandIsIgnored) {
  chart().OnMouseDown = [](TChart& sender, TMouseButton, TShiftState, int, int) { sender.SetMouseHandled(true); };
  Press(mbLeft, {100, 50});
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_FALSE(chart().MouseHandled());
}

TEST_F(ZoomScrollTest, AxisClickGoesToTheAxisHandler) {
  TCustomChartAxis& left = chart().LeftAxisRef();
  const int x = left.AxisPosition() - 2;
  const int y = (left.StartPixel() + left.EndPixel()) / 2;
  ASSERT_EQ(PartAxis, chart().FindClickedPart(x, y).Kind);
  TCustomChartAxis* clicked = nullptr;
  chart().OnClickAxis = [&](TChart&, TCustomChartAxis& axis, TMouseButton, TShiftState, int, int) { clicked = &axis; };
  Press(mbLeft, {x, y});
  EXPECT_EQ(&left, clicked);
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
}

TEST_F(ZoomScrollTest, AxisPressWithoutHandlerStartsTheZoom) {
  TCustomChartAxis& left = chart().LeftAxisRef();
  Press(mbLeft, {left.AxisPosition() - 2, 100});
  EXPECT_TRUE(chart().ZoomDrag().Dragging);
  Release(mbLeft, {left.AxisPosition() - 2, 100});
}

TEST_F(ZoomScrollTest, SeriesClickReachesTheSeriesAndTheChartHandler) {
  const TPoint at{series_->PointScreenX(4), series_->PointScreenY(4)};
  const TClickedPart part = chart().FindClickedPart(at.X, at.Y);
  ASSERT_EQ(PartSeries, part.Kind);
  EXPECT_EQ(4, part.PointIndex);
  int seriesClicks = 0, chartIndex = -1;
  series_->OnClick = [&](TChartSeries&, int index, TMouseButton, TShiftState, int, int) {
    EXPECT_EQ(4, index);
    ++seriesClicks;
  };
  chart().OnClickSeries = [&](TChart&, TChartSeries& s, int index, TMouseButton, TShiftState, int, int) {
    EXPECT_EQ(series_, &s);
    chartIndex = index;
  };
  Press(mbLeft, at);
  EXPECT_EQ(1, seriesClicks);
  EXPECT_EQ(4, chartIndex);
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
}

TEST_F(ZoomScrollTest, DoubleClickWithoutDoubleClickHandlerGoesToOnClick) {
  const TPoint at{series_->PointScreenX(4), series_->PointScreenY(4)};
  TShiftState seen = 0;
  series_->OnClick = [&](TChartSeries&, int, TMouseButton, TShiftState shift, int, int) { seen = shift; };
  chart().MouseDown(mbLeft, ssLeft | ssDouble, at.X, at.Y);
  EXPECT_TRUE(seen & ssDouble);
}

TEST_F(ZoomScrollTest, SeriesCursorShowsOverTheLineOnly) {
  series_->SetCursor(crHandPoint);
  const TPoint on{series_->PointScreenX(4), series_->PointScreenY(4)};
  Move(on);
  EXPECT_EQ(crHandPoint, chart().Cursor());
  EXPECT_EQ(crHandPoint, window().cursor_shape);
  Move({100, 50});
  EXPECT_EQ(crDefault, chart().Cursor());
  EXPECT_EQ(crDefault, chart().RestingCursor());
}

TEST_F(ZoomScrollTest, LeavingSeriesTakesItsCursorAlong) {
  series_->SetCursor(crHandPoint);
  Move({series_->PointScreenX(4), series_->PointScreenY(4)});
  ASSERT_EQ(crHandPoint, chart().Cursor());
  chart().DetachSeries(*series_);
  EXPECT_EQ(crDefault, chart().Cursor());
  chart().AttachSeries(*series_);
}

TEST_F(ZoomScrollTest, RestingCursorIsTheCursorAfterLoading) {
  chart().BeginLoading();
  chart().SetCursor(crCross);
  chart().EndLoading();
  chart().SetCursor(crDefault);
  Move({100, 50});
  EXPECT_EQ(crCross, chart().Cursor());
}

}  // namespace
