// The room an axis takes beside the plot area: ticks, labels and title, the positions across
// the axis that follow, and PositionPercent.
#include <gtest/gtest.h>

#include <functional>

#include "axis_fixture.h"
#include "chart/axis_room.h"

namespace {

class AxisRoomTest : public AxisFixture {
 protected:
  // A series on the bottom and left axes, with the left axis fixed to 0..65.
  void CountsFrom0To65() {
    AddSeries().AddPoint(1, 3, "01.02.2024");
    Left().SetScaleRange(0, 65);
    Layout({10, 10, 210, 210});
  }
};

struct TickRoomCase {
  const char* name;
  std::function<void(TCustomChartAxis&)> change;
  int room;
};

TEST_F(AxisRoomTest, RoomForTicksWithThePensHiddenInTurn) {
  const TickRoomCase cases[] = {
      {"defaults: axis 2 + ticks 4", [](TCustomChartAxis&) {}, 6},
      {"axis hidden", [](TCustomChartAxis& a) { a.Axis().SetVisible(false); }, 4},
      {"ticks hidden too: the minor tick length", [](TCustomChartAxis& a) { a.Ticks().SetVisible(false); }, 2},
      {"minor ticks hidden too", [](TCustomChartAxis& a) { a.MinorTicks().SetVisible(false); }, 0},
  };
  for (const TickRoomCase& c : cases) {
    c.change(Bottom());  // cumulative, in turn
    EXPECT_EQ(AxisRoomForTicks(Bottom()), c.room) << c.name;
  }
  Left().SetMinorTickLength(9);
  EXPECT_EQ(AxisRoomForTicks(Left()), 9) << "long minor ticks";
}

TEST_F(AxisRoomTest, FixedSizesReserveExactlyThatMany) {
  Left().SetLabelsSize(17);
  Left().SetTitleSize(30);
  Left().Title().SetCaption("Counts");
  EXPECT_EQ(AxisRoomForLabels(Left(), chart().FrameContext()), 17);
  EXPECT_EQ(AxisRoomForTitle(Left(), chart().FrameContext()), 30);
}

TEST_F(AxisRoomTest, TextAlongTheAxisTakesTheFontHeight) {
  Bottom().SetLabelsAngle(180);
  EXPECT_EQ(AxisRoomForLabels(Bottom(), chart().FrameContext()), 13);
  Left().SetLabelsAngle(270);
  EXPECT_EQ(AxisRoomForLabels(Left(), chart().FrameContext()), 13);
  Left().Title().SetCaption("Counts\rper share");  // one line's height, whatever the lines
  EXPECT_EQ(AxisRoomForTitle(Left(), chart().FrameContext()), 13);
}

TEST_F(AxisRoomTest, TitleAcrossTheAxisTakesTheCaptionWidth) {
  Left().Title().SetCaption("Counts");
  Left().Title().SetAngle(0);
  EXPECT_EQ(AxisRoomForTitle(Left(), chart().FrameContext()), 42);
}

TEST_F(AxisRoomTest, LeftAxisFrom0To65ReservesThe65AndABlank) {
  canvas().SetCharWidth(' ', 3);
  CountsFrom0To65();
  // The room ignores the panel's label handler.
  chart().SetOnGetAxisLabel([](TCustomChartAxis&, TChartSeries*, int, rtl::Text& text) { text = "wider text"; });
  EXPECT_EQ(AxisRoomForLabels(Left(), chart().FrameContext()), 14 + 3);
}

TEST_F(AxisRoomTest, RoundedFirstLabelMeasuresTheEndsRoundedToTheStep) {
  AddSeries().AddPoint(1, 3, "x");
  Left().SetScaleRange(0, 64.5);
  Layout({10, 10, 210, 210});
  // Step 5 on 200 pixels: the top label is 60, not 64.5.
  EXPECT_EQ(AxisRoomForLabels(Left(), chart().FrameContext()), 2 * 7 + 7);
  Left().SetRoundFirstLabel(false);
  EXPECT_EQ(AxisRoomForLabels(Left(), chart().FrameContext()), 4 * 7 + 7);
}

TEST_F(AxisRoomTest, TextLabelsTakeTheWidestPointLabelOfEverySeries) {
  TChartSeries& shown = AddSeries();
  shown.AddPoint(1, 1, "ab");
  shown.AddPoint(2, 1, "abcd\rx");
  Layout({10, 10, 210, 210});
  Bottom().SetLabelsAngle(90);
  EXPECT_EQ(AxisRoomForLabels(Bottom(), chart().FrameContext()), 28);
  TChartSeries& hidden = AddSeries();
  hidden.SetActive(false);
  hidden.AddPoint(1, 1, "abcdefgh");
  EXPECT_EQ(AxisRoomForLabels(Bottom(), chart().FrameContext()), 56);
}

TEST_F(AxisRoomTest, WidestPointLabelByAdvancesEqualsThePanelsMeasure) {
  canvas().SetCharWidth('i', 2);
  canvas().SetCharWidth('W', 11);
  TChartSeries& series = AddSeries();
  for (const char* label : {"iii", "WWi\riiiiiiiiiii", "", "\r", "W\r", "iWiWiW"}) series.AddPoint(1, 1, label);
  EXPECT_EQ(WidestPointLabel(chart(), canvas()), chart().WidestPointLabel());
  EXPECT_EQ(WidestPointLabel(chart(), canvas()), 3 * 2 + 3 * 11);
}

TEST_F(AxisRoomTest, ShrinkTakesTitleLabelsAndTicksInTurn) {
  canvas().SetCharWidth(' ', 3);
  CountsFrom0To65();
  Left().Title().SetCaption("Counts");
  TRect rect{25, 10, 792, 240};
  ReserveAxisRoom(Left(), chart().FrameContext(), rect, true);
  EXPECT_EQ(Left().TitlePosition(), 25 + 13);
  EXPECT_EQ(Left().LabelsPosition(), 38 + 17);
  EXPECT_EQ(rect, (TRect{55 + 6, 10, 792, 240}));
}

TEST_F(AxisRoomTest, UprightDateLabelsTakeTheirWidthBelowTheChart) {
  CountsFrom0To65();
  Bottom().SetLabelsAngle(90);
  TRect rect{25, 10, 792, 240};
  ReserveAxisRoom(Bottom(), chart().FrameContext(), rect, true);
  EXPECT_EQ(Bottom().LabelsPosition(), 240 - 70);
  EXPECT_EQ(rect, (TRect{25, 10, 792, 170 - 6}));
}

TEST_F(AxisRoomTest, EmptyCaptionAndHiddenLabelsTakeNoRoom) {
  CountsFrom0To65();
  Left().SetLabels(false);
  TRect rect{25, 10, 792, 240};
  ReserveAxisRoom(Left(), chart().FrameContext(), rect, true);
  EXPECT_EQ(rect, (TRect{25 + 6, 10, 792, 240}));
}

TEST_F(AxisRoomTest, WithoutShrinkThePositionsStackOutwardFromTheEdge) {
  canvas().SetCharWidth(' ', 3);
  CountsFrom0To65();
  TRect rect{25, 10, 792, 240};
  ReserveAxisRoom(Left(), chart().FrameContext(), rect, false);
  EXPECT_EQ(Left().AxisPosition(), 25);
  EXPECT_EQ(Left().LabelsPosition(), 25 - 6);
  EXPECT_EQ(Left().TitlePosition(), 19 - 17);
  EXPECT_EQ(rect, (TRect{25, 10, 792, 240}));
}

TEST_F(AxisRoomTest, PositionPercentMovesThePositionsInward) {
  CountsFrom0To65();
  Bottom().SetPositionPercent(10);
  TRect rect{25, 10, 792, 240};
  ReserveAxisRoom(Bottom(), chart().FrameContext(), rect, false);
  EXPECT_EQ(Bottom().AxisPosition(), 240 - 23);  // Nearest(10 % of 230)
  EXPECT_EQ(Bottom().LabelsPosition(), 217 + 6);
  EXPECT_EQ(Bottom().TitlePosition(), 223 + 13);
}

TEST_F(AxisRoomTest, ShrinkingEveryPaintKeepsTheShiftedPositions) {
  CountsFrom0To65();
  Bottom().SetPositionPercent(10);
  for (int paint = 0; paint < 2; ++paint) {
    TRect rect{25, 10, 792, 240};
    ReserveAxisRoom(Bottom(), chart().FrameContext(), rect, true);
    // Title edge 240, labels 240 - 13 = 227, both shifted up by 10 % of the height left
    // after the ticks: Nearest(0.1 * (221 - 10)) = 21.
    EXPECT_EQ(Bottom().TitlePosition(), 219) << paint;
    EXPECT_EQ(Bottom().LabelsPosition(), 206) << paint;
  }
}

}  // namespace
