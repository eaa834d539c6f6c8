// The page "Сеансы и файлы"'s own widgets: a report list shows the logic's rows as owner data
// and leaves sorting to the logic, and the share box tells the user's choice only.
#include "app/report_list_view.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "app/choice_combo_box.h"
#include "app/server_page_controls.h"
#include "app/qt_text.h"
#include "core/window/form_layout.h"
#include "platform/user_advice.h"
#include "qt_application.h"
#include "tests/support/windows1251_text.h"

namespace {

// `count` rows of two columns, cell (r, c) "r.c"; counts the cells asked for.
class NumberedRows : public core::ReportRows {
 public:
  explicit NumberedRows(int count) : count_(count) {}
  int ColumnCount() const override { return 2; }
  rtl::Text Caption(int column) const override { return column == 0 ? W("Файл") : W("Шара"); }
  int RowCount() const override { return count_; }
  rtl::Text Cell(int row, int column) const override {
    ++cells_asked;
    return std::to_string(row) + "." + std::to_string(column);
  }
  mutable int cells_asked = 0;

 private:
  int count_;
};

constexpr int kWidths[] = {140, 70};

class report_list_view_test : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  report_list_view_test() {
    list_.resize(300, 120);
    list_.show();
  }
  QString Shown(int row, int column) const { return list_.model()->index(row, column).data().toString(); }
  void ClickHeader(int column) {
    QHeaderView* header = list_.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  }

  ReportListView list_{kWidths};
};

// Each reading replaces the rows whole; the widths the user dragged stay.
TEST_F(report_list_view_test, ten_thousand_rows_show_asking_only_the_drawn_cells) {
  NumberedRows many(10000), one(1);
  list_.ShowRows(many);
  list_.grab();
  EXPECT_EQ(list_.model()->rowCount(), 10000);
  EXPECT_EQ(list_.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Файл"));
  EXPECT_GT(many.cells_asked, 0);
  EXPECT_LT(many.cells_asked, 200);
  EXPECT_EQ(Shown(9999, 1), QStringLiteral("9999.1"));
  EXPECT_EQ(list_.header()->sectionSize(1), 70);
  list_.header()->resizeSection(0, 90);
  list_.ShowRows(one);
  EXPECT_EQ(list_.model()->rowCount(), 1);
  EXPECT_EQ(list_.header()->sectionSize(0), 90);
}

// A click says which column and runs the command; the mark is whatever the logic shows.
TEST_F(report_list_view_test, a_header_click_is_told_and_the_sort_mark_stays_the_logics) {
  NumberedRows rows(3);
  list_.ShowRows(rows);
  QSignalSpy clicked(&list_, &ReportListView::HeaderClicked);
  EXPECT_EQ(list_.ClickedColumn(), -1);
  ClickHeader(1);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(list_.ClickedColumn(), 1);
  EXPECT_FALSE(list_.header()->isSortIndicatorShown());
  list_.ShowSortColumn(1, true);
  ClickHeader(0);
  EXPECT_EQ(list_.ClickedColumn(), 0);
  EXPECT_EQ(list_.header()->sortIndicatorSection(), 1);
  EXPECT_EQ(list_.header()->sortIndicatorOrder(), Qt::DescendingOrder);
  // The logic's answer to the click, given while the click is told.
  QObject::connect(&list_, &ReportListView::HeaderClicked, [this] { list_.ShowSortColumn(list_.ClickedColumn(), false); });
  ClickHeader(0);
  EXPECT_EQ(list_.header()->sortIndicatorSection(), 0);
  EXPECT_EQ(list_.header()->sortIndicatorOrder(), Qt::AscendingOrder);
  EXPECT_EQ(Shown(0, 0), QStringLiteral("0.0"));  // Qt sorted nothing
  list_.ShowSortColumn(-1, false);
  EXPECT_FALSE(list_.header()->isSortIndicatorShown());
}

TEST(choice_combo_box_test, the_users_choice_is_told_and_the_logics_filling_is_not) {
  TestApplication();
  ChoiceComboBox box;
  QSignalSpy chosen(&box, &ChoiceComboBox::Chosen);
  box.SetChoices({W("Все шары"), "docs", W("Отчеты")}, 2);
  box.SetChoices({W("Все шары"), "docs"}, 1);
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_EQ(box.ChosenIndex(), 1);
  EXPECT_EQ(box.itemText(0), QStringLiteral("Все шары"));
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(chosen.count(), 1);
  EXPECT_EQ(box.ChosenIndex(), 0);
}

// The advice of both systems, the longest statuses the page shows, wraps whole within the line.
TEST(server_page_controls_test, the_advice_wraps_whole_within_the_status_line) {
  TestApplication();
  QWidget page;
  ServerPageControls controls;
  controls.Build(page);
  const rtl::Text advice = rtl::Windows1251FromUtf8(platform::AccessDeniedAdvice());
  static_cast<core::ServerPageView&>(controls).ShowServerStatus(advice);
  const QLabel& line = *controls.StatusLine();
  EXPECT_EQ(line.text(), ToQString(advice));
  EXPECT_EQ(line.width(), core::form1::kServerStatus.width);
  EXPECT_LE(line.heightForWidth(line.width()), core::form1::kServerStatus.height);
}

}  // namespace
