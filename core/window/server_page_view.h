// What the window logic asks of the page "Сеансы и файлы": its two report lists, the share box
// that picks whose open files are listed, and the page's status line. The lists are owner data:
// a shell asks the rows for the texts of the rows it draws only, so ten thousand rows cost what
// the visible ones cost. Texts are Windows-1251; every call comes on the window's thread.
#pragma once

#include "rtl/string_list.h"
#include "rtl/text.h"

namespace core {

// The rows of one report list as the logic holds them, in the order they are shown.
class ReportRows {
 public:
  virtual ~ReportRows() = default;
  virtual int ColumnCount() const = 0;
  virtual rtl::Text Caption(int column) const = 0;
  virtual int RowCount() const = 0;
  // A cell's text; `row` in [0, RowCount()), `column` in [0, ColumnCount()).
  virtual rtl::Text Cell(int row, int column) const = 0;
};

// A report list shown from ReportRows.
class ReportList {
 public:
  virtual ~ReportList() = default;
  // The list shows `rows` from now on: their count, order and texts may all have changed since
  // the last call. `rows` belongs to the logic and outlives the list's use of it; the first call
  // also gives the columns, which do not change later.
  virtual void ShowRows(const ReportRows& rows) = 0;
  // The header marks `column` as the one the rows are sorted by, descending or not; -1: none.
  virtual void ShowSortColumn(int column, bool descending) = 0;
  // The column whose header was clicked last, which a sort command sorts by; -1 before a click.
  virtual int ClickedColumn() const = 0;
};

// A drop-down list of choices, one chosen.
class ChoiceBox {
 public:
  virtual ~ChoiceBox() = default;
  // Replaces the choices; the one at `chosen` (an index into them) is chosen.
  virtual void SetChoices(const rtl::StringList& choices, int chosen) = 0;
  // The chosen choice's index; -1 when none is.
  virtual int ChosenIndex() const = 0;
};

class ServerPageView {
 public:
  virtual ~ServerPageView() = default;
  virtual ReportList& SessionsList() = 0;
  virtual ReportList& OpenFilesList() = 0;
  virtual ChoiceBox& OpenFilesShareBox() = 0;
  // The page's status line: "" when the last readings were read whole; otherwise what went
  // wrong and, where there is something to do, what to do, or that the lists were cut short.
  virtual void ShowServerStatus(const rtl::Text& status) = 0;
};

}  // namespace core
