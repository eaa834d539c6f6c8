#include "core/connection_table.h"

#include <iterator>

#include "rtl/errors.h"

namespace core {

using Kind = ConnectionTable::Change::Kind;

const rtl::Text& ConnectionTable::Column(int index) const {
  if (index < 0 || index >= ColumnCount()) throw rtl::ListIndexError(index);
  return columns_[static_cast<std::size_t>(index)];
}

const ConnectionTable::Row& ConnectionTable::RowAt(int index) const {
  if (index < 0 || index >= RowCount()) throw rtl::ListIndexError(index);
  return rows_[static_cast<std::size_t>(index)];
}

rtl::Text ConnectionTable::CellText(int row, int column) const {
  const Row& entry = RowAt(row);
  if (column == 0) return entry.caption;
  const auto value = static_cast<std::size_t>(column - 1);
  return column > 0 && value < entry.values.size() ? entry.values[value] : rtl::Text();
}

void ConnectionTable::Apply(const Change& change, const std::function<void()>& mutation) {
  if (observer_ != nullptr) observer_->BeforeChange(change);
  mutation();
  if (observer_ != nullptr) observer_->AfterChange(change);
}

void ConnectionTable::ClearColumns() {
  if (columns_.empty()) return;
  Apply({Kind::kColumnsRemoved, 0, ColumnCount()}, [this] { columns_.clear(); });
}

void ConnectionTable::AddColumns(std::vector<rtl::Text> captions) {
  if (captions.empty()) return;
  Apply({Kind::kColumnsAdded, ColumnCount(), static_cast<int>(captions.size())}, [&] {
    columns_.insert(columns_.end(), std::make_move_iterator(captions.begin()), std::make_move_iterator(captions.end()));
  });
}

int ConnectionTable::AddRow(const rtl::Text& caption) {
  Apply({Kind::kRowsAdded, RowCount(), 1}, [&] { rows_.push_back(Row{caption, {}}); });
  return RowCount() - 1;
}

void ConnectionTable::AppendValue(int row, const rtl::Text& value) {
  const int count = static_cast<int>(RowAt(row).values.size()) + 1;
  Apply({Kind::kValueAppended, row, count}, [&] { rows_[static_cast<std::size_t>(row)].values.push_back(value); });
}

void ConnectionTable::SetRowCaption(int row, const rtl::Text& caption) {
  RowAt(row);  // checks the index
  Apply({Kind::kCaptionChanged, row, 1}, [&] { rows_[static_cast<std::size_t>(row)].caption = caption; });
}

void ConnectionTable::AppendRows(std::vector<Row>&& rows) {
  if (rows.empty()) return;
  Apply({Kind::kRowsAdded, RowCount(), static_cast<int>(rows.size())}, [&] {
    if (rows_.empty()) {
      rows_ = std::move(rows);
    } else {
      rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    }
  });
}

void ConnectionTable::Clear() {
  Apply({Kind::kReset, 0, 0}, [this] {
    columns_.clear();
    rows_.clear();
  });
}

ConnectionTable TableOfRows(const ConnectionTable& table, std::vector<rtl::Text> columns, const std::vector<int>& rows) {
  ConnectionTable copy;
  copy.AddColumns(std::move(columns));
  std::vector<ConnectionTable::Row> copied;
  copied.reserve(rows.size());
  for (const int row : rows) copied.push_back(table.RowAt(row));
  copy.AppendRows(std::move(copied));
  return copy;
}

}  // namespace core
