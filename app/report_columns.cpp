#include "app/report_columns.h"

#include <QHeaderView>
#include <QStyle>
#include <QtMath>
#include <QTreeView>
#include <algorithm>

#include "core/window/form_layout.h"

using core::form1::FitsItsTexts;
using core::form1::ReportColumnWidth;

ReportColumns::ReportColumns(QTreeView& view) : QObject(&view), view_(view), model_(*view.model()) {
  view_.header()->setSectionResizeMode(QHeaderView::Interactive);
  // The last column is another one after any change of the columns, so all are fitted anew.
  connect(&model_, &QAbstractItemModel::columnsInserted, this, &ReportColumns::FitAll);
  connect(&model_, &QAbstractItemModel::columnsRemoved, this, &ReportColumns::FitAll);
  connect(&model_, &QAbstractItemModel::modelReset, this, &ReportColumns::FitAll);
  connect(&model_, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) { FitRows(first, last); });
  connect(&model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
    FitCells(from.row(), to.row(), from.column(), to.column());
  });
  FitAll();
}

void ReportColumns::FitAll() {
  QHeaderView& header = *view_.header();
  const int count = model_.columnCount();
  widest_.assign(std::max(count - 1, 0), 0);
  for (int column = 0; FitsItsTexts(column, count); ++column) {
    widest_[column] = std::max(header.sectionSizeHint(column), header.minimumSectionSize());
  }
  FitRows(0, model_.rowCount() - 1);
  if (count > 0) header.resizeSection(count - 1, ReportColumnWidth(count - 1, count, 0));
}

void ReportColumns::FitRows(int first, int last) { FitCells(first, last, 0, static_cast<int>(widest_.size()) - 1); }

// Every width is found before any is set, so that each column is laid out once.
void ReportColumns::FitCells(int first_row, int last_row, int first_column, int last_column) {
  last_column = std::min(last_column, static_cast<int>(widest_.size()) - 1);
  const int margins = 2 * (view_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view_) + 1);
  const QFontMetricsF metrics(view_.font());
  for (int column = first_column; column <= last_column; ++column) {
    for (int row = first_row; row <= last_row; ++row) {
      Widen(column, qCeil(metrics.horizontalAdvance(CellText(row, column))) + margins);
    }
  }
  QHeaderView& header = *view_.header();
  const int count = model_.columnCount();
  for (int column = first_column; column <= last_column; ++column) {
    const int width = ReportColumnWidth(column, count, widest_[column]);
    if (header.sectionSize(column) != width) header.resizeSection(column, width);
  }
}

QString ReportColumns::CellText(int row, int column) const { return model_.data(model_.index(row, column)).toString(); }

void ReportColumns::Widen(int column, int width) { widest_[column] = std::max(widest_[column], width); }
