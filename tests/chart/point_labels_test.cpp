// Point labels: the overlap test, the worked example of labels 5 pixels apart, ticks at
// skipped labels, the label handler, and the skipping walk against the walk over every point.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "axis_fixture.h"
#include "chart/point_labels.h"

namespace {

struct OverlapStep {
  int position;
  bool drawn;
};

TEST(LabelOverlapTest, ThirteenPixelLabelsWithTenPercentSeparation) {
  // The first keeps half 6; later ones are enlarged to 15 (half 7): 13 beyond the first, then
  // 14 beyond each drawn one.
  TLabelOverlap overlap(10);
  const OverlapStep steps[] = {{0, true},   {5, false},  {12, false}, {13, true},
                               {26, false}, {27, true},  {40, false}, {41, true}};
  for (const OverlapStep& step : steps) EXPECT_EQ(overlap.Accept(step.position, 13), step.drawn) << step.position;
  EXPECT_EQ(overlap.NextFreePosition(13), 41 + 7 + 7);
}

TEST(LabelOverlapTest, PositionsRunningBackward) {
  TLabelOverlap overlap(10);
  const OverlapStep steps[] = {{100, true}, {90, false}, {87, true}, {74, false}, {73, true}};
  for (const OverlapStep& step : steps) EXPECT_EQ(overlap.Accept(step.position, 13), step.drawn) << step.position;
}

TEST(LabelOverlapTest, NoSeparationDrawsEveryLabel) {
  TLabelOverlap overlap(0);
  for (int position : {0, 1, 1, 2, 0}) EXPECT_TRUE(overlap.Accept(position, 13));
}

TEST(LabelOverlapTest, WiderLabelsNeedMoreRoom) {
  // Separation 50 doubles a later label: 20 -> 40 (half 20), 7 -> 14 (half 7), 6 -> 12 (half 6).
  TLabelOverlap overlap(50);
  const struct {
    int position, extent;
    bool drawn;
  } steps[] = {{0, 20, true}, {29, 20, false}, {30, 20, true}, {56, 7, false}, {57, 7, true}, {69, 6, false},
               {70, 6, true}};
  for (const auto& step : steps) EXPECT_EQ(overlap.Accept(step.position, step.extent), step.drawn) << step.position;
}

class PointLabelTest : public AxisFixture, public ::testing::WithParamInterface<TPointLabelScan> {
 protected:
  // Points 0..40 five pixels apart on the bottom axis (200 pixels), labelled "L", labels upright.
  TChartSeries& FivePixelsApart() {
    TChartSeries& series = AddSeries();
    for (int i = 0; i <= 40; ++i) series.AddPoint(i, 1, "L");
    Layout({10, 10, 210, 210});
    Bottom().SetLabelsAngle(90);
    Bottom().SetLabelsPosition(220);
    return series;
  }
  void PaintBottom() { Paint(Bottom(), GetParam()); }
  // Outer ticks of the bottom axis (line at 210): from 211 to 215.
  int OuterTicks() const {
    int count = 0;
    for (const std::string& call : canvas_->CallsStartingWith("DrawVerticalLineAtDepth("))
      count += call.ends_with(",211,215,0)");
    return count;
  }
};

TEST_P(PointLabelTest, LabelsFivePixelsApartAtTheFirstAndEveryThirdPoint) {
  FivePixelsApart();
  PaintBottom();
  std::vector<std::string> expected;
  for (int i = 0; i <= 40; i += 3)
    expected.push_back("WriteRotatedTextAtDepth(" + std::to_string(10 + 5 * i - 6) + ",220,90,\"L\",0)");
  EXPECT_EQ(canvas().CallsStartingWith("Write"), expected);
  EXPECT_EQ(OuterTicks(), 14);
  EXPECT_EQ(Count("DrawVerticalLineAtDepth(10,211,215,0)"), 1);
  EXPECT_EQ(Count("DrawVerticalLineAtDepth(15,211,215,0)"), 0);
  EXPECT_EQ(Count("DrawVerticalLineAtDepth(25,211,215,0)"), 1);
}

TEST_P(PointLabelTest, NoSeparationDrawsEveryLabelWithItsTick) {
  FivePixelsApart();
  Bottom().SetLabelsSeparation(0);
  PaintBottom();
  EXPECT_EQ(Count("WriteRotatedTextAtDepth"), 41);
  EXPECT_EQ(OuterTicks(), 41);
}

TEST_P(PointLabelTest, TicksAtSkippedLabelsWhenNotTiedToLabels) {
  FivePixelsApart();
  Bottom().SetTickOnLabelsOnly(false);
  PaintBottom();
  EXPECT_EQ(Count("WriteRotatedTextAtDepth"), 14);
  EXPECT_EQ(OuterTicks(), 41);
}

TEST_P(PointLabelTest, ValuesOutsideTheScaleAreSkipped) {
  FivePixelsApart();
  Bottom().SetScaleRange(10, 30);
  Layout({10, 10, 210, 210});
  PaintBottom();
  // 10 pixels per unit now: labels at X = 10, 12, 14, ..., 30 (each needs 13 or 14 pixels).
  const std::vector<std::string> writes = canvas().CallsStartingWith("Write");
  ASSERT_EQ(writes.size(), 11u);
  EXPECT_EQ(writes.front(), "WriteRotatedTextAtDepth(4,220,90,\"L\",0)");
  EXPECT_EQ(writes.back(), "WriteRotatedTextAtDepth(204,220,90,\"L\",0)");
}

TEST_P(PointLabelTest, TheHandlerSeesEveryPointAndMayReplaceItsText) {
  TChartSeries& series = FivePixelsApart();
  std::vector<int> asked;
  chart().SetOnGetAxisLabel([&](TCustomChartAxis& axis, TChartSeries* from, int index, rtl::Text& text) {
    if (index < 0) return;  // the label step measures the value labels of the scale ends
    EXPECT_EQ(&axis, &Bottom());
    EXPECT_EQ(from, &series);
    asked.push_back(index);
    // Appended, not literal plus string: GCC 12 at -O3 reports a false -Wrestrict there.
    text = std::string("P").append(std::to_string(index));
  });
  PaintBottom();
  EXPECT_EQ(asked.size(), 41u);
  EXPECT_EQ(Count("WriteRotatedTextAtDepth(4,220,90,\"P0\",0)"), 1);
  EXPECT_EQ(Count("WriteRotatedTextAtDepth(19,220,90,\"P3\",0)"), 1);
}

TEST_P(PointLabelTest, MarkLabelsShowThePointValues) {
  TChartSeries& series = AddSeries();
  series.AddPoint(0, 3, "a");
  series.AddPoint(10, 7, "b");
  Bottom().SetLabelStyle(talMark);
  Layout({10, 10, 210, 210});
  Bottom().SetLabelsPosition(220);
  PaintBottom();
  EXPECT_EQ(canvas().CallsStartingWith("Write"), (std::vector<std::string>{"WriteTextAtDepth(10,220,\"3\",0)",
                                                                           "WriteTextAtDepth(210,220,\"7\",0)"}));
}

INSTANTIATE_TEST_SUITE_P(BothScans, PointLabelTest,
                         ::testing::Values(TPointLabelScan::EveryPoint, TPointLabelScan::SkipHidden));

// --- the skipping walk draws what the full walk draws ------------------------------------------

struct ScanCase {
  const char* name;
  int angle;
  int separation;
  bool inverted;
  double zoom_from, zoom_to;  // equal: automatic range
};

class SkippingWalkTest : public AxisFixture {
 protected:
  SkippingWalkTest() {
    canvas().SetCharWidth('x', 5);
    TChartSeries& series = AddSeries();
    for (int i = 0; i < 5000; ++i) {
      const rtl::Text label =
          i % 97 == 50 ? rtl::Text() : i % 5 == 0 ? rtl::Text("ab\rcdefg") : rtl::Text(1 + i % 7, 'x');
      series.AddPoint(i + (i % 3) * 0.25, 1, label);
    }
  }
  // The calls of one drawing of the bottom axis, measuring left out.
  std::vector<std::string> Draw(const ScanCase& c, TPointLabelScan scan) {
    Bottom().SetLabelsAngle(c.angle);
    Bottom().SetLabelsSeparation(c.separation);
    Bottom().SetInverted(c.inverted);
    if (c.zoom_from != c.zoom_to)
      Bottom().SetScaleRange(c.zoom_from, c.zoom_to);
    else
      Bottom().SetAutomatic(true);
    Layout({10, 10, 810, 210});
    Bottom().SetLabelsPosition(220);
    Paint(Bottom(), scan);
    measurements_ = Count("MeasureText");
    std::vector<std::string> calls;
    for (const std::string& call : canvas().Calls())
      if (!call.starts_with("MeasureText")) calls.push_back(call);
    return calls;
  }
  int measurements_ = 0;
};

TEST_F(SkippingWalkTest, DrawsTheSameLabelsTicksAndGridAsTheFullWalk) {
  const ScanCase cases[] = {
      {"upright", 90, 10, false, 0, 0},        {"flat", 0, 10, false, 0, 0},
      {"flat, wide gaps", 0, 100, false, 0, 0}, {"upright, zoomed", 90, 10, false, 1000.5, 1400},
      {"downward", 270, 50, false, 0, 0},      {"inverted", 90, 10, true, 0, 0},
      {"slanted", 45, 10, false, 0, 0},
  };
  for (const ScanCase& c : cases) {
    const std::vector<std::string> every = Draw(c, TPointLabelScan::EveryPoint);
    const std::vector<std::string> skipping = Draw(c, TPointLabelScan::SkipHidden);
    EXPECT_EQ(skipping, every) << c.name;
    EXPECT_GT(std::count_if(every.begin(), every.end(), [](const std::string& s) { return s.starts_with("Write"); }),
              10)
        << c.name;
  }
}

TEST_F(SkippingWalkTest, VisitsOnlyTheLabelsItCanDraw) {
  const ScanCase upright{"upright", 90, 10, false, 0, 0};
  Draw(upright, TPointLabelScan::EveryPoint);
  EXPECT_GE(measurements_, 5000);  // one line height per point
  Draw(upright, TPointLabelScan::SkipHidden);
  EXPECT_LT(measurements_, 500);
}

}  // namespace
