// The small list commands of the main window, driven through its handlers.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/connection_table_model.h"
#include "core/connection_table.h"
#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "qt_application.h"
#include "rtl/errors.h"
#include "tests/support/temporary_directory.h"

namespace rtl {
void PrintTo(const StringList& list, std::ostream* out) {
  for (const Text& entry : list) *out << '"' << entry << "\" ";
}
}  // namespace rtl

namespace {

class ListCommands : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  void SetUp() override {
    form_.SetExecutableFileName(QString::fromStdString(directory_.File("sharemon")));
    form_.ListBox1()->SetEntries(kShares);
  }

  // Showing fills ListBox1 with the machine's shares; the tests want their own.
  void Show() {
    form_.show();
    form_.ListBox1()->SetEntries(kShares);
  }

  rtl::StringList WatchList() const { return form_.ListBox2()->Entries(); }

  const rtl::StringList kShares{"docs", "\xEE\xE1\xF9\xE0\xFF", "print$"};
  TemporaryDirectory directory_;
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(ListCommands, double_click_appends_the_selected_share_even_twice) {
  form_.ListBox1()->SetItemIndex(1);
  form_.ListBox1DblClick();
  form_.ListBox1DblClick();
  EXPECT_EQ(WatchList(), (rtl::StringList{"\xEE\xE1\xF9\xE0\xFF", "\xEE\xE1\xF9\xE0\xFF"}));
}

TEST_F(ListCommands, double_click_without_selection_reports_index_minus_one) {
  form_.ListBox2()->SetEntries({"kept"});
  form_.Run(&TForm1::ListBox1DblClick);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("List index out of bounds (-1)"));
  EXPECT_EQ(WatchList(), (rtl::StringList{"kept"}));
}

TEST_F(ListCommands, double_click_on_an_empty_share_list_reports_the_error) {
  form_.ListBox1()->ClearEntries();
  EXPECT_THROW(form_.ListBox1DblClick(), rtl::ListIndexError);
  EXPECT_TRUE(WatchList().Empty());
}

TEST_F(ListCommands, double_click_on_the_users_view_appends_the_share_list_selection) {
  Show();
  form_.PageControl1()->setCurrentIndex(1);
  form_.ListBox3()->SetEntries({"user1", "user2"});
  form_.ListBox3()->SetItemIndex(1);
  form_.ListBox1()->SetItemIndex(2);
  QTest::mouseDClick(form_.ListBox3()->viewport(), Qt::LeftButton, {},
                     form_.ListBox3()->visualItemRect(form_.ListBox3()->item(0)).center());
  EXPECT_EQ(WatchList(), (rtl::StringList{"print$"}));
}

TEST_F(ListCommands, double_click_on_empty_space_of_the_share_list_also_counts) {
  Show();
  form_.PageControl1()->setCurrentIndex(1);
  form_.ListBox1()->SetItemIndex(0);
  QTest::mouseDClick(form_.ListBox1()->viewport(), Qt::LeftButton, {}, QPoint(50, 200));
  EXPECT_EQ(WatchList(), (rtl::StringList{"docs"}));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ListCommands, button2_replaces_the_watch_list_by_the_share_list) {
  form_.ListBox2()->SetEntries({"manual", "docs"});
  form_.Button2Click();
  EXPECT_EQ(WatchList(), form_.ListBox1()->Entries());
}

TEST_F(ListCommands, button3_removes_columns_keeps_rows_and_empties_the_watch_list) {
  core::ConnectionTable& table = form_.Table();
  table.AddColumn("\xC2\xF0\xE5\xEC\xFF");
  table.AddColumn("docs");
  table.AppendValue(table.AddRow("08.12.2026  9:05:07"), "2");
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button3()->click();
  EXPECT_EQ(form_.ListView1Items()->columnCount(), 0);
  ASSERT_EQ(form_.ListView1Items()->rowCount(), 1);
  EXPECT_EQ(table.RowAt(0).values, std::vector<rtl::Text>{"2"});
  EXPECT_TRUE(WatchList().Empty());
}

TEST_F(ListCommands, delete_removes_the_selected_entry_only) {
  form_.ListBox2()->SetEntries({"a", "b", "c"});
  form_.ListBox2()->SetItemIndex(1);
  form_.N3()->trigger();
  EXPECT_EQ(WatchList(), (rtl::StringList{"a", "c"}));
  EXPECT_EQ(form_.ListBox2()->ItemIndex(), -1);
  form_.N3()->trigger();  // nothing selected now
  EXPECT_EQ(WatchList(), (rtl::StringList{"a", "c"}));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ListCommands, right_click_leaves_the_selection_alone) {
  Show();
  form_.ListBox2()->SetEntries({"a", "b"});
  form_.ListBox2()->SetItemIndex(0);
  QTest::mousePress(form_.ListBox2()->viewport(), Qt::RightButton, {},
                    form_.ListBox2()->visualItemRect(form_.ListBox2()->item(1)).center());
  EXPECT_EQ(form_.ListBox2()->ItemIndex(), 0);
}

TEST_F(ListCommands, exit_closes_the_window) {
  Show();
  ASSERT_TRUE(form_.isVisible());
  form_.N4()->trigger();
  EXPECT_FALSE(form_.isVisible());
}

TEST_F(ListCommands, guard_keeps_the_state_reached_and_the_window_running) {
  form_.ListBox2()->SetEntries({"a"});
  form_.ListBox1()->ClearEntries();
  form_.Run(&TForm1::ListBox1DblClick);
  form_.Run(&TForm1::ListBox1DblClick);
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
  form_.ListBox1()->SetEntries({"b"});
  form_.ListBox1()->SetItemIndex(0);
  form_.Run(&TForm1::ListBox1DblClick);
  EXPECT_EQ(WatchList(), (rtl::StringList{"a", "b"}));
}

}  // namespace
