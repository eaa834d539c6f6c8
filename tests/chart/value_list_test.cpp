#include "chart/value_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/series.h"
#include "rtl/errors.h"

namespace {

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> values;
  for (int index = 0; index < list.ValueCount(); ++index) values.push_back(list.ValueAt(index));
  return values;
}

template <class F>
void ExpectListIndexError(F&& call, const char* text) {
  try {
    call();
    ADD_FAILURE() << "no exception, expected " << text;
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), text);
  }
}

TEST(value_list_test, new_list_joins_its_series_with_defaults) {
  TChartSeries series;
  TChartValueList extra(&series, "Z");
  ASSERT_EQ(series.ValueLists().Count(), 3);
  EXPECT_EQ(&series.ValueLists()[0], &series.XValues());
  EXPECT_EQ(&series.ValueLists()[1], &series.YValues());
  EXPECT_EQ(&series.ValueLists()[2], &extra);
  EXPECT_EQ(extra.Name(), "Z");
  EXPECT_EQ(extra.Multiplier(), 1.0);
  EXPECT_EQ(extra.Order(), loNone);
  EXPECT_FALSE(extra.DateTime());
  EXPECT_EQ(series.XValues().Order(), loAscending);
  EXPECT_EQ(series.YValues().Name(), "Y");
}

TEST(value_list_test, destroyed_extra_list_leaves_the_series) {
  TChartSeries series;
  { TChartValueList extra(&series, "Z"); }
  EXPECT_EQ(series.ValueLists().Count(), 2);
}

struct AppendCase {
  TChartListOrder order;
  std::vector<double> input;
  std::vector<int> indexes;
  std::vector<double> stored;
};

TEST(value_list_test, ordered_append_table) {
  const AppendCase cases[] = {
      {loAscending, {5, 3, 4, 3}, {0, 0, 1, 1}, {3, 3, 4, 5}},
      {loAscending, {1, 2, 2}, {0, 1, 2}, {1, 2, 2}},       // equal to the last: appended
      {loAscending, {4, 5, 1}, {0, 1, 0}, {1, 4, 5}},       // smaller than all: index 0
      {loDescending, {1, 3, 2, 3}, {0, 0, 1, 1}, {3, 3, 2, 1}},
      {loNone, {5, 3, 4}, {0, 1, 2}, {5, 3, 4}},
  };
  for (const AppendCase& c : cases) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(c.order);
    std::vector<int> indexes;
    for (double value : c.input) indexes.push_back(list.AppendValue(value));
    EXPECT_EQ(indexes, c.indexes);
    EXPECT_EQ(Values(list), c.stored);
  }
}

TEST(value_list_test, multiplier_scales_reads_and_statistics_but_not_ordering) {
  TChartValueList list(nullptr, "Y");
  list.SetOrder(loAscending);
  list.AppendValue(1.5);
  list.AppendValue(-4);
  list.SetMultiplier(2);
  EXPECT_EQ(list.ValueAt(1), 3.0);
  EXPECT_EQ(list.StoredValues()[1], 1.5);
  EXPECT_EQ(list.HighestValue(), 3.0);
  EXPECT_EQ(list.LowestValue(), -8.0);
  EXPECT_EQ(list.ValueSum(), -5.0);
  EXPECT_EQ(list.MagnitudeSum(), 11.0);
  // 1.6 stored sorts after the stored 1.5 although 3.0 is what 1.5 reads as.
  EXPECT_EQ(list.AppendValue(1.6), 2);
}

TEST(value_list_test, statistics_follow_every_change) {
  TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.HighestValue(), 0);
  EXPECT_EQ(list.LowestValue(), 0);
  list.AppendValue(7);
  EXPECT_EQ(list.HighestValue(), 7);
  list.AppendValue(-2);
  EXPECT_EQ(list.LowestValue(), -2);
  list.StoreValueAt(0, 1);
  EXPECT_EQ(list.HighestValue(), 1);
  list.RemoveValueAt(1);
  EXPECT_EQ(list.LowestValue(), 1);
  list.InsertValueAt(0, 9);
  EXPECT_EQ(list.HighestValue(), 9);
  list.EraseValues();
  EXPECT_EQ(list.ValueSum(), 0);
}

