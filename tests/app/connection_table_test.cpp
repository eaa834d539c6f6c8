#include "app/connection_table.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "qt_application.h"
#include "rtl/errors.h"

namespace {

ConnectionTable::Row MakeRow(const rtl::Text& caption, std::vector<rtl::Text> values) {
  return ConnectionTable::Row{caption, std::move(values)};
}

TEST(ConnectionTable, value_j_belongs_to_column_j_plus_one) {
  ConnectionTable table;
  table.AddColumn("\xC2\xF0\xE5\xEC\xFF");  // "Время"
  table.AddColumn("docs");
  const int row = table.AddRow("08.12.2026  9:05:07");
  table.AppendValue(row, "3");
  EXPECT_EQ(table.CellText(row, 0), "08.12.2026  9:05:07");
  EXPECT_EQ(table.CellText(row, 1), "3");
  EXPECT_EQ(table.CellText(row, 2), "");  // fewer values than columns
  EXPECT_EQ(table.Column(0), "\xC2\xF0\xE5\xEC\xFF");
}

TEST(ConnectionTable, clearing_columns_keeps_rows_and_values) {
  ConnectionTable table;
  table.AddColumn("a");
  table.AddRow("r");
  table.AppendValue(0, "1");
  table.ClearColumns();
  EXPECT_EQ(table.ColumnCount(), 0);
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.RowAt(0).values, std::vector<rtl::Text>{"1"});
}

TEST(ConnectionTable, bad_indexes_raise_list_index_errors) {
  ConnectionTable table;
  table.AddRow("r");
  try {
    table.AppendValue(1, "x");
    FAIL() << "no exception";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (1)");
  }
  EXPECT_THROW(table.Column(0), rtl::ListIndexError);
  EXPECT_THROW(table.RowAt(-1), rtl::ListIndexError);
  EXPECT_THROW(table.SetRowCaption(2, "x"), rtl::ListIndexError);
}

TEST(ConnectionTable, appended_rows_follow_existing_ones) {
  ConnectionTable table;
  table.AddRow("first");
  std::vector<ConnectionTable::Row> rows = {MakeRow("second", {"1"}), MakeRow("third", {})};
  table.AppendRows(std::move(rows));
  ASSERT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.RowAt(1).caption, "second");
  EXPECT_EQ(table.RowAt(2).caption, "third");
}

class ConnectionTableModelTest : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  ConnectionTableModel model_;
};

TEST_F(ConnectionTableModelTest, shows_captions_and_values_as_unicode) {
  model_.AddColumn("\xC2\xF0\xE5\xEC\xFF");
  model_.AddColumn("\xEE\xE1\xF9\xE0\xFF");  // "общая"
  const int row = model_.AddRow("r1");
  model_.AppendValue(row, "7");
  EXPECT_EQ(model_.columnCount(), 2);
  EXPECT_EQ(model_.rowCount(), 1);
  EXPECT_EQ(model_.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Время"));
  EXPECT_EQ(model_.headerData(1, Qt::Horizontal).toString(), QStringLiteral("общая"));
  EXPECT_EQ(model_.data(model_.index(0, 0)).toString(), QStringLiteral("r1"));
  EXPECT_EQ(model_.data(model_.index(0, 1)).toString(), QStringLiteral("7"));
}

TEST_F(ConnectionTableModelTest, only_the_row_caption_is_editable) {
  model_.AddColumn("a");
  model_.AddColumn("b");
  model_.AddRow("r");
  model_.AppendValue(0, "1");
  EXPECT_TRUE(model_.flags(model_.index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model_.flags(model_.index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_TRUE(model_.setData(model_.index(0, 0), QStringLiteral("новая")));
  EXPECT_EQ(model_.Table().RowAt(0).caption, "\xED\xEE\xE2\xE0\xFF");
  EXPECT_FALSE(model_.setData(model_.index(0, 1), QStringLiteral("9")));
  EXPECT_EQ(model_.Table().RowAt(0).values, std::vector<rtl::Text>{"1"});
}

TEST_F(ConnectionTableModelTest, clearing_columns_hides_rows_until_new_columns_come) {
  model_.AddColumn("a");
  model_.AddRow("r");
  model_.AppendValue(0, "1");
  model_.ClearColumns();
  EXPECT_EQ(model_.columnCount(), 0);
  EXPECT_EQ(model_.rowCount(), 1);
  model_.AddColumn("x");
  model_.AddColumn("y");
  EXPECT_EQ(model_.data(model_.index(0, 0)).toString(), QStringLiteral("r"));
  EXPECT_EQ(model_.data(model_.index(0, 1)).toString(), QStringLiteral("1"));
}

TEST_F(ConnectionTableModelTest, a_batch_of_rows_is_announced_once) {
  model_.AddColumn("a");
  QSignalSpy inserted(&model_, &QAbstractItemModel::rowsInserted);
  std::vector<ConnectionTable::Row> rows;
  for (int i = 0; i < 1000; ++i) rows.push_back(MakeRow(std::to_string(i), {"1"}));
  model_.AppendRows(std::move(rows));
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
  EXPECT_EQ(inserted.at(0).at(2).toInt(), 999);
  EXPECT_EQ(model_.rowCount(), 1000);
}

TEST_F(ConnectionTableModelTest, clear_removes_columns_and_rows) {
  model_.AddColumn("a");
  model_.AddRow("r");
  model_.Clear();
  EXPECT_EQ(model_.columnCount(), 0);
  EXPECT_EQ(model_.rowCount(), 0);
}

}  // namespace
