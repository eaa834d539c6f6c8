// The widest point label kept by each series: every change of the labels, the points or the
// font makes the next paint measure again, and the kept answer equals a fresh measure.
#include <gtest/gtest.h>

#include <functional>

#include "axis_fixture.h"
#include "chart/axis_room.h"
#include "chart/label_width_cache.h"

namespace {

class LabelWidthCacheTest : public AxisFixture {
 protected:
  // 'i' 2 pixels, 'W' 11: "WWi" is 24 wide, "iiiii" 10.
  TChartSeries& Labelled() {
    canvas().SetCharWidth('i', 2);
    canvas().SetCharWidth('W', 11);
    TChartSeries& series = AddSeries();
    series.AddPoint(1, 1, "iiiii");
    series.AddPoint(2, 1, "WWi");
    series.AddPoint(3, 1, "i\rWi");
    return series;
  }
};

struct InvalidationCase {
  const char* name;
  std::function<void(TChartSeries&, TMeasuringCanvas&)> change;
  int widest;
};

TEST_F(LabelWidthCacheTest, EveryChangeIsMeasuredAgainAndEqualsAFreshMeasure) {
  const InvalidationCase cases[] = {
      {"label replaced", [](TChartSeries& s, TMeasuringCanvas&) { s.SetPointLabel(0, "WWWW"); }, 44},
      {"label emptied", [](TChartSeries& s, TMeasuringCanvas&) { s.SetPointLabel(1, ""); }, 13},
      {"point added", [](TChartSeries& s, TMeasuringCanvas&) { s.AddPoint(4, 1, "WWWWWi"); }, 57},
      {"unlabelled point added", [](TChartSeries& s, TMeasuringCanvas&) { s.AddPoint(4, 1); }, 24},
      {"narrow points appended", [](TChartSeries& s, TMeasuringCanvas&) { s.AddPoint(4, 1, "i"), s.AddPoint(5, 1, "ii"); },
       24},
      {"widest point inserted before the last", [](TChartSeries& s, TMeasuringCanvas&) { s.AddPoint(2.5, 1, "WWWW"); },
       44},
      {"label replaced, then a point appended",
       [](TChartSeries& s, TMeasuringCanvas&) {
         s.SetPointLabel(1, "i");
         s.AddPoint(4, 1, "ii");
       },
       13},
      {"widest removed", [](TChartSeries& s, TMeasuringCanvas&) { s.RemovePoint(1); }, 13},
      {"points cleared", [](TChartSeries& s, TMeasuringCanvas&) { s.ClearPoints(); }, 0},
      {"font changed",
       [](TChartSeries&, TMeasuringCanvas& c) {
         c.SetCharWidth('W', 20);
         c.Font().SetSize(c.Font().Size() + 4);
       },
       42},
      {"font style changed",
       [](TChartSeries&, TMeasuringCanvas& c) {
         c.SetCharWidth('W', 12);
         c.Font().SetStyle(c.Font().Style() ^ 1);
       },
       26},
  };
  for (const InvalidationCase& c : cases) {
    // The series of earlier cases stay listed but measure 0 once cleared.
    for (TChartSeries* earlier : chart().SeriesList()) earlier->ClearPoints();
    TChartSeries& series = Labelled();
    ASSERT_EQ(WidestPointLabel(chart(), canvas()), 24) << c.name;  // fills the memory
    c.change(series, canvas());
    EXPECT_EQ(WidestPointLabel(chart(), canvas()), c.widest) << c.name;
    EXPECT_EQ(WidestPointLabel(chart(), canvas()), UncachedWidestPointLabel(chart(), canvas())) << c.name;
  }
}

TEST_F(LabelWidthCacheTest, AnUnchangedSeriesIsNotMeasuredAgain) {
  Labelled();
  ASSERT_EQ(WidestPointLabel(chart(), canvas()), 24);
  canvas().Clear();
  EXPECT_EQ(WidestPointLabel(chart(), canvas()), 24);
  EXPECT_EQ(IndexOf("MeasureTextWidth"), -1);
}

TEST_F(LabelWidthCacheTest, AppendedPointsAreTheOnlyOnesMeasured) {
  TChartSeries& series = Labelled();
  ASSERT_EQ(WidestPointLabel(chart(), canvas()), 24);
  canvas().Clear();
  series.AddPoint(4, 1, "ii");
  EXPECT_EQ(WidestPointLabel(chart(), canvas()), 24);
  // Only the new label's characters are measured; the 'W' of the older ones is not.
  EXPECT_GE(Count("MeasureTextWidth(\"i"), 1);
  EXPECT_EQ(Count("MeasureTextWidth(\"W"), 0);
}

TEST_F(LabelWidthCacheTest, TheFontColourKeepsTheMemory) {
  Labelled();
  const TLabelFontKey before = TLabelFontKey::Of(canvas().Font());
  canvas().Font().SetColor(clRed);
  EXPECT_EQ(TLabelFontKey::Of(canvas().Font()), before);
  canvas().Font().SetName("Other");
  EXPECT_NE(TLabelFontKey::Of(canvas().Font()), before);
}

TEST_F(LabelWidthCacheTest, EachSeriesKeepsItsOwnWidest) {
  Labelled();
  TChartSeries& other = AddSeries();
  other.AddPoint(1, 1, "ii");
  ASSERT_EQ(WidestPointLabel(chart(), canvas()), 24);
  other.SetPointLabel(0, "WWWWWWWWWW");
  EXPECT_EQ(WidestPointLabel(chart(), canvas()), 110);
  // The axis room follows: upright labels take the widest label's width.
  Layout({10, 10, 210, 210});
  Bottom().SetLabelsAngle(90);
  EXPECT_EQ(AxisRoomForLabels(Bottom(), chart().FrameContext()), 110);
}

TEST(LabelWidthCache, FindsOnlyTheStoredState) {
  TLabelWidthCache cache;
  const TLabelFontKey font{"Arial", 8, 0, 1, 96};
  EXPECT_FALSE(cache.Find(0, 0, font));
  cache.Store(3, 10, font, 57);
  EXPECT_EQ(cache.Find(3, 10, font), 57);
  EXPECT_FALSE(cache.Find(4, 10, font));
  EXPECT_FALSE(cache.Find(3, 11, font));
  EXPECT_FALSE(cache.Find(3, 10, TLabelFontKey{"Arial", 8, 0, 1, 120}));
}

}  // namespace
