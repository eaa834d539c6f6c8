// The title and foot: room taken from the plot area, line placement, box and frame, fill
// set-up, hit test. Measured with 13-pixel lines and 7-pixel characters ("W" is 7 wide).
#include "chart/title.h"

#include <gtest/gtest.h>

#include "chart_fixture.h"
#include "rtl/errors.h"

namespace {

constexpr TRect kHistoryPlot{25, 10, 792, 240};
constexpr int kLine = 13;

class TitleTest : public ChartFixture {
 protected:
  TitleTest() { chart().SetPlotArea(kHistoryPlot); }

  // As the panel draws it: the plot area the title leaves is normalised afterwards.
  void Draw(TChartTitle& title, bool onTop) {
    canvas().Clear();
    TFrameContext frame = chart().FrameContext();
    title.DrawTitle(frame, onTop);
    chart().SetPlotArea(frame.plot_area);
    chart().NormalizePlotArea();
  }
};

TEST_F(TitleTest, OneLineMovesTheTopByLineHeightPlusFive) {
  chart().Title().SetText({"TChart"});
  Draw(chart().Title(), true);
  EXPECT_EQ(chart().PlotArea(), (TRect{25, 10 + kLine + 5, 792, 240}));
  EXPECT_EQ(chart().Title().TitleBounds(), (TRect{25, 10, 792, 10 + kLine}));
  // Centred on 408: "TChart" is 42 pixels wide.
  EXPECT_EQ(canvas().CallsStartingWith("WriteText("), std::vector<std::string>{"WriteText(387,10,\"TChart\")"});
  // Neither filled nor framed.
  EXPECT_TRUE(canvas().CallsStartingWith("DrawRectangle(").empty());
  const TRecordedCall* text = FirstRecord("WriteText(");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->font_color, clBlue);
  EXPECT_EQ(text->font_size, 8);
}

TEST_F(TitleTest, TwoLinesMoveTheTopByTwiceTheLineHeightPlusFive) {
  chart().Title().SetText({"a", "bb"});
  Draw(chart().Title(), true);
  EXPECT_EQ(chart().PlotArea().Top, 10 + 2 * kLine + 5);
  EXPECT_EQ(canvas().CallsStartingWith("WriteText("),
            (std::vector<std::string>{"WriteText(405,10,\"a\")", "WriteText(401,23,\"bb\")"}));
}

TEST_F(TitleTest, FramedTitleTakesTheFrameWidthBeforeAndAfterTheText) {
  TChartTitle& title = chart().Title();
  title.SetText({"Share"});
  title.Frame().SetVisible(true);
  title.Frame().SetColor(clRed);
  title.Frame().SetWidth(2);
  Draw(title, true);
  EXPECT_EQ(chart().PlotArea().Top, 10 + kLine + 4 + 5);
  // The line starts 2 pixels lower; x still from the plot area inside the frame (27..790).
  EXPECT_EQ(canvas().CallsStartingWith("WriteText("), std::vector<std::string>{"WriteText(391,12,\"Share\")"});
  // Box adjusted to the text (35) plus "W" (7), centred on 408; its top stays at 10.
  EXPECT_EQ(canvas().CallsStartingWith("DrawRectangle("), std::vector<std::string>{"DrawRectangle(387,10,429,27)"});
  const TRecordedCall* box = FirstRecord("DrawRectangle(");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->pen_color, clRed);
  EXPECT_EQ(box->pen_width, 2);
  EXPECT_EQ(box->brush_style, bsClear);
}

TEST_F(TitleTest, WithoutAdjustFrameTheBoxSpansThePlotArea) {
  TChartTitle& title = chart().Title();
  title.SetText({"x"});
  title.SetColor(clYellow);
  title.SetAdjustFrame(false);
  Draw(title, true);
  EXPECT_EQ(canvas().CallsStartingWith("DrawRectangle("), std::vector<std::string>{"DrawRectangle(25,10,792,23)"});
}

