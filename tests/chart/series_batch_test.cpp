// Adding many points at once: every batch must leave the series exactly as adding the same
// points one by one with AddPoint does (order, ties, values, labels, colours, pending values,
// statistics, events), whichever way the batch is stored.
#include "chart/series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "recording_chart_host.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Equal when both are NaN too, and telling -0.0 from 0.0: stored values must be the same bits.
bool SameValue(double a, double b) { return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b)); }

void ExpectSameValues(std::span<const double> batch, std::span<const double> single, const std::string& what) {
  ASSERT_EQ(batch.size(), single.size()) << what;
  for (std::size_t i = 0; i < batch.size(); ++i)
    EXPECT_TRUE(SameValue(batch[i], single[i])) << what << " [" << i << "]: " << batch[i] << " vs " << single[i];
}

void ExpectSameStatistics(const TChartValueList& batch, const TChartValueList& single, const std::string& what) {
  EXPECT_TRUE(SameValue(batch.HighestValue(), single.HighestValue())) << what;
  EXPECT_TRUE(SameValue(batch.LowestValue(), single.LowestValue())) << what;
  EXPECT_TRUE(SameValue(batch.ValueSum(), single.ValueSum())) << what;
  EXPECT_TRUE(SameValue(batch.MagnitudeSum(), single.MagnitudeSum())) << what;
  EXPECT_TRUE(SameValue(batch.PendingValue(), single.PendingValue())) << what;
}

// Everything a reader of the store can see.
void ExpectSameStore(const TChartSeries& batch, const TChartSeries& single, const std::string& what) {
  ExpectSameValues(batch.XValues().StoredValues(), single.XValues().StoredValues(), what + ", X");
  ExpectSameValues(batch.YValues().StoredValues(), single.YValues().StoredValues(), what + ", Y");
  ASSERT_EQ(batch.LabelCount(), single.LabelCount()) << what;
  ASSERT_EQ(batch.ColorCount(), single.ColorCount()) << what;
  for (int i = 0; i < single.LabelCount(); ++i) {
    EXPECT_EQ(batch.PointLabel(i), single.PointLabel(i)) << what << ", label " << i;
    EXPECT_EQ(batch.PointColor(i), single.PointColor(i)) << what << ", colour " << i;
  }
  ExpectSameStatistics(batch.XValues(), single.XValues(), what + ", X statistics");
  ExpectSameStatistics(batch.YValues(), single.YValues(), what + ", Y statistics");
}

// Point i of a batch: Y, label and colour name the arrival, so any mix-up among equal X
// values shows. Every third label is empty.
std::vector<TSeriesPoint> Arriving(const std::vector<double>& xs) {
  std::vector<TSeriesPoint> points;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    // Appended rather than "p" + std::to_string(i): g++ 12 at -O3 warns falsely
    // (-Wrestrict) about a literal put before a returned string.
    rtl::Text label;
    if (i % 3 != 2) label.append("p").append(std::to_string(i));
    points.push_back({xs[i], 100.0 + double(i), std::move(label), TColor(i + 1)});
  }
  return points;
}

struct BatchCase {
  const char* name;
  std::vector<double> stored;    // added one by one before the batch
  std::vector<double> arriving;  // the batch's X values, in arrival order
  TChartListOrder order = loAscending;
  double multiplier = 1;
};

// Both series get the stored points one by one, then the batch: one through AddPoints, the
// other through AddPoint per point.
void RunCase(const BatchCase& c) {
  RecordingChartHost chart;
  TChartSeries batch, single;
  for (TChartSeries* series : {&batch, &single}) {
    series->SetParentChart(&chart);
    series->XValues().SetOrder(c.order);
    series->XValues().SetMultiplier(c.multiplier);
    for (std::size_t i = 0; i < c.stored.size(); ++i) series->AddPoint(c.stored[i], double(i), "s", clRed);
  }
  const int requests = chart.invalidations;
  batch.AddPoints(Arriving(c.arriving));
  EXPECT_EQ(chart.invalidations > requests, !c.arriving.empty()) << c.name;
  for (const TSeriesPoint& point : Arriving(c.arriving)) single.AddPoint(point.X, point.Y, point.Label, point.Color);
  ExpectSameStore(batch, single, c.name);
}