// Statistics read after every append are kept up to date from the last value; they must be
// exactly what one pass over the whole list gives, sums rounded in the same order included.
TEST(value_list_test, statistics_kept_while_appending_equal_a_full_pass) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<double> values;
    double multiplier;
  };
  const Case cases[] = {
      {"rising tenths", {0.1, 0.2, 0.30000000000000004, 0.7, 1e16, 1}, 1},
      {"falling and rising", {5, 4, 3, 6, -2, 9, 9}, 0.1},
      {"NaN in between", {1, 2, nan, 0.5, 3}, 1},
      {"signed zeros", {-0.0, 0.0, -0.0}, -3},
  };
  auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  for (const Case& c : cases) {
    TChartValueList kept(nullptr, "Y"), passed(nullptr, "Y");
    kept.SetMultiplier(c.multiplier);
    passed.SetMultiplier(c.multiplier);
    for (double value : c.values) {
      kept.InsertValueAt(kept.ValueCount(), value);
      passed.InsertValueAt(passed.ValueCount(), value);
      (void)kept.ValueSum();  // read now, so the next append extends it
    }
    EXPECT_TRUE(same(kept.HighestValue(), passed.HighestValue())) << c.name;
    EXPECT_TRUE(same(kept.LowestValue(), passed.LowestValue())) << c.name;
    EXPECT_TRUE(same(kept.ValueSum(), passed.ValueSum())) << c.name;
    EXPECT_TRUE(same(kept.MagnitudeSum(), passed.MagnitudeSum())) << c.name;
    EXPECT_EQ(kept.StoredValuesAscend(), passed.StoredValuesAscend()) << c.name;
  }
  // An ordered append that lands before the end is not the last value: a full pass again.
  TChartValueList ordered(nullptr, "X");
  ordered.SetOrder(loAscending);
  for (double value : {1.0, 5.0}) ordered.AppendValue(value);
  ASSERT_EQ(ordered.HighestValue(), 5);
  ordered.AppendValue(3);
  ordered.AppendValue(-4);
  EXPECT_EQ(ordered.LowestValue(), -4);
  EXPECT_EQ(ordered.ValueSum(), 5);
  EXPECT_TRUE(ordered.StoredValuesAscend());
}

TEST(value_list_test, statistics_scan_finds_both_ends_of_a_falling_run) {
  // The scan uses "smaller, else greater": a falling run must still find the highest.
  TChartValueList list(nullptr, "Y");
  for (double value : {5.0, 4.0, 3.0, 6.0}) list.AppendValue(value);
  EXPECT_EQ(list.LowestValue(), 3);
  EXPECT_EQ(list.HighestValue(), 6);
}

TEST(value_list_test, stored_values_ascend_until_an_overwrite_or_nan_breaks_the_order) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<double> values;
    bool ascend;
  };
  const Case cases[] = {
      {"empty", {}, true},          {"equal values", {1, 1, 1}, true},  {"rising", {-2, 0, 0.5, 9}, true},
      {"one falls", {1, 3, 2}, false}, {"NaN first", {nan, 1}, false},  {"NaN last", {1, nan}, false},
  };
  for (const Case& c : cases) {
    TChartValueList list(nullptr, "X");
    for (double value : c.values) list.InsertValueAt(list.ValueCount(), value);
    EXPECT_EQ(list.StoredValuesAscend(), c.ascend) << c.name;
  }
  TChartValueList list(nullptr, "X");
  for (double value : {1.0, 2.0, 3.0}) list.InsertValueAt(list.ValueCount(), value);
  ASSERT_TRUE(list.StoredValuesAscend());
  list.StoreValueAt(0, 5);
  EXPECT_FALSE(list.StoredValuesAscend());
  list.RemoveValueAt(0);
  EXPECT_TRUE(list.StoredValuesAscend());
  // Scaling does not reorder what is stored.
  list.SetMultiplier(-1);
  EXPECT_TRUE(list.StoredValuesAscend());
}

