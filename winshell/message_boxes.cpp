#include "winshell/message_boxes.h"

#include "rtl/errors.h"
#include "winshell/wide_text.h"

namespace winshell {

std::filesystem::path ExecutableFile() {
  // A path longer than the buffer comes back cut to its size: try again with more room.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
}

std::wstring ApplicationTitle() { return ExecutableFile().stem().wstring(); }

void ErrorBox(HWND owner, const rtl::Text& message) {
  MessageBoxW(owner, Wide(rtl::ErrorMessageForBox(message)).c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONSTOP);
}

void NoticeBox(const rtl::Text& message) {
  MessageBoxW(nullptr, Wide(message).c_str(), ApplicationTitle().c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace winshell
