// The paint pipeline: the order of a frame's parts and its geometry through the recording
// canvas, pixels of a frame on the real canvas, and the repaint control of a chart in a
// stand-in window (requests, exposes served from the frame).

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart_fixture.h"

namespace {

class PaintTest : public ChartFixture {
 protected:
  // Marks an event in the canvas log, so events and canvas calls share one order.
  void MarkEvents() {
    chart().OnBeforeDrawAxes = [this](TChart&) { canvas().PlotPixel(-1, -1, 1); };
    chart().OnBeforeDrawSeries = [this](TChart&) { canvas().PlotPixel(-1, -1, 2); };
    chart().OnAfterDraw = [this](TChart&) { canvas().PlotPixel(-1, -1, 3); };
  }
  void HideAllAxes() {
    for (TCustomChartAxis* axis : chart().AxesList()) axis->SetVisible(false);
  }
};

TEST_F(PaintTest, HistoryChartPlotAreaBeforeTitlesAndAxes) {
  chart().Title().SetVisible(false);
  chart().SetAxisVisible(false);
  TRect seen;
  chart().OnBeforeDrawSeries = [&](TChart& c) { seen = c.PlotArea(); };
  Render();
  EXPECT_EQ(seen, (TRect{25, 10, 792, 240}));
  EXPECT_EQ(chart().FrameBounds(), (TRect{0, 0, 817, 250}));
  EXPECT_EQ(canvas().CallsStartingWith("BeginFrame("), std::vector<std::string>{"BeginFrame(0,0,817,250,false)"});
  EXPECT_EQ(canvas().CallsStartingWith("DrawBox("), std::vector<std::string>{"DrawBox(25,10,793,241)"});
}

TEST_F(PaintTest, FrameDrawsItsPartsInOrder) {
  MarkEvents();
  HideAllAxes();
  chart().Title().SetText({"TChart"});
  MarkingSeries series;
  series.AddPoint(1, 1);
  series.AddPoint(2, 2);
  series.SetParentChart(&chart());
  Render();
  const std::vector<std::string> order = {
      "BeginFrame(",        "PaintBackground(0,0,817,250)", "MovePen(0,249)",
      "BeginFrontPlane(",   "WriteText(387,10,\"TChart\")",  "EndFrontPlane(",
      "SetProjection(0,0,0,817,250,25,28,792,240)",         "DrawBox(25,28,793,241)",
      "PlotPixel(-1,-1,1)", "PlotPixel(-1,-1,2)",           "ClipToBox(25,28,792,240,0,0)",
      "PlotPixel(0,0,255)", "PlotPixel(1,0,255)",           "RemoveClipping(",
      "PlotPixel(-1,-1,3)", "EndFrame(0,0,817,250)"};
  int previous = -1;
  for (const std::string& call : order) {
    const int at = IndexOf(call);
    EXPECT_GT(at, previous) << call;
    previous = at;
  }
  EXPECT_EQ(series.prepared, 1);
}

TEST_F(PaintTest, PanelBackgroundAndRaisedBevel) {
  chart().SetAxisVisible(false);
  Render();
  const TRecordedCall* fill = FirstRecord("PaintBackground(");
  ASSERT_NE(fill, nullptr);
  EXPECT_EQ(fill->brush_color, clBtnFace);
  EXPECT_EQ(fill->brush_style, bsSolid);
  std::vector<std::pair<std::string, TColor>> bevel;
  for (const TRecordedCall& record : canvas().Records()) {
    if (record.call.starts_with("BeginFrontPlane")) break;
    if (record.call.starts_with("MovePen") || record.call.starts_with("DrawLineTo"))
      bevel.emplace_back(record.call, record.pen_color);
  }
  const std::vector<std::pair<std::string, TColor>> expected = {
      {"MovePen(0,249)", clBtnHighlight},    {"DrawLineTo(0,0)", clBtnHighlight},
      {"DrawLineTo(816,0)", clBtnHighlight}, {"MovePen(816,0)", clBtnShadow},
      {"DrawLineTo(816,249)", clBtnShadow},  {"DrawLineTo(-1,249)", clBtnShadow}};
  EXPECT_EQ(bevel, expected);
}

TEST_F(PaintTest, BorderAndInnerBevelNestInsideTheOuterOne) {
  chart().SetAxisVisible(false);
  chart().SetBorderWidth(2);
  chart().SetBevelInner(bvLowered);
  TRect plot;
  chart().OnBeforeDrawSeries = [&](TChart& c) { plot = c.PlotArea(); };
  Render();
  std::vector<std::pair<std::string, TColor>> moves;
  for (const TRecordedCall& record : canvas().Records())
    if (record.call.starts_with("MovePen")) moves.emplace_back(record.call, record.pen_color);
  const std::vector<std::pair<std::string, TColor>> expected = {
      {"MovePen(0,249)", clBtnHighlight}, {"MovePen(816,0)", clBtnShadow},  // outer, raised
      {"MovePen(1,248)", clBtnFace},      {"MovePen(815,1)", clBtnFace},    // border
      {"MovePen(2,247)", clBtnFace},      {"MovePen(814,2)", clBtnFace},
      {"MovePen(3,246)", clBtnShadow},    {"MovePen(813,3)", clBtnHighlight}};  // inner, lowered
  EXPECT_EQ(moves, expected);
  // The border is kept free of the chart; the bevels are not subtracted.
  EXPECT_EQ(plot, (TRect{27, 12, 790, 238}));
}

TEST_F(PaintTest, SeriesWithoutVisiblePointsIsSkippedWholly) {
  HideAllAxes();
  MarkingSeries empty;
  int before = 0, after = 0;
  empty.BeforeDrawValues = [&](TChartSeries&) { ++before; };
  empty.AfterDrawValues = [&](TChartSeries&) { ++after; };
  empty.SetParentChart(&chart());
  Render();
  EXPECT_EQ(before + after, 0);
  EXPECT_TRUE(canvas().CallsStartingWith("ClipToBox(").empty());
  empty.AddPoint(5, 5);
  Render();
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
}

TEST_F(PaintTest, ClipPointsOffDrawsTheSeriesUnclipped) {
  HideAllAxes();
  chart().SetClipPoints(false);
  MarkingSeries series;
  series.AddPoint(1, 1);
  series.SetParentChart(&chart());
  Render();
  EXPECT_EQ(canvas().CallsStartingWith("PlotPixel(0,0"), std::vector<std::string>{"PlotPixel(0,0,255)"});
  EXPECT_TRUE(canvas().CallsStartingWith("ClipToBox(").empty());
}

TEST_F(PaintTest, GradientReplacesThePanelColour) {
  chart().SetAxisVisible(false);
  chart().Gradient().SetVisible(true);
  Render();
  EXPECT_TRUE(canvas().CallsStartingWith("PaintBackground(").empty());
  EXPECT_EQ(canvas().CallsStartingWith("FillGradient(").size(), 1u);
}

TEST_F(PaintTest, HiddenAxesSkipTheAxesEventOnly) {
  MarkEvents();
  chart().SetAxisVisible(false);
  Render();
  EXPECT_EQ(IndexOf("PlotPixel(-1,-1,1)"), -1);
  EXPECT_GE(IndexOf("PlotPixel(-1,-1,2)"), 0);
  EXPECT_GT(IndexOf("PlotPixel(-1,-1,3)"), IndexOf("PlotPixel(-1,-1,2)"));
}

TEST_F(PaintTest, InactiveSeriesIsNeitherPreparedNorDrawn) {
  HideAllAxes();
  MarkingSeries series;
  series.AddPoint(1, 1);
  series.SetActive(false);
  series.SetParentChart(&chart());
  Render();
  EXPECT_EQ(series.prepared, 0);
  EXPECT_TRUE(canvas().CallsStartingWith("PlotPixel(0,0").empty());
}

TEST_F(PaintTest, TitleAndFootTakeTheirRoomBeforeTheWall) {
  HideAllAxes();
  chart().Title().SetText({"top"});
  chart().Foot().SetText({"foot"});
  Render();
  // 10 + 13 + 5 at the top, 240 - 13 - 5 at the bottom; the foot line sits at 227.
  EXPECT_EQ(canvas().CallsStartingWith("DrawBox("), std::vector<std::string>{"DrawBox(25,28,793,223)"});
  EXPECT_EQ(canvas().CallsStartingWith("WriteText("),
            (std::vector<std::string>{"WriteText(398,10,\"top\")", "WriteText(394,227,\"foot\")"}));
  EXPECT_LT(IndexOf("EndFrontPlane("), IndexOf("DrawBox("));
}

// --- axis layout ----------------------------------------------------------------------------

class LayoutTest : public PaintTest {
 protected:
  LayoutTest() {
    chart().Title().SetVisible(false);
    chart().OnBeforeDrawAxes = [this](TChart& c) { plot_ = c.PlotArea(); };
  }
  TRect plot_;
};

TEST_F(LayoutTest, WithoutSeriesEverySideAxisTakesItsRoom) {
  Render();
  // Bottom and top: labels along the axis (one 13-pixel line) and 6 for ticks; left and
  // right: no labels without series, 6 for ticks.
  EXPECT_EQ(plot_, (TRect{25 + 6, 10 + 13 + 6, 792 - 6, 240 - 13 - 6}));
}

TEST_F(LayoutTest, AnAxisThatWouldLeaveNoRoomIsLeftOut) {
  chart().LeftAxisRef().SetLabelsSize(1000);
  Render();
  EXPECT_EQ(plot_, (TRect{25, 10 + 13 + 6, 792 - 6, 240 - 13 - 6}));
}

TEST_F(LayoutTest, AxesDrawBetweenTheWallAndTheSeries) {
  MarkEvents();
  MarkingSeries series;
  series.AddPoint(0, 0);
  series.AddPoint(10, 8);
  series.SetParentChart(&chart());
  Render();
  const int wall = IndexOf("DrawBox(");
  const int axes_event = IndexOf("PlotPixel(-1,-1,1)");
  const int series_event = IndexOf("PlotPixel(-1,-1,2)");
  ASSERT_GT(wall, 0);
  EXPECT_EQ(axes_event, wall + 1);
  EXPECT_GT(series_event, axes_event + 1);  // the axes drew in between
  EXPECT_GT(IndexOf("ClipToBox("), series_event);
}

// --- the real canvas ------------------------------------------------------------------------

class RealCanvasTest : public ::testing::Test {
 protected:
  RealCanvasTest() {
    chart_.Resize(817, 250);
    chart_.SetView3D(false);
    chart_.Legend().SetVisible(false);
    chart_.Title().SetVisible(false);
    chart_.SetAxisVisible(false);
  }
  TBitmap RenderImage(int width, int height) {
    TBitmap image(width, height, 0xFFFF00FF);
    TCanvas target(device_, &image);
    chart_.RenderChart(target, {0, 0, width, height});
    return image;
  }
  TRgb System(int index) const { return device_.SystemColor(index); }