TEST_F(TitleTest, AlignmentPlacesTheLine) {
  struct Case {
    TAlignment alignment;
    const char* expected;
  };
  // "abc" is 21 wide; half the width of "W" is 3.
  const Case cases[] = {
      {taLeftJustify, "WriteText(28,10,\"abc\")"},
      {taRightJustify, "WriteText(768,10,\"abc\")"},
      {taCenter, "WriteText(398,10,\"abc\")"},
  };
  for (const Case& c : cases) {
    chart().SetPlotArea(kHistoryPlot);
    chart().Title().SetText({"abc"});
    chart().Title().SetAlignment(c.alignment);
    Draw(chart().Title(), true);
    EXPECT_EQ(canvas().CallsStartingWith("WriteText("), std::vector<std::string>{c.expected}) << int(c.alignment);
  }
}

TEST_F(TitleTest, AdjustedBoxFollowsTheAlignment) {
  struct Case {
    TAlignment alignment;
    const char* expected;
  };
  // The widest line (21) plus "W" (7) = 28 pixels.
  const Case cases[] = {
      {taLeftJustify, "DrawRectangle(25,10,53,23)"},
      {taRightJustify, "DrawRectangle(764,10,792,23)"},
      {taCenter, "DrawRectangle(394,10,422,23)"},
  };
  for (const Case& c : cases) {
    chart().SetPlotArea(kHistoryPlot);
    chart().Title().SetText({"abc"});
    chart().Title().SetColor(clYellow);
    chart().Title().SetAlignment(c.alignment);
    Draw(chart().Title(), true);
    EXPECT_EQ(canvas().CallsStartingWith("DrawRectangle("), std::vector<std::string>{c.expected});
  }
}

TEST_F(TitleTest, FootDrawsItsLinesUpwardFromTheBottom) {
  TChartTitle& foot = chart().Foot();
  foot.SetText({"first", "last"});
  Draw(foot, false);
  EXPECT_EQ(canvas().CallsStartingWith("WriteText("),
            (std::vector<std::string>{"WriteText(394,227,\"last\")", "WriteText(391,214,\"first\")"}));
  EXPECT_EQ(chart().PlotArea(), (TRect{25, 10, 792, 240 - 2 * kLine - 5}));
  EXPECT_EQ(foot.TitleBounds(), (TRect{25, 240 - 2 * kLine, 792, 240}));
}

TEST_F(TitleTest, EmptyTextDrawsNothingAndKeepsThePlotArea) {
  Draw(chart().Title(), true);
  Draw(chart().Foot(), false);
  EXPECT_EQ(chart().PlotArea(), kHistoryPlot);
  EXPECT_TRUE(canvas().Calls().empty());
}

TEST_F(TitleTest, FillSetUpCases) {
  struct Case {
    const char* name;
    TColor color;
    TBrushStyle brush_style;
    TColor brush_color;
    bool box;                // DrawRectangle called
    TBrushStyle box_style;   // canvas brush at the box
    TColor box_color;
    const char* background;  // background calls of the drawing, in order
  };
  const Case cases[] = {
      {"default", clDefault, bsSolid, clDefault, false, bsClear, 0, "SetBackgroundMode(1)"},
      {"hatch without colour", clDefault, bsCross, kGreen, true, bsCross, kGreen,
       "SetBackgroundMode(1)SetBackgroundMode(1)"},
      {"solid brush colour", clDefault, bsSolid, clRed, true, bsSolid, clRed, "SetBackgroundMode(1)"},
      {"own colour", clYellow, bsSolid, clDefault, true, bsSolid, clYellow, "SetBackgroundMode(1)"},
      {"hatch on own colour", clYellow, bsCross, kGreen, true, bsCross, kGreen,
       "SetBackgroundMode(2)SetBackgroundColor(65535)SetBackgroundMode(1)"},
  };
  for (const Case& c : cases) {
    chart().SetPlotArea(kHistoryPlot);
    TChartTitle& title = chart().Title();
    title.SetText({"t"});
    title.SetColor(c.color);
    title.Brush().SetStyle(c.brush_style);
    title.Brush().SetColor(c.brush_color);
    Draw(title, true);
    const TRecordedCall* box = FirstRecord("DrawRectangle(");
    ASSERT_EQ(box != nullptr, c.box) << c.name;
    std::string background;
    for (const std::string& call : canvas().CallsStartingWith("SetBackground")) background += call;
    EXPECT_EQ(background, c.background) << c.name;
    if (!box) continue;
    EXPECT_EQ(box->brush_style, c.box_style) << c.name;
    EXPECT_EQ(box->brush_color, c.box_color) << c.name;
  }
}

