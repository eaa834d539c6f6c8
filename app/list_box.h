// TListBox: the window's list box. Its entries are a string list of Windows-1251 texts,
// ItemIndex is the selected entry or -1, Click comes when the user picks an entry with the
// mouse or the keyboard, DblClick on any double-click inside the box (also on empty space),
// and a right click opens the context menu without moving the selection. It is the window
// logic's list (core::EntryList) of the watch list, the share list and the users view.
#pragma once

#include <QListWidget>

#include "core/window/window_view.h"
#include "rtl/string_list.h"

class TListBox : public QListWidget, public core::EntryList {
  Q_OBJECT
 public:
  explicit TListBox(QWidget* parent = nullptr);

  rtl::StringList Entries() const override;
  // Replaces all entries; the selection goes (ItemIndex -1).
  void SetEntries(const rtl::StringList& entries) override;
  void AddEntry(const rtl::Text& entry) override;
  // Entry at `index`; throws rtl::ListIndexError for an index outside the list (also -1).
  rtl::Text Entry(int index) const;
  // Removes the entry at `index` (rtl::ListIndexError outside the list); the selection goes.
  void DeleteEntry(int index) override;
  void ClearEntries();
  int Count() const { return count(); }
  // The selected entry's index, -1 when none is selected.
  int ItemIndex() const override;
  void SetItemIndex(int index);
  // Height of every entry in pixels.
  void SetItemHeight(int pixels);

 signals:
  void Click();
  void DblClick();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