  TPlainDevice device_;
  TChart chart_{device_};
};

TEST_F(RealCanvasTest, BevelAndBackWallPixels) {
  const TBitmap image = RenderImage(817, 250);
  const TRgb face = System(15), highlight = System(20), shadow = System(16), black = MakeRgb(0, 0, 0);
  ASSERT_NE(highlight, shadow);
  EXPECT_EQ(image.Pixel(0, 0), highlight);
  EXPECT_EQ(image.Pixel(0, 120), highlight);
  EXPECT_EQ(image.Pixel(815, 0), highlight);
  EXPECT_EQ(image.Pixel(816, 0), shadow);
  EXPECT_EQ(image.Pixel(816, 120), shadow);
  EXPECT_EQ(image.Pixel(0, 249), shadow);
  EXPECT_EQ(image.Pixel(400, 249), shadow);
  EXPECT_EQ(image.Pixel(1, 1), face);
  // The back wall's frame lies on the plot area's edges, inclusive.
  for (int y : {10, 100, 240}) {
    EXPECT_EQ(image.Pixel(25, y), black) << y;
    EXPECT_EQ(image.Pixel(792, y), black) << y;
  }
  for (int x : {25, 400, 792}) {
    EXPECT_EQ(image.Pixel(x, 10), black) << x;
    EXPECT_EQ(image.Pixel(x, 240), black) << x;
  }
  // Inside the clear wall and outside it: the panel colour.
  for (TPoint p : {TPoint{26, 11}, TPoint{791, 239}, TPoint{24, 100}, TPoint{793, 100}, TPoint{400, 9},
                   TPoint{400, 241}})
    EXPECT_EQ(image.Pixel(p.X, p.Y), face) << p.X << "," << p.Y;
}

TEST_F(RealCanvasTest, FilledBackWallCoversTheInsideOnly) {
  chart_.SetBackColor(clWhite);
  const TBitmap image = RenderImage(817, 250);
  EXPECT_EQ(image.Pixel(26, 11), MakeRgb(255, 255, 255));
  EXPECT_EQ(image.Pixel(791, 239), MakeRgb(255, 255, 255));
  EXPECT_EQ(image.Pixel(25, 11), MakeRgb(0, 0, 0));
  EXPECT_EQ(image.Pixel(24, 11), System(15));
}

// --- repaint control of a shown chart ---------------------------------------------------------

class ShownChartTest : public RealCanvasTest {
 protected:
  ShownChartTest() { window_.PaintNow(); }  // shown: the first expose

