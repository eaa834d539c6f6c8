#include "winshell/table_list_view.h"

#include <algorithm>

#include "core/window/form_layout.h"
#include "winshell/wide_text.h"

namespace winshell {
namespace {

using Kind = core::ConnectionTable::Change::Kind;
using core::form1::kColumnWidth;
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
      if (MeasureRows(change.first, change.first + change.count)) FitColumns();
      break;
    case Kind::kValueAppended:
      // Value n shows in column n; one past the last column shows nowhere.
      if (change.count < table_.ColumnCount() && Take(change.count, table_.RowAt(change.first).values.back())) {
        FitColumns();
      }
      SendMessageW(list_view_, LVM_REDRAWITEMS, change.first, change.first);
      break;
    case Kind::kCaptionChanged:
      if (table_.ColumnCount() > 0 && Take(0, table_.RowAt(change.first).caption)) FitColumns();
      SendMessageW(list_view_, LVM_REDRAWITEMS, change.first, change.first);
      break;
  }
}

void TableListView::ShowColumns() {
  SendMessageW(list_view_, WM_SETREDRAW, FALSE, 0);
  while (SendMessageW(list_view_, LVM_DELETECOLUMN, 1, 0)) {
  }
  const int count = table_.ColumnCount();
  SetColumn(0, count > 0 ? Wide(table_.Column(0)) : L"");
  for (int c = 1; c < count; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    const std::wstring caption = Wide(table_.Column(c));
    column.pszText = const_cast<wchar_t*>(caption.c_str());
    column.cx = kColumnWidth;
    column.iSubItem = c;
    SendMessageW(list_view_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  longest_ = table_.Columns();
  MeasureRows(0, table_.RowCount());
  FitColumns();
  SendMessageW(list_view_, WM_SETREDRAW, TRUE, 0);
}

void TableListView::SetColumn(int index, const std::wstring& caption) {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.pszText = const_cast<wchar_t*>(caption.c_str());
  column.cx = table_.ColumnCount() > 0 ? kColumnWidth : 0;
  SendMessageW(list_view_, LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void TableListView::FitColumns() {
  for (int c = 0; c + 1 < table_.ColumnCount(); ++c) {
    const std::wstring text = Wide(longest_[c]);
    const auto width = SendMessageW(list_view_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list_view_, LVM_SETCOLUMNWIDTH, c, width + kTextMargin);
  }
}

bool TableListView::MeasureRows(int first, int end) {
  bool longer = false;
  const int columns = table_.ColumnCount();
  for (int r = first; r < end; ++r) {
    const core::ConnectionTable::Row& row = table_.RowAt(r);
    if (columns > 0) longer |= Take(0, row.caption);
    const int values = std::min(static_cast<int>(row.values.size()), columns - 1);
    for (int v = 0; v < values; ++v) longer |= Take(v + 1, row.values[v]);
  }
  return longer;
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
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  if (item.iItem < 0 || item.iItem >= table_.RowCount()) {
    item.pszText[0] = L'\0';
    return;
  }
  const std::wstring text = Wide(table_.CellText(item.iItem, item.iSubItem));
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
  std::copy_n(text.begin(), length, item.pszText);
  item.pszText[length] = L'\0';
}

}  // namespace winshell
