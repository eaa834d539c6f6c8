#include "core/connection_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/errors.h"

namespace {

using Change = core::ConnectionTable::Change;
using Kind = Change::Kind;

// Records every notification as "before/after kind first count", and checks that the table
// already shows the change when "after" comes and does not yet when "before" comes.
class RecordingObserver : public core::ConnectionTable::Observer {
 public:
  explicit RecordingObserver(const core::ConnectionTable& table) : table_(table) {}
  std::vector<std::string> events;
  std::vector<std::pair<int, int>> sizes_before;  // columns, rows seen at "before"

  void BeforeChange(const Change& change) override {
    events.push_back("before " + Describe(change));
    sizes_before.emplace_back(table_.ColumnCount(), table_.RowCount());
  }
  void AfterChange(const Change& change) override { events.push_back("after " + Describe(change)); }

 private:
  static std::string Describe(const Change& change) {
    return std::to_string(static_cast<int>(change.kind)) + " " + std::to_string(change.first) + " " +
           std::to_string(change.count);
  }
  const core::ConnectionTable& table_;
};

std::string Event(const char* when, Kind kind, int first, int count) {
  return std::string(when) + " " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(first) + " " +
         std::to_string(count);
}

TEST(connection_table_test, value_j_belongs_to_column_j_plus_one) {
  core::ConnectionTable table;
  table.AddColumns({"\xC2\xF0\xE5\xEC\xFF", "docs"});  // "Время"
  const int row = table.AddRow("08.12.2026  9:05:07");
  table.AppendValue(row, "3");
  EXPECT_EQ(table.CellText(row, 0), "08.12.2026  9:05:07");
  EXPECT_EQ(table.CellText(row, 1), "3");
  EXPECT_EQ(table.CellText(row, 2), "");  // fewer values than columns
  EXPECT_EQ(table.Column(0), "\xC2\xF0\xE5\xEC\xFF");
}

TEST(connection_table_test, clearing_columns_keeps_rows_and_values) {
  core::ConnectionTable table;
  table.AddColumn("a");
  table.AddRow("r");
  table.AppendValue(0, "1");
  table.ClearColumns();
  EXPECT_EQ(table.ColumnCount(), 0);
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.RowAt(0).values, std::vector<rtl::Text>{"1"});
}

TEST(connection_table_test, bad_indexes_raise_list_index_errors_and_change_nothing) {
  core::ConnectionTable table;
  RecordingObserver observer(table);
  table.AddRow("r");
  table.SetObserver(&observer);
  try {
    table.AppendValue(1, "x");
    FAIL() << "no exception";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(table.Column(0), rtl::ListIndexError);
  EXPECT_THROW(table.RowAt(-1), rtl::ListIndexError);
  EXPECT_THROW(table.SetRowCaption(2, "x"), rtl::ListIndexError);
  EXPECT_TRUE(observer.events.empty());
}

TEST(connection_table_test, the_observer_hears_each_change_once_before_and_after) {
  core::ConnectionTable table;
  RecordingObserver observer(table);
  table.SetObserver(&observer);
  table.AddColumns({"T", "a", "b"});
  table.AddRow("r");
  table.AppendValue(0, "1");
  table.AppendValue(0, "2");
  table.SetRowCaption(0, "s");
  table.AppendRows({{"x", {}}, {"y", {"5"}}});
  table.AppendRows({});  // nothing to tell
  table.ClearColumns();
  table.ClearColumns();  // nothing left to remove
  table.Clear();
  const std::vector<std::pair<Kind, std::pair<int, int>>> expected = {
      {Kind::kColumnsAdded, {0, 3}}, {Kind::kRowsAdded, {0, 1}},     {Kind::kValueAppended, {0, 1}},
      {Kind::kValueAppended, {0, 2}}, {Kind::kCaptionChanged, {0, 1}}, {Kind::kRowsAdded, {1, 2}},
      {Kind::kColumnsRemoved, {0, 3}}, {Kind::kReset, {0, 0}}};
  std::vector<std::string> events;
  for (const auto& [kind, range] : expected) {
    events.push_back(Event("before", kind, range.first, range.second));
    events.push_back(Event("after", kind, range.first, range.second));
  }
  EXPECT_EQ(observer.events, events);
  // A view must see the old shape at "before": nothing added yet.
  EXPECT_EQ(observer.sizes_before.front(), std::make_pair(0, 0));
  EXPECT_EQ(observer.sizes_before[5], std::make_pair(3, 1));
}

TEST(connection_table_test, appended_rows_follow_existing_ones) {
  core::ConnectionTable table;
  table.AddRow("first");
  table.AppendRows({{"second", {"1"}}, {"third", {}}});
  ASSERT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.RowAt(1).caption, "second");
  EXPECT_EQ(table.RowAt(2).caption, "third");
}

}  // namespace
