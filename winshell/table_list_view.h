// ListView1 on Windows: the connection table in a report list view that holds no rows of its
// own (LVS_OWNERDATA). The list view only knows how many rows there are and asks for the text
// of each cell it draws, so 100 000 rows cost nothing until they scroll into view. It follows
// the one core::ConnectionTable through its observer; a row's caption (column 0) can be
// edited in place, which changes the table. Column widths follow the layout's rule
// (core::form1::ReportColumnWidth), the longest text of a column measured. Each list view
// message on a column lays out every column after it, so a table of thousands of columns gets
// each column inserted once with its width, and later rows set only the widths they change.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/connection_table.h"

namespace winshell {

class TableListView : private core::ConnectionTable::Observer {
 public:
  // Shows `table` in `list_view` (report view, LVS_OWNERDATA); both outlive this object.
  TableListView(HWND list_view, core::ConnectionTable& table);
  ~TableListView() override;
  TableListView(const TableListView&) = delete;
  TableListView& operator=(const TableListView&) = delete;

  // A notification from the list view (WM_NOTIFY). True when it was one of the view's own; then
  // `result` is the answer. May throw when an edited caption cannot be stored.
  bool Notify(const NMHDR& header, LRESULT& result);

 private:
  void BeforeChange(const core::ConnectionTable::Change&) override {}
  void AfterChange(const core::ConnectionTable::Change& change) override;

  void ShowColumns();
  void DeleteColumns();
  void InsertColumn(int column);
  int ColumnWidth(int column) const;
  void FitColumns(const std::vector<int>& columns);
  // Takes the texts of rows [first, end) that are longer than their column's; the columns that
  // took one, each once.
  std::vector<int> MeasureRows(int first, int end);
  // Takes `text` as the column's longest when it is longer; true if it was.
  bool Take(int column, const rtl::Text& text);
  void GiveCellText(LVITEMW& item) const;

  HWND list_view_;
  core::ConnectionTable& table_;
  // Per table column, the longest text seen (caption or cell) by its count of characters: the
  // width follows it, so adding a row measures at most one text per column.
  std::vector<rtl::Text> longest_;
};

}  // namespace winshell
