#include "app/connection_table_model.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTreeView>

#include "app/report_columns.h"
#include "core/window/form_layout.h"
#include "qt_application.h"

namespace {

class ConnectionTableModelTest : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  core::ConnectionTable table_;
  ConnectionTableModel model_{table_};
};

TEST_F(ConnectionTableModelTest, shows_captions_and_values_as_unicode) {
  table_.AddColumns({"\xC2\xF0\xE5\xEC\xFF", "\xEE\xE1\xF9\xE0\xFF"});  // "Время", "общая"
  table_.AppendValue(table_.AddRow("r1"), "7");
  EXPECT_EQ(model_.columnCount(), 2);
  EXPECT_EQ(model_.rowCount(), 1);
  EXPECT_EQ(model_.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Время"));
  EXPECT_EQ(model_.headerData(1, Qt::Horizontal).toString(), QStringLiteral("общая"));
  EXPECT_EQ(model_.data(model_.index(0, 0)).toString(), QStringLiteral("r1"));
  EXPECT_EQ(model_.data(model_.index(0, 1)).toString(), QStringLiteral("7"));
}

TEST_F(ConnectionTableModelTest, only_the_row_caption_is_editable) {
  table_.AddColumns({"a", "b"});
  table_.AppendValue(table_.AddRow("r"), "1");
  EXPECT_TRUE(model_.flags(model_.index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model_.flags(model_.index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_TRUE(model_.setData(model_.index(0, 0), QStringLiteral("новая")));
  EXPECT_EQ(table_.RowAt(0).caption, "\xED\xEE\xE2\xE0\xFF");
  EXPECT_FALSE(model_.setData(model_.index(0, 1), QStringLiteral("9")));
  EXPECT_EQ(table_.RowAt(0).values, std::vector<rtl::Text>{"1"});
}

TEST_F(ConnectionTableModelTest, clearing_columns_hides_rows_until_new_columns_come) {
  table_.AddColumn("a");
  table_.AppendValue(table_.AddRow("r"), "1");
  table_.ClearColumns();
  EXPECT_EQ(model_.columnCount(), 0);
  EXPECT_EQ(model_.rowCount(), 1);
  table_.AddColumns({"x", "y"});
  EXPECT_EQ(model_.data(model_.index(0, 0)).toString(), QStringLiteral("r"));
  EXPECT_EQ(model_.data(model_.index(0, 1)).toString(), QStringLiteral("1"));
}

// The view hears of every change made to the table, whoever makes it, and a batch only once.
TEST_F(ConnectionTableModelTest, changes_to_the_table_reach_the_view_once_each) {
  table_.AddColumns({"a", "b"});
  QSignalSpy inserted(&model_, &QAbstractItemModel::rowsInserted);
  QSignalSpy changed(&model_, &QAbstractItemModel::dataChanged);
  QSignalSpy columns(&model_, &QAbstractItemModel::columnsInserted);
  std::vector<core::ConnectionTable::Row> rows;
  for (int i = 0; i < 1000; ++i) rows.push_back({std::to_string(i), {}});
  table_.AppendRows(std::move(rows));
  table_.AppendValue(5, "1");
  table_.AppendValue(5, "2");  // one past the last column: shown nowhere, nothing to repaint
  table_.AddColumns({"c", "d"});
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
  EXPECT_EQ(inserted.at(0).at(2).toInt(), 999);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toModelIndex(), model_.index(5, 1));
  ASSERT_EQ(columns.count(), 1);
  EXPECT_EQ(columns.at(0).at(2).toInt(), 3);
  EXPECT_EQ(model_.data(model_.index(5, 2)).toString(), QStringLiteral("2"));
}

TEST_F(ConnectionTableModelTest, clear_removes_columns_and_rows) {
  table_.AddColumn("a");
  table_.AddRow("r");
  QSignalSpy reset(&model_, &QAbstractItemModel::modelReset);
  table_.Clear();
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(model_.columnCount(), 0);
  EXPECT_EQ(model_.rowCount(), 0);
}

// The window's model, counting how often a view asks it about a cell.
struct CountingModel : ConnectionTableModel {
  using ConnectionTableModel::ConnectionTableModel;
  QVariant data(const QModelIndex& index, int role) const override {
    ++asked;
    return ConnectionTableModel::data(index, role);
  }
  mutable int asked = 0;
};

// A view that tells what its own fit to contents would make of a column.
struct FittingView : QTreeView {
  using QTreeView::sizeHintForColumn;
};

// Columns, then rows, then a value longer than its column's widest, as a run brings them: each
// column but the last ends as wide as the view's own fit would make it, the model asked about
// each cell once or so (the view's own fit asks about 600 times here).
TEST(report_columns_test, columns_fit_their_captions_and_values_asking_each_text_once) {
  TestApplication();
  core::ConnectionTable table;
  CountingModel model(table);
  FittingView view;
  view.setModel(&model);
  view.setRootIsDecorated(false);  // as ListView1: no indentation before a row caption
  view.setUniformRowHeights(true);
  view.header()->setStretchLastSection(false);
  new ReportColumns(view);
  table.AddColumns({"\xC2\xF0\xE5\xEC\xFF", "a", "documents", "b"});  // "Время"
  std::vector<core::ConnectionTable::Row> rows;
  for (int hour = 10; hour < 20; ++hour) rows.push_back({"01.12.2026 " + std::to_string(hour) + ":00", {"1", "12"}});
  table.AppendRows(std::move(rows));
  table.AppendValue(table.AddRow("01.12.2026 20:00"), "12345678");
  QCoreApplication::processEvents();
  EXPECT_LE(model.asked, 2 * 33);  // 33 cells fitted, and the view's look at a row for its height
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(view.header()->sectionSize(column),
              std::max(view.header()->sectionSizeHint(column), view.sizeHintForColumn(column)))
        << column;
  }
  EXPECT_EQ(view.header()->sectionSize(3), core::form1::kColumnWidth);
}

}  // namespace
