#include "app/report_list_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include "app/qt_text.h"

// Reset whole on every ShowRows: the rows may have changed in count, order and text at once.
class ReportListView::RowsModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void Show(const core::ReportRows& rows) {
    beginResetModel();
    rows_ = &rows;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : rows_->RowCount();
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : rows_->ColumnCount();
  }
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return ToQString(rows_->Cell(index.row(), index.column()));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= columnCount()) return {};
    return ToQString(rows_->Caption(section));
  }

 private:
  const core::ReportRows* rows_ = nullptr;
};

void ShapeAsReport(QTreeView& view) {
  view.setRootIsDecorated(false);
  view.setItemsExpandable(false);
  view.setUniformRowHeights(true);
  view.setSortingEnabled(false);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setSelectionBehavior(QAbstractItemView::SelectRows);
  view.header()->setSectionsMovable(false);
  view.header()->setStretchLastSection(false);
}

ReportListView::ReportListView(std::span<const int> column_widths, QWidget* parent)
    : QTreeView(parent), rows_model_(new RowsModel(this)), column_widths_(column_widths) {
  setModel(rows_model_);
  ShapeAsReport(*this);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setSectionsClickable(true);
  // The header turns its mark round on a click before it says so; the command that runs then
  // shows the logic's mark, and when it shows none the last one comes back.
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    clicked_column_ = column;
    emit HeaderClicked();
    ShowSortColumn(sort_column_, descending_);
  });
}

// The header keeps its sections' widths through a reset as long as their count stays.
void ReportListView::ShowRows(const core::ReportRows& rows) {
  rows_model_->Show(rows);
  if (columns_sized_) return;
  columns_sized_ = true;
  for (int column = 0; column < header()->count() && column < static_cast<int>(column_widths_.size()); ++column) {
    header()->resizeSection(column, column_widths_[column]);
  }
}

void ReportListView::ShowSortColumn(int column, bool descending) {
  sort_column_ = column;
  descending_ = descending;
  header()->setSortIndicatorShown(column >= 0);
  header()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}
