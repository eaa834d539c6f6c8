// Drawing of an axis read back through the recording canvas (labels, axis line, ticks, grid,
// minor ticks, title, draw order and pens), the hit test, and a few pixels on the real canvas.
#include <gtest/gtest.h>

#include "axis_fixture.h"
#include "chart/axis_ticks.h"

namespace {

class AxisPaintTest : public AxisFixture {
 protected:
  // The left axis fixed to 0..8 on 200 pixels: labels 8, 7, ..., 0 at y = 10, 35, ..., 210.
  void CountsFrom0To8() {
    AddSeries().AddPoint(1, 3);
    Left().SetScaleRange(0, 8);
    Layout({10, 10, 210, 210});
    Left().SetLabelsPosition(3);
  }
  const TRecordedCall& Record(const std::string& prefix) const {
    const TRecordedCall* record = FirstRecord(prefix);
    EXPECT_NE(record, nullptr) << prefix;
    static const TRecordedCall none{};
    return record ? *record : none;
  }
};

TEST_F(AxisPaintTest, LeftAxisLabelsTicksGridAndLine) {
  CountsFrom0To8();
  Paint(Left());
  const std::vector<std::string> drawing = Drawing();
  ASSERT_GE(drawing.size(), 10u);
  // Right-aligned, half a line up, at the labels' edge.
  EXPECT_EQ(drawing[0], "WriteTextAtDepth(3,4,\"8\",0)");
  EXPECT_EQ(drawing[1], "WriteTextAtDepth(3,29,\"7\",0)");
  EXPECT_EQ(drawing[8], "WriteTextAtDepth(3,204,\"0\",0)");
  EXPECT_EQ(drawing[9], "DrawVerticalLine(10,10,210)");
  EXPECT_EQ(Count("WriteTextAtDepth"), 9);
  // Outer ticks from one pixel left of the line, 4 long; grid across the plot area; inner ticks
  // of length 0 one pixel inside.
  EXPECT_EQ(Count("DrawHorizontalLineAtDepth(9,5,"), 9);
  EXPECT_EQ(Count("DrawHorizontalLineAtDepth(10,210,"), 9);
  EXPECT_EQ(Count("DrawHorizontalLineAtDepth(11,11,"), 9);
  EXPECT_EQ(drawing[10], "DrawHorizontalLineAtDepth(9,5,10,0)");
  EXPECT_EQ(drawing[19], "DrawHorizontalLineAtDepth(10,210,10,0)");
  // Three minor ticks in each of the 8 gaps; none beyond the ends, which lie on the axis ends.
  const std::vector<std::string> minor = canvas().CallsStartingWith("DrawHorizontalLineAtDepth(9,7,");
  ASSERT_EQ(minor.size(), 24u);
  EXPECT_EQ(minor[0], "DrawHorizontalLineAtDepth(9,7,29,0)");
  EXPECT_EQ(minor[1], "DrawHorizontalLineAtDepth(9,7,23,0)");
  EXPECT_EQ(minor[2], "DrawHorizontalLineAtDepth(9,7,16,0)");
}

// A stage draws on the frame it is given, not on the panel's own state: the axis line at the
// frame's plot area, the grid across it, a printed frame's thinnest grid pen, and the label
// brush in the frame's panel colour.
TEST_F(AxisPaintTest, DrawsOnTheFrameItIsGiven) {
  CountsFrom0To8();
  TFrameContext frame = chart().FrameContext();
  frame.plot_area = {40, 10, 140, 210};
  frame.printing = true;
  frame.panel_color = clRed;
  canvas().Clear();
  PaintAxis(Left(), frame, true);
  EXPECT_EQ(Count("DrawVerticalLine(40,10,210)"), 1);
  const TRecordedCall& grid = Record("DrawHorizontalLineAtDepth(40,140,");
  EXPECT_EQ(grid.pen_width, 0);
  EXPECT_EQ(Record("WriteTextAtDepth(").brush_color, clRed);
  EXPECT_EQ(chart().PlotArea(), (TRect{10, 10, 210, 210}));
}

TEST_F(AxisPaintTest, EachPartIsDrawnWithItsOwnPen) {
  CountsFrom0To8();
  Left().Ticks().SetColor(clRed);
  Paint(Left());
  const TRecordedCall& line = Record("DrawVerticalLine(10,10,210)");
  EXPECT_EQ(line.pen_width, 2);
  EXPECT_EQ(line.pen_color, clBlack);
  EXPECT_EQ(Record("DrawHorizontalLineAtDepth(9,5,").pen_color, clRed);
  const TRecordedCall& grid = Record("DrawHorizontalLineAtDepth(10,210,");
  EXPECT_EQ(grid.pen_color, clGray);
  EXPECT_EQ(grid.pen_style, psDot);
  EXPECT_EQ(Record("DrawHorizontalLineAtDepth(9,7,").pen_color, clGray);
  EXPECT_EQ(Record("WriteTextAtDepth").brush_style, bsClear);
}

TEST_F(AxisPaintTest, GridOfDefaultColourIsGrayAndDrawnOnATransparentBackground) {
  CountsFrom0To8();
  Left().Grid().SetColor(clDefault);
  Paint(Left());
  EXPECT_EQ(Record("DrawHorizontalLineAtDepth(10,210,").pen_color, clGray);
  const std::vector<std::string> calls = canvas().Calls();
  const int grid = IndexOf("DrawHorizontalLineAtDepth(10,210,");
  EXPECT_EQ(calls[grid - 1], "SetBackgroundMode(1)");
  EXPECT_EQ(IndexOf("SetBackgroundMode(2)"), grid + 9);
}

TEST_F(AxisPaintTest, HiddenPensDrawNothing) {
  CountsFrom0To8();
  Left().Axis().SetVisible(false);
  Left().Ticks().SetVisible(false);
  Left().TicksInner().SetVisible(false);
  Left().Grid().SetVisible(false);
  Left().MinorTicks().SetVisible(false);
  Paint(Left());
  EXPECT_EQ(Count("Draw"), 0);
  EXPECT_EQ(Count("WriteTextAtDepth"), 9);
}

TEST_F(AxisPaintTest, MinorGridFollowsTheMinorTicks) {
  CountsFrom0To8();
  Left().MinorGrid().SetVisible(true);
  Left().MinorGrid().SetColor(clRed);
  Paint(Left());
  const std::vector<std::string> grid = canvas().CallsStartingWith("DrawHorizontalLineAtDepth(10,210,");
  ASSERT_EQ(grid.size(), 9u + 24u);
  EXPECT_EQ(grid[9], "DrawHorizontalLineAtDepth(10,210,29,0)");
  EXPECT_EQ(canvas().Records()[IndexOf("DrawHorizontalLineAtDepth(10,210,29,")].pen_color, clRed);
}

TEST_F(AxisPaintTest, CentredGridLiesMidwayBetweenLabels) {
  CountsFrom0To8();
  Left().SetGridCentered(true);
  Paint(Left());
  // One fewer than labels, at Nearest of each midpoint: 22.5 -> 22, 47.5 -> 48, ...
  EXPECT_EQ(canvas().CallsStartingWith("DrawHorizontalLineAtDepth(10,210,"),
            (std::vector<std::string>{"DrawHorizontalLineAtDepth(10,210,22,0)", "DrawHorizontalLineAtDepth(10,210,48,0)",
                                      "DrawHorizontalLineAtDepth(10,210,72,0)", "DrawHorizontalLineAtDepth(10,210,98,0)",
                                      "DrawHorizontalLineAtDepth(10,210,122,0)", "DrawHorizontalLineAtDepth(10,210,148,0)",
                                      "DrawHorizontalLineAtDepth(10,210,172,0)",
                                      "DrawHorizontalLineAtDepth(10,210,198,0)"}));
}

TEST_F(AxisPaintTest, LabelsOffTheAxisEndsOnlyWithLabelsOnAxis) {
  CountsFrom0To8();
  Left().SetLabelsOnAxis(false);
  Paint(Left());
  EXPECT_EQ(Count("WriteTextAtDepth"), 7);
  EXPECT_EQ(Count("WriteTextAtDepth(3,4,"), 0);
}

TEST_F(AxisPaintTest, TicksWithoutLabelsOnlyWhenNotTiedToLabels) {
  CountsFrom0To8();
  Left().SetLabels(false);
  Paint(Left());
  EXPECT_EQ(Count("DrawHorizontalLineAtDepth(9,5,"), 0);
  Left().SetTickOnLabelsOnly(false);
  Paint(Left());
  EXPECT_EQ(Count("DrawHorizontalLineAtDepth(9,5,"), 9);
  EXPECT_EQ(Count("Write"), 0);
}

TEST_F(AxisPaintTest, TitleFirstThenLabelsThenLines) {
  CountsFrom0To8();
  Left().Title().SetCaption("Counts");
  Left().Title().Font().SetColor(clBlue);
  Left().SetTitlePosition(1);
  Paint(Left());
  // Reads upward, centred on the axis: angle 90 on the left side is centre, bottom at x.
  const int title = IndexOf("WriteRotatedTextAtDepth(1,110,90,\"Counts\",0)");
  ASSERT_GE(title, 0);
  EXPECT_EQ(canvas().Records()[title].font_color, clBlue);
  EXPECT_LT(title, IndexOf("WriteTextAtDepth(3,4,\"8\",0)"));
  EXPECT_EQ(Record("WriteTextAtDepth(3,4,").font_color, clBlack);
  EXPECT_LT(IndexOf("WriteTextAtDepth(3,204,"), IndexOf("DrawVerticalLine"));
  EXPECT_LT(IndexOf("DrawVerticalLine"), IndexOf("DrawHorizontalLineAtDepth(9,5,"));
  EXPECT_LT(IndexOf("DrawHorizontalLineAtDepth(9,5,"), IndexOf("DrawHorizontalLineAtDepth(10,210,"));
  EXPECT_LT(IndexOf("DrawHorizontalLineAtDepth(10,210,"), IndexOf("DrawHorizontalLineAtDepth(11,11,"));
  EXPECT_LT(IndexOf("DrawHorizontalLineAtDepth(11,11,"), IndexOf("DrawHorizontalLineAtDepth(9,7,"));
}

TEST_F(AxisPaintTest, AxisLineFollowsThePlotAreaAndPositionPercent) {
  CountsFrom0To8();
  Bottom().SetPositionPercent(10);
  Paint(Bottom());
  EXPECT_EQ(Bottom().AxisPosition(), 210 - 20);
  EXPECT_EQ(Count("DrawHorizontalLine(10,210,190)"), 1);
}

TEST_F(AxisPaintTest, SingleLabelledPointSitsAtTheCentre) {
  AddSeries().AddPoint(5, 1, "only");
  Layout({10, 10, 210, 210});
  Bottom().SetLabelsPosition(220);
  Paint(Bottom());
  EXPECT_EQ(canvas().CallsStartingWith("Write"), (std::vector<std::string>{"WriteTextAtDepth(110,220,\"only\",0)"}));
  // The outer tick under it: from one pixel below the axis line, 4 long.
  EXPECT_EQ(Count("DrawVerticalLineAtDepth(110,211,215,0)"), 1);
}

TEST_F(AxisPaintTest, FirstPointWithoutLabelGivesValueLabels) {
  TChartSeries& series = AddSeries();
  series.AddPoint(0, 1, "");
  series.AddPoint(4, 1, "later");
  Layout({10, 10, 210, 210});
  Paint(Bottom());
  EXPECT_EQ(Count("WriteTextAtDepth(110,0,\"2\",0)"), 1);
  EXPECT_EQ(Count("WriteTextAtDepth(110,0,\"later\",0)"), 0);
}

TEST_F(AxisPaintTest, MinorTicksOfALinearAxis) {
  Layout({0, 10, 100, 210});
  // Ticks 10, 35, 60 on a horizontal axis spanning 0..100, three minor ticks per gap.
  const int ticks[] = {10, 35, 60};
  EXPECT_EQ(MinorTickPositions(Bottom(), ticks), (std::vector<int>{4, 66, 72, 79, 29, 23, 16, 54, 48, 41}));
  Bottom().SetMinorTickCount(1);
  EXPECT_EQ(MinorTickPositions(Bottom(), ticks), (std::vector<int>{72, 23, 48}));
}

TEST_F(AxisPaintTest, MinorTicksOfALogarithmicAxis) {
  AddSeries().AddPoint(1, 50);
  Left().SetScaleRange(1, 100);
  Left().SetLogarithmic(true);
  Layout({10, 10, 210, 210});
  // Labels 1, 10, 100 at 210, 110, 10; minor ticks at 1 + 2.25 j and 10 + 22.5 j.
  const int ticks[] = {210, 110, 10};
  EXPECT_EQ(MinorTickPositions(Left(), ticks), (std::vector<int>{159, 136, 121, 59, 36, 21}));
}

TEST_F(AxisPaintTest, MinorTicksOfALogarithmicAxisStopAtTheMaximum) {
  AddSeries().AddPoint(1, 50);
  Left().SetScaleRange(1, 5);
  Left().SetLogarithmic(true);
  Layout({10, 10, 210, 210});
  const int ticks[] = {210, 10};
  // From 1 by 2.25: 3.25 is inside; 5.5 and 7.75 lie beyond 5.
  EXPECT_EQ(MinorTickPositions(Left(), ticks), (std::vector<int>{210 - 146}));
}

TEST_F(AxisPaintTest, TickListHolds2000Positions) {
  TTickList ticks;
  for (int i = 0; i < 2100; ++i) ticks.Add(i);
  ASSERT_EQ(ticks.Positions().size(), 2000u);
  EXPECT_EQ(ticks.Positions().back(), 1999);
}

// --- hit test ------------------------------------------------------------------------------

TEST_F(AxisPaintTest, HitTestReachesThreePixelsIntoTheChart) {
  Layout({25, 10, 792, 240});
  Paint(Left());
  Paint(Bottom());
  Left().SetLabelsPosition(5);
  Bottom().SetLabelsPosition(260);
  ASSERT_EQ(Left().AxisPosition(), 25);
  ASSERT_EQ(Bottom().AxisPosition(), 240);
  struct HitCase {
    const TCustomChartAxis& axis;
    int x, y;
    bool hit;
  };
  const HitCase cases[] = {
      {Left(), 27, 100, true},   {Left(), 28, 100, false},  {Left(), 5, 100, true},    {Left(), 4, 100, false},
      {Left(), 27, 10, true},    {Left(), 27, 240, false},  {Bottom(), 400, 237, true}, {Bottom(), 400, 236, false},
      {Bottom(), 400, 259, true}, {Bottom(), 400, 260, false}, {Bottom(), 791, 250, true}, {Bottom(), 792, 250, false},
  };
  for (const HitCase& c : cases)
    EXPECT_EQ(AxisHitTest(c.axis, c.x, c.y), c.hit) << c.x << "," << c.y;
  // A hidden axis is no click target, wherever it was last drawn.
  EXPECT_EQ(chart().FindClickedPart(27, 100).Kind, PartAxis);
  Left().SetVisible(false);
  EXPECT_NE(chart().FindClickedPart(27, 100).Kind, PartAxis);
}

// --- pixels on the real canvas ---------------------------------------------------------------

class AxisPixelTest : public ::testing::Test {
 protected:
  AxisPixelTest() {
    chart_.Resize(817, 250);
    chart_.SetView3D(false);
    chart_.Legend().SetVisible(false);
    chart_.Title().SetVisible(false);
    chart_.AdoptSeries(std::make_unique<TChartSeries>()).AddPoint(1, 3);
    chart_.LeftAxisRef().SetScaleRange(0, 8);
  }
  TBitmap RenderImage() {
    TBitmap image(817, 250, 0xFFFF00FF);
    TCanvas target(device_, &image);
    chart_.RenderChart(target, {0, 0, 817, 250});
    return image;
  }

