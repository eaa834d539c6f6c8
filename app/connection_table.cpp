#include "app/connection_table.h"

#include "app/qt_text.h"
#include "rtl/errors.h"

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

int ConnectionTable::AddRow(const rtl::Text& caption) {
  rows_.push_back(Row{caption, {}});
  return RowCount() - 1;
}

void ConnectionTable::AppendValue(int row, const rtl::Text& value) {
  RowAt(row);  // checks the index
  rows_[static_cast<std::size_t>(row)].values.push_back(value);
}

void ConnectionTable::SetRowCaption(int row, const rtl::Text& caption) {
  RowAt(row);
  rows_[static_cast<std::size_t>(row)].caption = caption;
}

void ConnectionTable::AppendRows(std::vector<Row>&& rows) {
  if (rows_.empty()) {
    rows_ = std::move(rows);
    return;
  }
  rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void ConnectionTable::Clear() {
  columns_.clear();
  rows_.clear();
}

ConnectionTableModel::ConnectionTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ConnectionTableModel::ClearColumns() {
  if (table_.ColumnCount() == 0) return;
  beginRemoveColumns(QModelIndex(), 0, table_.ColumnCount() - 1);
  table_.ClearColumns();
  endRemoveColumns();
}

void ConnectionTableModel::AddColumn(const rtl::Text& caption) {
  const int column = table_.ColumnCount();
  beginInsertColumns(QModelIndex(), column, column);
  table_.AddColumn(caption);
  endInsertColumns();
}

int ConnectionTableModel::AddRow(const rtl::Text& caption) {
  const int row = table_.RowCount();
  beginInsertRows(QModelIndex(), row, row);
  table_.AddRow(caption);
  endInsertRows();
  return row;
}

void ConnectionTableModel::AppendValue(int row, const rtl::Text& value) {
  table_.AppendValue(row, value);
  const int column = static_cast<int>(table_.RowAt(row).values.size());
  if (column < table_.ColumnCount()) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
  }
}

void ConnectionTableModel::SetRowCaption(int row, const rtl::Text& caption) {
  table_.SetRowCaption(row, caption);
  if (table_.ColumnCount() > 0) {
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
  }
}

void ConnectionTableModel::AppendRows(std::vector<ConnectionTable::Row>&& rows) {
  if (rows.empty()) return;
  const int first = table_.RowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
  table_.AppendRows(std::move(rows));
  endInsertRows();
}

void ConnectionTableModel::Clear() {
  beginResetModel();
  table_.Clear();
  endResetModel();
}

int ConnectionTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.RowCount();
}

int ConnectionTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.ColumnCount();
}

QVariant ConnectionTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return ToQString(table_.CellText(index.row(), index.column()));
}

QVariant ConnectionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= table_.ColumnCount()) return {};
  return ToQString(table_.Column(section));
}

Qt::ItemFlags ConnectionTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags result = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) result |= Qt::ItemIsEditable;
  return result;
}

bool ConnectionTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 0 || role != Qt::EditRole) return false;
  SetRowCaption(index.row(), ToText(value.toString()));
  return true;
}
