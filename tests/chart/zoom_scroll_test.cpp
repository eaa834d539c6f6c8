// Zoom rectangle, undo, the not-xor frame on the shown frame and the animated zoom, driven
// through the mouse messages a chart window forwards.
#include <vector>

#include "chart/axis_ranges.h"
#include "chart/zoom_scroll.h"
#include "zoom_scroll_fixture.h"

namespace {

TEST(ZoomPanningRecordTest, StartAtSetsAllCornersAndDragging) {
  TZoomPanningRecord drag;
  drag.StartAt(7, 9);
  EXPECT_TRUE(drag.Dragging);
  EXPECT_EQ(7, drag.AnchorX);
  EXPECT_EQ(7, drag.CurrentX);
  EXPECT_EQ(9, drag.AnchorY);
  EXPECT_EQ(9, drag.CurrentY);
}

TEST(ZoomPanningRecordTest, OrderCornersSwapsEachDirectionOnItsOwn) {
  struct Case {
    int ax, ay, cx, cy, ox_anchor, oy_anchor, ox_current, oy_current;
  };
  const Case cases[] = {
      {200, 150, 100, 50, 100, 50, 200, 150},  // up and left: both swap
      {100, 150, 200, 50, 100, 50, 200, 150},  // up and right: only y swaps
      {100, 50, 117, 67, 100, 50, 117, 67},    // down and right: already ordered
  };
  for (const Case& c : cases) {
    TZoomPanningRecord drag{true, c.ax, c.ay, c.cx, c.cy};
    drag.OrderCorners();
    EXPECT_EQ(c.ox_anchor, drag.AnchorX);
    EXPECT_EQ(c.oy_anchor, drag.AnchorY);
    EXPECT_EQ(c.ox_current, drag.CurrentX);
    EXPECT_EQ(c.oy_current, drag.CurrentY);
  }
}

TEST(ZoomSettingsTest, ProcessWideDefaults) {
  EXPECT_EQ(mbLeft, ZoomMouseButton);
  EXPECT_EQ(mbRight, PanMouseButton);
  EXPECT_EQ(0, ZoomShiftKeys);
  EXPECT_EQ(0, PanShiftKeys);
  EXPECT_DOUBLE_EQ(3.0, ZoomStepDivisor);
}

TEST(AxisRangesTest, RestoreSetsFlagsThenTheEndsOfFixedAxes) {
  TChartAxes axes(nullptr);
  const TSideAxes side{&axes.Top(), &axes.Left(), &axes.Right(), &axes.Bottom()};
  axes.Left().SetScaleRange(0, 65);
  const TSavedScales saved = SaveAxisRanges(side);
  axes.Left().SetScaleRange(20, 30);
  axes.Bottom().SetScaleRange(3, 4);
  RestoreAxisRanges(side, saved);
  EXPECT_FALSE(axes.Left().Automatic());
  EXPECT_DOUBLE_EQ(0, axes.Left().Minimum());
  EXPECT_DOUBLE_EQ(65, axes.Left().Maximum());
  EXPECT_TRUE(axes.Bottom().Automatic());
  EXPECT_TRUE(axes.Bottom().AutomaticMinimum());
  EXPECT_TRUE(axes.Bottom().AutomaticMaximum());
}

TEST_F(ZoomScrollTest, DragRightAndDownBeyondSixteenPixelsZooms) {
  const TAxisMapping bottom = Bottom(), left = Left();
  int zooms = 0;
  chart().OnZoom = [&](TChart& sender) {
    EXPECT_EQ(&chart(), &sender);
    ++zooms;
  };
  Drag(mbLeft, {100, 50}, {117, 67});
  EXPECT_EQ(1, zooms);
  EXPECT_TRUE(chart().ZoomApplied());
  EXPECT_FALSE(chart().ScalesRestored());
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_DOUBLE_EQ(bottom.ValueAt(100), chart().BottomAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(bottom.ValueAt(117), chart().BottomAxisRef().Maximum());
  // The lower edge of the rectangle gives the vertical minimum.
  EXPECT_DOUBLE_EQ(left.ValueAt(67), chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(left.ValueAt(50), chart().LeftAxisRef().Maximum());
  EXPECT_FALSE(chart().BottomAxisRef().Automatic());
}

TEST_F(ZoomScrollTest, DragOfSixteenPixelsChangesNothingAndErasesTheFrame) {
  const TBitmap before = Shown();
  const int runs = chart().PipelineRuns();
  const int requests = chart().RepaintRequests();
  int events = 0;
  chart().OnZoom = [&](TChart&) { ++events; };
  chart().OnUndoZoom = [&](TChart&) { ++events; };
  Press(mbLeft, {100, 50});
  Move({110, 70});
  Move({116, 80});
  EXPECT_NE(before, Shown());  // the rectangle is on the screen
  Release(mbLeft, {116, 80});
  EXPECT_EQ(before, Shown());
  EXPECT_EQ(0, events);
  EXPECT_TRUE(chart().ScalesRestored());
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  // Following the pointer drew on the shown frame only: no frame, no repaint request.
  EXPECT_EQ(runs, chart().PipelineRuns());
  EXPECT_EQ(requests, chart().RepaintRequests());
}

TEST_F(ZoomScrollTest, FrameIsNotXorOfTheChartColourOnTheShownPixels) {
  const TBitmap before = Shown();
  const TRgb pen = ColorToRGB(chart().Color(), chart().Device(), clBlack);
  Press(mbLeft, {100, 50});
  Move({140, 90});
  const TBitmap during = Shown();
  auto notXor = [&](int x, int y) { return 0xFF000000u | (~(pen ^ before.Pixel(x, y)) & 0xFFFFFFu); };
  // Outline on columns 100 and 139, rows 50 and 89; the inside stays.
  EXPECT_EQ(notXor(100, 50), during.Pixel(100, 50));
  EXPECT_EQ(notXor(139, 89), during.Pixel(139, 89));
  EXPECT_EQ(notXor(120, 50), during.Pixel(120, 50));
  EXPECT_EQ(before.Pixel(140, 90), during.Pixel(140, 90));
  EXPECT_EQ(before.Pixel(120, 70), during.Pixel(120, 70));
  Release(mbLeft, {110, 60});
  window().PaintNow();
  EXPECT_EQ(before, Shown());
}

TEST_F(ZoomScrollTest, WhiteChartDrawsTheFrameBlack) {
  chart().SetColor(clWhite);
  window().PaintNow();
  const TBitmap before = Shown();
  Press(mbLeft, {100, 50});
  Move({140, 90});
  const TRgb inverted = 0xFF000000u | (~before.Pixel(100, 50) & 0xFFFFFFu);
  EXPECT_EQ(inverted, Shown().Pixel(100, 50));
  Release(mbLeft, {101, 51});
}

TEST_F(ZoomScrollTest, FrameSurvivesARepaintDuringTheDragAndIsStillErased) {
  const TBitmap before = Shown();
  Press(mbLeft, {100, 50});
  Move({140, 90});
  const TBitmap during = Shown();
  chart().InvalidateChart();
  window().PaintNow();
  EXPECT_EQ(during, Shown());
  Move({110, 60});
  Release(mbLeft, {110, 60});
  EXPECT_EQ(before, Shown());
  // The next frame is drawn in copy mode again.
  chart().InvalidateChart();
  window().PaintNow();
  EXPECT_EQ(before, Shown());
}

TEST_F(ZoomScrollTest, DragUpAndLeftAfterAZoomRestoresAndFiresUndo) {
  Drag(mbLeft, {100, 50}, {150, 100});
  window().PaintNow();
  int undos = 0;
  chart().OnUndoZoom = [&](TChart&) { ++undos; };
  Drag(mbLeft, {200, 150}, {100, 50});
  EXPECT_EQ(1, undos);
  EXPECT_FALSE(chart().ZoomApplied());
  EXPECT_TRUE(chart().ScalesRestored());
  EXPECT_DOUBLE_EQ(0, chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  // The bottom axis was automatic before the zoom and is again.
  EXPECT_TRUE(chart().BottomAxisRef().Automatic());
  window().PaintNow();
  EXPECT_DOUBLE_EQ(0, chart().BottomAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(20, chart().BottomAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, UndoWithoutZoomFiresUndoAndRestoresNothing) {
  chart().LeftAxisRef().SetScaleRange(0, 30);  // as program code would between zooms
  int undos = 0;
  chart().OnUndoZoom = [&](TChart&) { ++undos; };
  Drag(mbLeft, {200, 150}, {100, 50});
  EXPECT_EQ(1, undos);
  EXPECT_DOUBLE_EQ(30, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, DragUpAndRightIsAnUndoNotAZoom) {
  Drag(mbLeft, {100, 50}, {150, 100});
  int zooms = 0, undos = 0;
  chart().OnZoom = [&](TChart&) { ++zooms; };
  chart().OnUndoZoom = [&](TChart&) { ++undos; };
  Drag(mbLeft, {100, 150}, {200, 50});
  EXPECT_EQ(0, zooms);
  EXPECT_EQ(1, undos);
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, RangesSetBetweenZoomAndUndoAreOverwritten) {
  Drag(mbLeft, {100, 50}, {150, 100});
  chart().LeftAxisRef().SetScaleRange(0, 12);
  chart().CancelZoom();
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
  chart().LeftAxisRef().SetScaleRange(0, 12);
  chart().CancelZoom();  // restores only once
  EXPECT_DOUBLE_EQ(12, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, ReleaseOfAnotherButtonKeepsTheZoomDrag) {
  Press(mbLeft, {100, 50});
  Release(mbRight, {150, 100});
  EXPECT_TRUE(chart().ZoomDrag().Dragging);
  Press(mbRight, {150, 100});  // ignored while zooming
  EXPECT_FALSE(chart().PanDrag().Dragging);
  Release(mbLeft, {150, 100});
  EXPECT_FALSE(chart().ZoomDrag().Dragging);
  EXPECT_TRUE(chart().ZoomApplied());
}

TEST_F(ZoomScrollTest, NoZoomWhenNotAllowed) {
  chart().SetAllowZoom(false);
  Drag(mbLeft, {100, 50}, {150, 100});
  EXPECT_FALSE(chart().ZoomApplied());
  EXPECT_DOUBLE_EQ(65, chart().LeftAxisRef().Maximum());
}

// Left axis minimum and maximum of every frame drawn.
std::vector<std::pair<double, double>> RecordFrames(TChart& chart) {
  std::vector<std::pair<double, double>> frames;
  chart.OnAfterDraw = [&frames](TChart& c) { frames.emplace_back(c.LeftAxisRef().Minimum(), c.LeftAxisRef().Maximum()); };
  chart.ZoomTo(20, 50, 20, 50, 2, 4, 2, 4);
  chart.OnAfterDraw = nullptr;
  return frames;
}

TEST_F(ZoomScrollTest, AnimatedZoomWithOneStepJumpsAtOnce) {
  chart().SetAnimatedZoom(true);
  chart().SetAnimatedZoomSteps(1);
  window().PaintNow();
  EXPECT_TRUE(RecordFrames(chart()).empty());
  EXPECT_DOUBLE_EQ(20, chart().LeftAxisRef().Minimum());
  EXPECT_DOUBLE_EQ(50, chart().LeftAxisRef().Maximum());
}

TEST_F(ZoomScrollTest, AnimatedZoomCoversAThirdOfTheRestPerRepaintedStep) {
  chart().SetAnimatedZoom(true);
  chart().SetAnimatedZoomSteps(3);
  window().PaintNow();
  const auto frames = RecordFrames(chart());
  ASSERT_EQ(2u, frames.size());
  EXPECT_DOUBLE_EQ(20.0 / 3, frames[0].first);  // 0 + (20 - 0) / 3
  EXPECT_DOUBLE_EQ(60, frames[0].second);       // 65 - (65 - 50) / 3
  EXPECT_DOUBLE_EQ(20.0 / 3 + (20 - 20.0 / 3) / 3, frames[1].first);
  EXPECT_DOUBLE_EQ(60 - 10.0 / 3, frames[1].second);
  EXPECT_DOUBLE_EQ(20, chart().LeftAxisRef().Minimum());
}

TEST_F(ZoomScrollTest, AnimatedZoomOffOrNoStepsDrawsNoIntermediateFrame) {
  chart().SetAnimatedZoomSteps(0);
  window().PaintNow();
  EXPECT_TRUE(RecordFrames(chart()).empty());
  chart().SetAnimatedZoom(true);
  window().PaintNow();
  EXPECT_TRUE(RecordFrames(chart()).empty());
}

}  // namespace
