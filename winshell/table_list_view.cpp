#include "winshell/table_list_view.h"

#include <algorithm>

#include "core/window/form_layout.h"
#include "winshell/wide_text.h"

namespace winshell {
namespace {

using Kind = core::ConnectionTable::Change::Kind;
// Room beside a column's text, within the cell and the header item.
constexpr int kTextMargin = 14;

}  // namespace

TableListView::TableListView(HWND list_view, core::ConnectionTable& table) : list_view_(list_view), table_(table) {
  // A report list view always keeps a column 0 (the row captions); with no table columns it
  // stays, captionless and zero wide.
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(L"");
  SendMessageW(list_view_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  table_.SetObserver(this);
  ShowColumns();
  SendMessageW(list_view_, LVM_SETITEMCOUNT, table_.RowCount(), 0);
}

TableListView::~TableListView() { table_.SetObserver(nullptr); }

void TableListView::AfterChange(const core::ConnectionTable::Change& change) {
  switch (change.kind) {
    case Kind::kColumnsRemoved:
    case Kind::kColumnsAdded:
    case Kind::kReset:
      ShowColumns();
      SendMessageW(list_view_, LVM_SETITEMCOUNT, table_.RowCount(), 0);
      InvalidateRect(list_view_, nullptr, TRUE);
      break;
    case Kind::kRowsAdded:
      SendMessageW(list_view_, LVM_SETITEMCOUNT, table_.RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
      FitColumns(MeasureRows(change.first, change.first + change.count));
      break;
    case Kind::kValueAppended:
      // Value n shows in column n; one past the last column shows nowhere.
      if (change.count < table_.ColumnCount() && Take(change.count, table_.RowAt(change.first).values.back())) {
        FitColumns({change.count});
      }
      SendMessageW(list_view_, LVM_REDRAWITEMS, change.first, change.first);
      break;
    case Kind::kCaptionChanged:
      if (table_.ColumnCount() > 0 && Take(0, table_.RowAt(change.first).caption)) FitColumns({0});
      SendMessageW(list_view_, LVM_REDRAWITEMS, change.first, change.first);
      break;
  }
}

// Every column is measured before it is inserted, so that none is laid out twice.
void TableListView::ShowColumns() {
  SendMessageW(list_view_, WM_SETREDRAW, FALSE, 0);
  DeleteColumns();
  longest_ = table_.Columns();
  MeasureRows(0, table_.RowCount());
  const std::wstring caption = table_.ColumnCount() > 0 ? Wide(table_.Column(0)) : L"";
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(caption.c_str());
  column.cx = ColumnWidth(0);
  SendMessageW(list_view_, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (int c = 1; c < table_.ColumnCount(); ++c) InsertColumn(c);
  SendMessageW(list_view_, WM_SETREDRAW, TRUE, 0);
}

// From the last one, so that no column moves; column 0 stays.
void TableListView::DeleteColumns() {
  const auto header = reinterpret_cast<HWND>(SendMessageW(list_view_, LVM_GETHEADER, 0, 0));
  for (auto c = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) - 1; c >= 1; --c) {
    SendMessageW(list_view_, LVM_DELETECOLUMN, c, 0);
  }
}

void TableListView::InsertColumn(int index) {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  const std::wstring caption = Wide(table_.Column(index));
  column.pszText = const_cast<wchar_t*>(caption.c_str());
  column.cx = ColumnWidth(index);
  column.iSubItem = index;
  SendMessageW(list_view_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

// Column 0 without table columns is hidden.
int TableListView::ColumnWidth(int column) const {
  const int count = table_.ColumnCount();
  if (!core::form1::FitsItsTexts(column, count)) return core::form1::ReportColumnWidth(column, count, 0);
  const std::wstring text = Wide(longest_[column]);
  const auto width = SendMessageW(list_view_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return core::form1::ReportColumnWidth(column, count, static_cast<int>(width) + kTextMargin);
}

void TableListView::FitColumns(const std::vector<int>& columns) {
  for (const int c : columns) {
    if (core::form1::FitsItsTexts(c, table_.ColumnCount())) SendMessageW(list_view_, LVM_SETCOLUMNWIDTH, c, ColumnWidth(c));
  }
}

std::vector<int> TableListView::MeasureRows(int first, int end) {
  std::vector<bool> longer(longest_.size());
  const int columns = table_.ColumnCount();
  for (int r = first; r < end; ++r) {
    const core::ConnectionTable::Row& row = table_.RowAt(r);
    if (columns > 0 && Take(0, row.caption)) longer[0] = true;
    const int values = std::min(static_cast<int>(row.values.size()), columns - 1);
    for (int v = 0; v < values; ++v) {
      if (Take(v + 1, row.values[v])) longer[v + 1] = true;
    }
  }
  std::vector<int> changed;
  for (int c = 0; c < columns; ++c) {
    if (longer[c]) changed.push_back(c);
  }
  return changed;
}

bool TableListView::Take(int column, const rtl::Text& text) {
  if (text.size() <= longest_[column].size()) return false;
  longest_[column] = text;
  return true;
}

bool TableListView::Notify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != list_view_) return false;
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: GiveCellText(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item); return true;
    case LVN_BEGINLABELEDITW:
      // Nothing to edit while column 0 is hidden for want of columns.
      result = table_.ColumnCount() == 0;
      return true;
    case LVN_ENDLABELEDITW: {
      const LVITEMW& item = reinterpret_cast<const NMLVDISPINFOW*>(&header)->item;
      // No text: the edit was cancelled.
      if (item.pszText != nullptr) table_.SetRowCaption(item.iItem, TextOf(item.pszText));
      return true;
    }
    default: return false;
  }
}

void TableListView::GiveCellText(LVITEMW& item) const {
  if ((item.mask & LVIF_TEXT) == 0) return;
  const bool row = item.iItem >= 0 && item.iItem < table_.RowCount();
  CopyToBuffer(row ? Wide(table_.CellText(item.iItem, item.iSubItem)) : L"", item.pszText, item.cchTextMax);
}

}  // namespace winshell
