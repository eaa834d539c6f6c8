// A report list of the page "Сеансы и файлы" on Windows: a list view that holds no rows of its
// own (LVS_OWNERDATA) over the logic's core::ReportRows. It knows only how many rows there are
// and asks the rows for the text of each cell it draws (converted to UTF-16 here), so ten
// thousand rows cost what the visible ones cost. A header click is remembered as the clicked
// column before the window runs its sort command; the sorted column carries the header's arrow.
// Column widths are the layout's, in pixels. Nothing here throws.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <span>

#include "core/window/server_page_view.h"

namespace winshell {

class ReportListView : public core::ReportList {
 public:
  // `widths`: the columns' widths in pixels in column order (core::form1), outliving this
  // object; a column beyond them gets core::form1::kColumnWidth.
  explicit ReportListView(std::span<const int> widths) : widths_(widths) {}
  // The list view (report view, LVS_OWNERDATA) comes later, when the window makes it; no call
  // before that.
  void SetHandle(HWND handle) { handle_ = handle; }
  HWND Handle() const { return handle_; }

  void ShowRows(const core::ReportRows& rows) override;
  void ShowSortColumn(int column, bool descending) override;
  int ClickedColumn() const override { return clicked_; }

  // A notification from the list view (WM_NOTIFY): a cell's text asked (LVN_GETDISPINFOW) or a
  // header clicked (LVN_COLUMNCLICK, whose command the window runs after this). True when it
  // was one of these; then `result` is the answer.
  bool Notify(const NMHDR& header, LRESULT& result);

 private:
  void InsertColumns(const core::ReportRows& rows);
  void GiveCellText(LVITEMW& item) const;

  HWND handle_ = nullptr;
  std::span<const int> widths_;
  const core::ReportRows* rows_ = nullptr;  // the logic's; none before the first ShowRows
  int clicked_ = -1;
};

}  // namespace winshell