TEST_F(TitleTest, BrushColourBecomesTheTitleColourAtTheFirstDrawing) {
  TChartTitle& title = chart().Title();
  title.SetText({"t"});
  title.Brush().SetColor(clRed);
  ASSERT_EQ(title.Color(), clDefault);
  Draw(title, true);
  EXPECT_EQ(title.Color(), clRed);
  const TRecordedCall* box = FirstRecord("DrawRectangle(");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->brush_color, clRed);
  EXPECT_EQ(box->brush_style, bsSolid);
}

TEST_F(TitleTest, HitTestUsesTheLastBoundsWithFarEdgesOutside) {
  TChartTitle& title = chart().Title();
  title.SetText({"t"});
  Draw(title, true);
  EXPECT_TRUE(title.TitleHit(25, 10));
  EXPECT_TRUE(title.TitleHit(791, 22));
  EXPECT_FALSE(title.TitleHit(792, 15));
  EXPECT_FALSE(title.TitleHit(100, 23));
  EXPECT_FALSE(title.TitleHit(24, 15));
  title.SetVisible(false);
  EXPECT_FALSE(title.TitleHit(100, 15));
}

TEST_F(TitleTest, InvisibleTitleIsNeitherDrawnNorGivenRoom) {
  chart().Title().SetText({"hidden"});
  chart().Title().SetVisible(false);
  chart().SetAxisVisible(false);
  Render();
  EXPECT_TRUE(canvas().CallsStartingWith("WriteText(").empty());
  EXPECT_EQ(canvas().CallsStartingWith("DrawBox("), std::vector<std::string>{"DrawBox(25,10,793,241)"});
}

TEST_F(TitleTest, SettersRequestARepaintOnlyForANewValue) {
  TChartTitle& title = chart().Title();
  title.SetText({"a"});
  const int before = chart().RepaintRequests();
  title.SetText({"a"});
  title.SetLine(0, "a");
  title.SetVisible(true);
  title.SetAlignment(taCenter);
  title.SetColor(clDefault);
  title.SetAdjustFrame(true);
  title.Font().SetColor(clBlue);
  title.Frame().SetVisible(false);
  EXPECT_EQ(chart().RepaintRequests(), before);
  title.SetLine(0, "b");
  EXPECT_EQ(chart().RepaintRequests(), before + 1);
  title.Font().SetSize(12);
  EXPECT_EQ(chart().RepaintRequests(), before + 2);
  EXPECT_TRUE(title.FontDiffersFromDefault());
}

TEST_F(TitleTest, ReplacingAMissingLineFailsWithTheListError) {
  try {
    chart().Title().SetLine(0, "share");
    FAIL() << "no error";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (0)");
  }
  EXPECT_TRUE(chart().Title().Text().empty());
}

TEST_F(TitleTest, AssignCopiesEverySetting) {
  TChartTitle& title = chart().Title();
  TChartTitle& foot = chart().Foot();
  title.SetText({"x", "y"});
  title.SetAlignment(taRightJustify);
  title.SetColor(clYellow);
  title.SetAdjustFrame(false);
  title.SetVisible(false);
  title.Frame().SetVisible(true);
  title.Brush().SetStyle(bsCross);
  title.Font().SetSize(14);
  foot.Assign(title);
  EXPECT_EQ(foot.Text(), title.Text());
  EXPECT_EQ(foot.Alignment(), taRightJustify);
  EXPECT_EQ(foot.Color(), clYellow);
  EXPECT_FALSE(foot.AdjustFrame());
  EXPECT_FALSE(foot.Visible());
  EXPECT_TRUE(foot.Frame().Visible());
  EXPECT_EQ(foot.Brush().Style(), bsCross);
  EXPECT_EQ(foot.Font().Size(), 14);
}

}  // namespace
