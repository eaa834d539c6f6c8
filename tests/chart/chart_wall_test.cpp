// The walls: defaults, the back wall's canvas set-up and its box on the plot area edges.
#include "chart/wall.h"

#include <gtest/gtest.h>

#include "chart_fixture.h"

namespace {

constexpr TRect kPlot{25, 10, 792, 240};

class WallTest : public ChartFixture {
 protected:
  const TRecordedCall& DrawBack() {
    canvas().Clear();
    chart().SetPlotArea(kPlot);
    DrawBackWall(chart().FrameContext(), chart().BackWall());
    const TRecordedCall* box = FirstRecord("DrawBox(");
    EXPECT_NE(box, nullptr);
    return *box;
  }
};

TEST_F(WallTest, EachWallKeepsItsOwnDefaultColour) {
  EXPECT_EQ(chart().BackWall().Color(), clDefault);
  EXPECT_EQ(chart().LeftWall().Color(), TColor(0x80FFFF));
  EXPECT_EQ(chart().BottomWall().Color(), clWhite);
  EXPECT_EQ(chart().BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart().LeftWall().Brush().Style(), bsSolid);
  EXPECT_FALSE(chart().LeftWall().ColorIsStored());
  chart().LeftWall().SetColor(clWhite);
  EXPECT_TRUE(chart().LeftWall().ColorIsStored());
  EXPECT_FALSE(chart().BackWall().AppliesDarkening());  // clear brush
  EXPECT_TRUE(chart().LeftWall().AppliesDarkening());
}

TEST_F(WallTest, BackWallOutlinesThePlotAreaEdgesInclusive) {
  const TRecordedCall& box = DrawBack();
  EXPECT_EQ(box.call, "DrawBox(25,10,793,241)");
  EXPECT_EQ(box.pen_color, clBlack);
  EXPECT_EQ(box.pen_style, psSolid);
  EXPECT_EQ(box.pen_width, 1);
  EXPECT_EQ(box.brush_style, bsClear);
}

TEST_F(WallTest, HiddenPenDrawsNoOutline) {
  chart().BackWall().Pen().SetVisible(false);
  EXPECT_EQ(DrawBack().pen_style, psClear);
}

TEST_F(WallTest, OwnColourWithSolidBrushFillsThePlotArea) {
  chart().BackWall().SetColor(clWhite);
  chart().BackWall().Brush().SetStyle(bsSolid);
  const TRecordedCall& box = DrawBack();
  EXPECT_EQ(box.brush_style, bsSolid);
  EXPECT_EQ(box.brush_color, clWhite);
}

TEST_F(WallTest, DefaultColourWithSolidBrushShowsThePanel) {
  chart().BackWall().Brush().SetStyle(bsSolid);
  chart().BackWall().Brush().SetColor(clRed);
  EXPECT_EQ(DrawBack().brush_style, bsClear);
}

TEST_F(WallTest, HatchInItsOwnBackColourTurnsBlackOrWhite) {
  struct Case {
    TColor color;
    TColor back;
    TColor drawn;
  };
  const Case cases[] = {{kGreen, kGreen, clBlack}, {clBlack, clBlack, clWhite}, {kGreen, clWhite, kGreen}};
  for (const Case& c : cases) {
    chart().BackWall().SetColor(c.color);
    chart().BackWall().Brush().SetStyle(bsCross);
    chart().BackWall().Brush().SetColor(c.back);
    const TRecordedCall& box = DrawBack();
    EXPECT_EQ(box.brush_color, c.drawn) << c.color << " on " << c.back;
    EXPECT_EQ(box.brush_style, bsCross);
    EXPECT_EQ(canvas().CallsStartingWith("SetBackground"),
              (std::vector<std::string>{"SetBackgroundMode(2)", "SetBackgroundColor(" + std::to_string(c.back) + ")"}));
  }
}

TEST_F(WallTest, BrushBitmapIsTakenByTheCanvas) {
  const TBitmap pattern(8, 8, MakeRgb(255, 0, 0));
  chart().BackWall().Brush().SetBitmap(pattern);
  DrawBack();
  ASSERT_TRUE(canvas().Brush().Bitmap().has_value());
  EXPECT_EQ(*canvas().Brush().Bitmap(), pattern);
  chart().BackWall().Brush().SetBitmap(std::nullopt);
  DrawBack();
  EXPECT_FALSE(canvas().Brush().Bitmap().has_value());
}

TEST_F(WallTest, BackColourAndFrameAreTheBackWalls) {
  chart().SetBackColor(clYellow);
  EXPECT_EQ(chart().BackWall().Color(), clYellow);
  EXPECT_EQ(chart().BackWall().Brush().Style(), bsSolid);
  chart().Frame().SetColor(clRed);
  EXPECT_EQ(chart().BackWall().Pen().Color(), clRed);
}

TEST_F(WallTest, SettersRequestARepaintOnlyForANewValue) {
  TChartWall& wall = chart().BackWall();
  const int before = chart().RepaintRequests();
  wall.SetColor(clDefault);
  wall.SetDark3D(true);
  wall.SetSize(0);
  wall.Pen().SetWidth(1);
  wall.Brush().SetStyle(bsClear);
  EXPECT_EQ(chart().RepaintRequests(), before);
  wall.SetSize(3);
  wall.Pen().SetWidth(2);
  EXPECT_EQ(chart().RepaintRequests(), before + 2);
}

}  // namespace
