#include "winshell/message_boxes.h"

#include "platform/data_directory.h"
#include "rtl/errors.h"
#include "winshell/wide_text.h"

namespace winshell {

std::wstring ApplicationTitle() { return platform::ProgramFile().stem().wstring(); }

void ErrorBox(HWND owner, const rtl::Text& message) {
  MessageBoxW(owner, Wide(rtl::ErrorMessageForBox(message)).c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONSTOP);
}

void NoticeBox(const rtl::Text& message) {
  MessageBoxW(nullptr, Wide(message).c_str(), ApplicationTitle().c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace winshell
