// The connection table's face in ListView1: a report-view model over the program's one
// core::ConnectionTable, following every change the table reports (see its Observer), so a
// change made by a run, a file load or "Очистить" shows without the model being asked.
// Column c shows column caption c in the header; cell (r, 0) is row r's caption (editable in
// place), cell (r, c) its value c - 1. Headers are not sortable: sort() is not overridden,
// so the rows keep their order.
#pragma once

#include <QAbstractTableModel>

#include "core/connection_table.h"

class ConnectionTableModel : public QAbstractTableModel, private core::ConnectionTable::Observer {
  Q_OBJECT
 public:
  // Observes `table`, which must outlive the model.
  explicit ConnectionTableModel(core::ConnectionTable& table, QObject* parent = nullptr);
  ~ConnectionTableModel() override;

  const core::ConnectionTable& Table() const { return table_; }
  core::ConnectionTable& Table() { return table_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  void BeforeChange(const core::ConnectionTable::Change& change) override;
  void AfterChange(const core::ConnectionTable::Change& change) override;

  core::ConnectionTable& table_;
};
