// The connection table: columns with captions ("Время" and one per share) and rows with a
// caption and a list of value texts, value j belonging to column j + 1. ConnectionTable holds
// the data; ConnectionTableModel shows it in ListView1 and is the only way to change it while
// it is shown, so the view always hears of changes once per batch, never once per cell.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "rtl/text.h"

// Plain data; all texts are Windows-1251. Indexes count from 0; a bad index throws
// rtl::ListIndexError with that index.
class ConnectionTable {
 public:
  struct Row {
    rtl::Text caption;
    std::vector<rtl::Text> values;
  };

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const rtl::Text& Column(int index) const;
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const Row& RowAt(int index) const;
  // The value shown in column `column` (>= 1) of a row, or an empty text when the row has
  // fewer values; column 0 is the row caption.
  rtl::Text CellText(int row, int column) const;

  void ClearColumns() { columns_.clear(); }
  void AddColumn(const rtl::Text& caption) { columns_.push_back(caption); }
  // Returns the index of the new row.
  int AddRow(const rtl::Text& caption);
  void AppendValue(int row, const rtl::Text& value);
  void SetRowCaption(int row, const rtl::Text& caption);
  void AppendRows(std::vector<Row>&& rows);
  void Clear();

 private:
  std::vector<rtl::Text> columns_;
  std::vector<Row> rows_;
};

// Qt face of the table for a report view: column c shows column caption c in the header;
// cell (r, 0) is row r's caption (editable in place), cell (r, c) its value c - 1.
// Headers are not sortable: sort() is not overridden, so the rows keep their order.
class ConnectionTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ConnectionTableModel(QObject* parent = nullptr);

  const ConnectionTable& Table() const { return table_; }

  // Columns go, rows and their values stay (they show again once columns exist).
  void ClearColumns();
  void AddColumn(const rtl::Text& caption);
  int AddRow(const rtl::Text& caption);
  void AppendValue(int row, const rtl::Text& value);
  void SetRowCaption(int row, const rtl::Text& caption);
  // Many rows at once with one notification, for loading large tables.
  void AppendRows(std::vector<ConnectionTable::Row>&& rows);
  // Columns and rows go.
  void Clear();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  ConnectionTable table_;
};
