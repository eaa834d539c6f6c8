#include "winshell/list_box.h"

#include <string>

#include "winshell/wide_text.h"

namespace winshell {

rtl::StringList ListBox::Entries() const {
  rtl::StringList entries;
  const int count = static_cast<int>(SendMessageW(handle_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring entry(static_cast<std::size_t>(SendMessageW(handle_, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    entry.resize(static_cast<std::size_t>(SendMessageW(handle_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()))));
    entries.Add(TextOf(entry));
  }
  return entries;
}

void ListBox::SetEntries(const rtl::StringList& entries) {
  // One repaint for the whole list, not one per entry.
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
  for (const rtl::Text& entry : entries) AddEntry(entry);
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void ListBox::AddEntry(const rtl::Text& entry) {
  SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
}

void ListBox::DeleteEntry(int index) {
  SendMessageW(handle_, LB_DELETESTRING, index, 0);
  // A list box loses its selection with the selected entry; it never moves on by itself.
  SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int ListBox::ItemIndex() const { return static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0)); }

}  // namespace winshell
