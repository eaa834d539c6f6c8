// A Win32 list box (LISTBOX, single selection, unsorted) as the window logic's list
// (core::EntryList): the watch list, the share list and the users view. Entries are
// Windows-1251 texts shown as UTF-16; a text holding a NUL byte shows up to it.
#pragma once

#include <windows.h>

#include "core/window/window_view.h"

namespace winshell {

class ListBox : public core::EntryList {
 public:
  // The control comes later, when the window makes it; no call before that.
  void SetHandle(HWND handle) { handle_ = handle; }
  HWND Handle() const { return handle_; }

  rtl::StringList Entries() const override;
  void SetEntries(const rtl::StringList& entries) override;
  void AddEntry(const rtl::Text& entry) override;
  void DeleteEntry(int index) override;
  int ItemIndex() const override;

 private:
  HWND handle_ = nullptr;
};

}  // namespace winshell