  TPlainDevice device_;
  TChart chart_{device_};
};

TEST_F(AxisPixelTest, AxisLineTicksAndDottedGrid) {
  const TBitmap image = RenderImage();
  const TChartAxis& left = chart_.LeftAxisRef();
  const int line = left.AxisPosition();
  const int y = left.ValueToPixel(4);
  const TRect plot = chart_.PlotArea();
  ASSERT_EQ(line, plot.Left);
  const TRgb black = MakeRgb(0, 0, 0), gray = MakeRgb(128, 128, 128), face = device_.SystemColor(15);
  // The axis pen is 2 pixels wide: columns line - 1 and line.
  EXPECT_EQ(image.Pixel(line - 1, y + 3), black);
  EXPECT_EQ(image.Pixel(line, y + 3), black);
  EXPECT_EQ(image.Pixel(line - 2, y + 3), face);
  // The outer tick, from one pixel outside the line, 4 long (the first pixel lies under the line).
  EXPECT_EQ(image.Pixel(line - 2, y), gray);
  EXPECT_EQ(image.Pixel(line - 4, y), gray);
  EXPECT_EQ(image.Pixel(line - 5, y), face);
  // The dotted grid: 3 pixels on, 3 off, from the plot area's left edge.
  for (int x = plot.Left + 6; x < plot.Left + 60; x += 6) {
    EXPECT_EQ(image.Pixel(x, y), gray) << x;
    EXPECT_EQ(image.Pixel(x + 2, y), gray) << x;
    EXPECT_EQ(image.Pixel(x + 3, y), face) << x;
    EXPECT_EQ(image.Pixel(x + 5, y), face) << x;
  }
}

}  // namespace
