// The connection table: columns with captions ("Время" and one per share) and rows with a
// caption and a list of value texts, value j belonging to column j + 1. One table serves the
// whole program: a polling run appends to it, loading a file, "Очистить" and caption edits
// change it, and the history chart reads it. A view follows it through one observer, told
// before and after every change, so it hears of a batch once, never once per cell.
#pragma once

#include <functional>
#include <vector>

#include "rtl/text.h"

namespace core {

class ConnectionTable {
 public:
  struct Row {
    rtl::Text caption;
    std::vector<rtl::Text> values;
    bool operator==(const Row&) const = default;
  };

  // What a change does, in the terms a view needs. Indexes count from 0.
  struct Change {
    enum class Kind {
      kColumnsRemoved,  // columns [first, first + count) go
      kColumnsAdded,    // columns [first, first + count) are new
      kRowsAdded,       // rows [first, first + count) are new
      kValueAppended,   // row `first` gained value number `count` - 1 (shown in column `count`)
      kCaptionChanged,  // row `first`
      kReset,           // everything goes
    };
    Kind kind;
    int first = 0;
    int count = 0;
  };

  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void BeforeChange(const Change& change) = 0;
    virtual void AfterChange(const Change& change) = 0;
  };

  // The observer (or none) hears of every later change; the table does not own it.
  void SetObserver(Observer* observer) { observer_ = observer; }

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // A bad index throws rtl::ListIndexError with that index.
  const rtl::Text& Column(int index) const;
  const std::vector<rtl::Text>& Columns() const { return columns_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  const Row& RowAt(int index) const;
  // Column 0 is the row caption; column c >= 1 the row's value c - 1, or "" when the row has
  // fewer values.
  rtl::Text CellText(int row, int column) const;

  // Columns go; rows and their values stay (they show again once columns exist).
  void ClearColumns();
  void AddColumns(std::vector<rtl::Text> captions);
  void AddColumn(const rtl::Text& caption) { AddColumns({caption}); }
  // Returns the index of the new row.
  int AddRow(const rtl::Text& caption);
  void AppendValue(int row, const rtl::Text& value);
  void SetRowCaption(int row, const rtl::Text& caption);
  void AppendRows(std::vector<Row>&& rows);
  // Columns and rows go.
  void Clear();

 private:
  // Every change goes through here, so the observer hears each one exactly once.
  void Apply(const Change& change, const std::function<void()>& mutation);

  std::vector<rtl::Text> columns_;
  std::vector<Row> rows_;
  Observer* observer_ = nullptr;
};

// A table of `columns` with copies of `table`'s rows numbered in `rows`, in that order.
ConnectionTable TableOfRows(const ConnectionTable& table, std::vector<rtl::Text> columns, const std::vector<int>& rows);

}  // namespace core
