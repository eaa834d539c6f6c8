// The stored layout's rules both windows follow: the tab order with a page shown, and
// ListView1's column widths.
#include "core/window/form_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace core::form1;
using F = Focusable;

TEST(form_layout_test, the_page_shown_puts_its_controls_right_after_page_control1) {
  struct Case {
    int page;
    std::vector<Focusable> order;
  };
  const Case cases[] = {
      {0, {F::kButton1, F::kPageControl1, F::kListView1, F::kListBox2, F::kButton3}},
      {1, {F::kButton1, F::kPageControl1, F::kListBox1, F::kButton2, F::kEdit1, F::kListBox3, F::kListBox2, F::kButton3}},
      {2, {F::kButton1, F::kPageControl1, F::kListBox2, F::kButton3}},
      {3,
       {F::kButton1, F::kPageControl1, F::kRefreshButton, F::kSessionsList, F::kOpenFilesShareBox, F::kOpenFilesList,
        F::kListBox2, F::kButton3}},
      {kEveryPage,
       {F::kButton1, F::kPageControl1, F::kListView1, F::kListBox1, F::kButton2, F::kEdit1, F::kListBox3,
        F::kRefreshButton, F::kSessionsList, F::kOpenFilesShareBox, F::kOpenFilesList, F::kListBox2, F::kButton3}},
  };
  for (const Case& c : cases) EXPECT_EQ(TabOrder(c.page), c.order) << "page " << c.page;
}

TEST(form_layout_test, every_column_but_the_last_fits_its_widest_text) {
  struct Case {
    int column, count, widest, width;
  };
  const Case cases[] = {
      {0, 0, 80, 0},  // the list view's column 0 of a table without columns
      {0, 1, 80, kColumnWidth}, {0, 3, 80, 80}, {1, 3, 7, 7}, {2, 3, 80, kColumnWidth},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReportColumnWidth(c.column, c.count, c.widest), c.width) << c.column << " of " << c.count;
  }
}

}  // namespace