TEST(value_list_test, out_of_range_indexes_raise_list_index_error) {
  TChartValueList list(nullptr, "Y");
  list.AppendValue(1);
  ExpectListIndexError([&] { list.ValueAt(1); }, "List index out of bounds (1)");
  ExpectListIndexError([&] { list.ValueAt(-1); }, "List index out of bounds (-1)");
  ExpectListIndexError([&] { list.StoreValueAt(3, 0); }, "List index out of bounds (3)");
  ExpectListIndexError([&] { list.RemoveValueAt(1); }, "List index out of bounds (1)");
  ExpectListIndexError([&] { list.InsertValueAt(2, 0); }, "List index out of bounds (2)");
  list.InsertValueAt(1, 5);  // at the count is allowed
  EXPECT_EQ(Values(list), (std::vector<double>{1, 5}));
  TChartValueList empty(nullptr, "Y");
  ExpectListIndexError([&] { empty.LastValue(); }, "List index out of bounds (-1)");
}

TEST(value_list_test, erase_releases_the_storage) {
  TChartValueList list(nullptr, "Y");
  for (int i = 0; i < 1000; ++i) list.AppendValue(i);
  list.EraseValues();
  EXPECT_EQ(list.ValueCount(), 0);
  EXPECT_EQ(list.StoredValues().data(), nullptr);
}

TEST(value_list_test, rotate_find_and_renumber) {
  TChartValueList list(nullptr, "Y");
  list.RotateValues();  // empty: nothing
  for (double value : {1.0, 2.0, 3.0, 2.0}) list.AppendValue(value);
  list.RotateValues();
  EXPECT_EQ(Values(list), (std::vector<double>{2, 3, 2, 1}));
  EXPECT_EQ(list.FindValue(2), 0);
  EXPECT_EQ(list.FindValue(4), -1);
  list.SetMultiplier(10);
  EXPECT_EQ(list.FindValue(30), 1);
  list.RenumberValues();
  EXPECT_EQ(Values(list), (std::vector<double>{0, 10, 20, 30}));
}

TEST(value_list_test, assign_copies_settings_not_name_or_values) {
  TChartValueList source(nullptr, "A");
  source.SetOrder(loDescending);
  source.SetDateTime(true);
  source.SetMultiplier(3);
  source.SetValueSource("field");
  source.AppendValue(1);
  TChartValueList target(nullptr, "B");
  target.Assign(source);
  EXPECT_EQ(target.Order(), loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.Multiplier(), 3);
  EXPECT_EQ(target.ValueSource(), "field");
  EXPECT_EQ(target.Name(), "B");
  EXPECT_EQ(target.ValueCount(), 0);
}

TEST(value_list_test, sort_moves_whole_points) {
  TChartSeries series;
  series.XValues().SetOrder(loNone);
  const double xs[] = {5, 1, 4, 2, 3, 2};
  // The number is appended to "p", not put after a literal: GCC 12 at -O3 reports a false
  // -Wrestrict (overlapping copy) inside the library's literal-plus-string operator.
  const auto label = [](double x) { return std::string("p").append(std::to_string(int(x))); };
  for (double x : xs) series.AddPoint(x, x * 10, label(x), TColor(x));
  series.XValues().SetOrder(loAscending);
  series.XValues().SortValues();
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{1, 2, 2, 3, 4, 5}));
  for (int index = 0; index < series.PointCount(); ++index) {
    const double x = series.PointX(index);
    EXPECT_EQ(series.PointY(index), x * 10);
    EXPECT_EQ(series.PointLabel(index), label(x));
    EXPECT_EQ(series.PointColor(index), TColor(x));
  }
  series.XValues().SetOrder(loDescending);
  series.XValues().SortValues();
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{5, 4, 3, 2, 2, 1}));
}

TEST(value_list_test, sort_with_order_none_keeps_the_points) {
  TChartSeries series;
  series.XValues().SetOrder(loNone);
  for (double x : {3.0, 1.0, 2.0}) series.AddPoint(x, 0);
  series.XValues().SortValues();
  EXPECT_EQ(Values(series.XValues()), (std::vector<double>{3, 1, 2}));
}

}  // namespace
