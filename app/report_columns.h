// ListView1's column widths by the layout's rule (core::form1::ReportColumnWidth). The view's
// own fit to contents asks the model for every cell's text many times over on each layout; here
// each text is measured once, with the view's fonts, when it arrives, and a column widens only
// for a text longer than its widest so far. Widths in pixels; nothing here fails.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

class QAbstractItemModel;
class QTreeView;

class ReportColumns : public QObject {
 public:
  // Follows the changes of the view's model (set before, and outliving this object). The view
  // shows its rows without root decoration, so that no indentation precedes a row's caption.
  explicit ReportColumns(QTreeView& view);

 private:
  void FitAll();
  void FitRows(int first, int last);
  void FitCells(int first_row, int last_row, int first_column, int last_column);
  QString CellText(int row, int column) const;
  void Widen(int column, int width);

  QTreeView& view_;
  const QAbstractItemModel& model_;
  // The widest caption or value of each column that fits, with its margins.
  std::vector<int> widest_;
};