TEST(SeriesBatchTest, StoresWhatAddingOneByOneStores) {
  const std::vector<double> descending = {9, 8, 8, 7, 5, 5, 5, 3, 1, 0};
  std::vector<double> random;
  unsigned state = 12345;
  for (int i = 0; i < 500; ++i) random.push_back(double((state = state * 1103515245 + 12345) >> 16 & 31));
  const BatchCase cases[] = {
      {"in order", {}, {1, 2, 2, 3, 10}},
      {"in order after the stored ones", {0, 1}, {1, 2, 3}},
      {"descending with ties", {}, descending},
      {"random with many ties", {}, random},
      {"random after stored ties", {2, 2, 5, 5, 5}, random},
      {"ties between stored and arriving", {1, 2, 2, 3}, {2, 0, 3, 2, 9, 1}},
      {"all before the stored ones", {10, 20}, {5, 4, 5, 3}},
      {"zero and negative zero are equal", {0.0}, {-0.0, 0.0, -0.0, -1}},
      {"infinities", {1}, {kInf, -kInf, 1, kInf, -kInf, 0}},
      {"descending order", {9, 5}, {5, 7, 1, 9, 5, 5, 10}, loDescending},
      {"no order", {3}, {3, 1, 2, 1}, loNone},
      {"stored values compared unscaled", {1, 4}, {3, 2, 0.5, 4}, loAscending, -2},
      {"NaN among the arriving", {1, 3}, {2, kNaN, 0.5, 4, 2}},
      {"NaN among the stored", {1, kNaN, 3}, {2, 0.5, 4}},
      {"NaN unordered", {kNaN}, {kNaN, 1, 0}, loNone},
      {"empty batch", {4, 2}, {}},
  };
  for (const BatchCase& c : cases) RunCase(c);
}

// Stored values overwritten out of order: the scan of one-by-one inserts depends on where
// the disorder lies, and the batch must follow it.
TEST(SeriesBatchTest, OverwrittenStoredValuesOutOfOrderAreFollowed) {
  TChartSeries batch, single;
  for (TChartSeries* series : {&batch, &single}) {
    for (double x : {1, 2, 3, 4, 5}) series->AddPoint(x, x);
    series->XValues().StoreValueAt(1, 4.5);
  }
  const std::vector<double> xs = {4, 2, 6, 0};
  batch.AddPoints(Arriving(xs));
  for (const TSeriesPoint& point : Arriving(xs)) single.AddPoint(point.X, point.Y, point.Label, point.Color);
  ExpectSameStore(batch, single, "overwritten");
}

// What observes single adds sees each of them, in the same order, with the same indexes and
// vetoes, and a dependent series follows every one.
TEST(SeriesBatchTest, ObservedAddsHappenOneByOne) {
  struct Observed {
    TChartSeries series;
    TChartSeries dependent;
    std::vector<std::string> events;
  };
  Observed batch, single;
  for (Observed* o : {&batch, &single}) {
    o->series.AddPoint(5, 0);
    o->series.OnBeforeAdd = [o](TChartSeries& sender) {
      o->events.push_back("before " + std::to_string(sender.XValues().PendingValue()));
      return sender.XValues().PendingValue() != 3;  // every add of X = 3 is vetoed
    };
    o->series.OnAfterAdd = [o](TChartSeries& sender, int index) {
      o->events.push_back("after " + std::to_string(index) + " of " + std::to_string(sender.PointCount()));
    };
    o->dependent.AddDataSource(o->series);
  }
  const std::vector<double> xs = {4, 3, 9, 1, 3, 4};
  batch.series.AddPoints(Arriving(xs));
  for (const TSeriesPoint& point : Arriving(xs)) single.series.AddPoint(point.X, point.Y, point.Label, point.Color);
  EXPECT_EQ(batch.events, single.events);
  EXPECT_EQ(batch.events.size(), 2 * xs.size() - 2);
  ExpectSameStore(batch.series, single.series, "observed");
  ExpectSameStore(batch.dependent, single.dependent, "dependent");
}

TEST(SeriesBatchTest, InactiveSeriesRequestsNoRepaint) {
  RecordingChartHost chart;
  TChartSeries series;
  series.SetParentChart(&chart);
  series.SetActive(false);
  const int requests = chart.invalidations;
  series.AddPoints(Arriving({3, 1, 2}));
  EXPECT_EQ(series.PointCount(), 3);
  EXPECT_EQ(chart.invalidations, requests);
}

// Labels moved by the sort must not be taken for the ones measured before at their places.
TEST(SeriesBatchTest, LabelsMovedBySortingChangeTheLabelsVersion) {
  TChartSeries series;
  series.AddPoints(Arriving({1, 2, 3}));
  const std::uint64_t appended = series.LabelsVersion();
  series.AddPoints(Arriving({0, 5}));
  EXPECT_NE(series.LabelsVersion(), appended);
  EXPECT_EQ(series.PointX(0), 0);
}

}  // namespace
