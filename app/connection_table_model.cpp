#include "app/connection_table_model.h"

#include "app/qt_text.h"

using Kind = core::ConnectionTable::Change::Kind;

ConnectionTableModel::ConnectionTableModel(core::ConnectionTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  table_.SetObserver(this);
}

ConnectionTableModel::~ConnectionTableModel() { table_.SetObserver(nullptr); }

void ConnectionTableModel::BeforeChange(const core::ConnectionTable::Change& change) {
  const int last = change.first + change.count - 1;
  switch (change.kind) {
    case Kind::kColumnsRemoved: beginRemoveColumns(QModelIndex(), change.first, last); break;
    case Kind::kColumnsAdded: beginInsertColumns(QModelIndex(), change.first, last); break;
    case Kind::kRowsAdded: beginInsertRows(QModelIndex(), change.first, last); break;
    case Kind::kReset: beginResetModel(); break;
    case Kind::kValueAppended:
    case Kind::kCaptionChanged: break;
  }
}

void ConnectionTableModel::AfterChange(const core::ConnectionTable::Change& change) {
  switch (change.kind) {
    case Kind::kColumnsRemoved: endRemoveColumns(); break;
    case Kind::kColumnsAdded: endInsertColumns(); break;
    case Kind::kRowsAdded: endInsertRows(); break;
    case Kind::kReset: endResetModel(); break;
    case Kind::kValueAppended:
    case Kind::kCaptionChanged: {
      // A value shows in the column after its number; one past the last column shows nowhere.
      const int column = change.kind == Kind::kValueAppended ? change.count : 0;
      if (column >= table_.ColumnCount()) break;
      const QModelIndex cell = index(change.first, column);
      emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
      break;
    }
  }
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
  table_.SetRowCaption(index.row(), ToText(value.toString()));
  return true;
}
