// A Win32 drop-down list (COMBOBOX, CBS_DROPDOWNLIST) as the window logic's choice box
// (core::ChoiceBox): the share box of the page "Сеансы и файлы". Choices are Windows-1251 texts
// shown as UTF-16; choosing one by code sends no CBN_SELCHANGE, so only the user's choice runs
// a command.
#pragma once

#include <windows.h>

#include "core/window/server_page_view.h"

namespace winshell {

class ComboBox : public core::ChoiceBox {
 public:
  // The control comes later, when the window makes it; no call before that.
  void SetHandle(HWND handle) { handle_ = handle; }
  HWND Handle() const { return handle_; }

  void SetChoices(const rtl::StringList& choices, int chosen) override;
  int ChosenIndex() const override;

 private:
  HWND handle_ = nullptr;
};

}  // namespace winshell
