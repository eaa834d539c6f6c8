#include "winshell/combo_box.h"

#include "winshell/wide_text.h"

namespace winshell {

void ComboBox::SetChoices(const rtl::StringList& choices, int chosen) {
  SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
  for (const rtl::Text& choice : choices) {
    SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(choice).c_str()));
  }
  SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

// CB_ERR, with nothing chosen, is -1.
int ComboBox::ChosenIndex() const { return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0)); }

}  // namespace winshell