  TStandInWindow window_{chart_, 817, 250};
};

TEST_F(ShownChartTest, EveryRequestReachesTheWindowAndItsPaintDrawsOneFrame) {
  const int runs = chart_.PipelineRuns();
  ASSERT_GE(runs, 1);
  const int invalidations = window_.invalidations;
  for (int i = 0; i < 10; ++i) chart_.SetMarginLeft(4 + i);
  chart_.Title().SetText({"share"});
  chart_.InvalidateChart();
  EXPECT_EQ(window_.invalidations, invalidations + 12);
  EXPECT_EQ(chart_.PipelineRuns(), runs);  // never at once
  window_.Settle();
  EXPECT_EQ(chart_.PipelineRuns(), runs + 1);
}

TEST_F(ShownChartTest, ExposeWithoutChangeIsServedFromTheFrame) {
  const int runs = chart_.PipelineRuns();
  const int presents = device_.Presents();
  window_.PaintNow();
  EXPECT_EQ(chart_.PipelineRuns(), runs);
  EXPECT_EQ(device_.Presents(), presents + 1);
  EXPECT_EQ(device_.Screen(), *static_cast<TChartCanvas3D*>(chart_.Canvas())->FrameBitmap());
  chart_.RefreshChart();  // a change paints before returning
  EXPECT_EQ(chart_.PipelineRuns(), runs + 1);
}

TEST_F(ShownChartTest, SettingTheSameValueCausesNoPaint) {
  const int runs = chart_.PipelineRuns();
  chart_.SetMarginLeft(3);
  chart_.SetColor(clBtnFace);
  chart_.Title().SetVisible(false);
  window_.Settle();
  EXPECT_EQ(chart_.PipelineRuns(), runs);
}

TEST_F(ShownChartTest, OffScreenFrameOfAnotherSizeMakesTheWindowRedraw) {
  int runs = chart_.PipelineRuns();
  RenderImage(817, 250);
  window_.PaintNow();
  EXPECT_EQ(chart_.PipelineRuns(), runs + 1);  // the off-screen frame only
  runs = chart_.PipelineRuns();
  const TBitmap small = RenderImage(100, 60);
  EXPECT_EQ(small.Pixel(0, 0), System(20));
  window_.PaintNow();
  EXPECT_EQ(chart_.PipelineRuns(), runs + 2);
}

TEST_F(ShownChartTest, ResizeDrawsANewFrame) {
  const int runs = chart_.PipelineRuns();
  window_.Resize(600, 200);
  window_.Settle();
  EXPECT_EQ(chart_.PipelineRuns(), runs + 1);
  EXPECT_EQ(chart_.FrameBounds(), (TRect{0, 0, 600, 200}));
}

}  // namespace
