#include "winshell/report_list_view.h"

#include <string>

#include "core/window/form_layout.h"
#include "winshell/wide_text.h"

namespace winshell {

void ReportListView::ShowRows(const core::ReportRows& rows) {
  // The columns do not change after the first rows.
  if (rows_ == nullptr) InsertColumns(rows);
  rows_ = &rows;
  // The selection and focus name rows by index, which now may hold other records.
  ListView_SetItemState(handle_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  // The rows shown stay in view while the top one is still there; a shorter list scrolls back.
  const int count = rows.RowCount();
  ListView_SetItemCountEx(handle_, count, count > ListView_GetTopIndex(handle_) ? LVSICF_NOSCROLL : 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void ReportListView::InsertColumns(const core::ReportRows& rows) {
  for (int c = 0; c < rows.ColumnCount(); ++c) {
    std::wstring caption = Wide(rows.Caption(c));
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = c < static_cast<int>(widths_.size()) ? widths_[static_cast<std::size_t>(c)] : core::form1::kColumnWidth;
    column.iSubItem = c;
    ListView_InsertColumn(handle_, c, &column);
  }
}

void ReportListView::ShowSortColumn(int column, bool descending) {
  const HWND header = ListView_GetHeader(handle_);
  for (int c = 0; c < Header_GetItemCount(header); ++c) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, c, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (c == column) item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
    Header_SetItem(header, c, &item);
  }
}

bool ReportListView::Notify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != handle_) return false;
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: GiveCellText(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item); return true;
    case LVN_COLUMNCLICK: clicked_ = reinterpret_cast<const NMLISTVIEW*>(&header)->iSubItem; return true;
    default: return false;
  }
}

// Asked for a row or column the rows lack (a list view asks on while its count is being set):
// no text.
void ReportListView::GiveCellText(LVITEMW& item) const {
  if ((item.mask & LVIF_TEXT) == 0) return;
  const bool cell = rows_ != nullptr && item.iItem >= 0 && item.iItem < rows_->RowCount() && item.iSubItem >= 0 &&
                    item.iSubItem < rows_->ColumnCount();
  CopyToBuffer(cell ? Wide(rows_->Cell(item.iItem, item.iSubItem)) : L"", item.pszText, item.cchTextMax);
}

}  // namespace winshell
