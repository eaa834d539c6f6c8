// A report list of the page "Сеансы и файлы" (core::ReportList): owner data over the logic's
// core::ReportRows, which the view asks for the cells of the rows it draws only, so ten
// thousand rows cost what the visible ones cost. It looks like ListView1 (ShapeAsReport); its
// header is clickable, and a click records the column and says HeaderClicked, while the rows'
// order and the header's sort mark stay the logic's (Qt's own sorting is off). Widths in pixels.
#pragma once

#include <QTreeView>
#include <span>

#include "core/window/server_page_view.h"

// The look of a report list in this window: rows without root decoration, of one height, one
// selected at a time and whole, a header whose sections stay where they are and keep their
// widths, and no sorting of Qt's.
void ShapeAsReport(QTreeView& view);

class ReportListView : public QTreeView, public core::ReportList {
  Q_OBJECT
 public:
  // `column_widths` (pixels, one per column of the rows to come) outlive the list.
  explicit ReportListView(std::span<const int> column_widths, QWidget* parent = nullptr);

  // The first call also sets the columns' widths; later calls keep the widths the user dragged.
  void ShowRows(const core::ReportRows& rows) override;
  void ShowSortColumn(int column, bool descending) override;
  int ClickedColumn() const override { return clicked_column_; }

 signals:
  // A header section was clicked; ClickedColumn tells which.
  void HeaderClicked();

 private:
  class RowsModel;

  RowsModel* rows_model_;
  std::span<const int> column_widths_;
  bool columns_sized_ = false;
  int clicked_column_ = -1;
  // The mark as the logic last showed it, which a click leaves as it is.
  int sort_column_ = -1;
  bool descending_ = false;
};
