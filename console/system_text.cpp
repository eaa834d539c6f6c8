#include "console/system_text.h"

#include <windows.h>

namespace console {

std::string Utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

rtl::Text ProgramText(std::wstring_view argument) { return rtl::Windows1251FromUtf8(Utf8FromWide(argument)); }

std::filesystem::path ProgramDirectory() {
  // A path longer than the buffer comes back cut to its size: try again with more room.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return std::filesystem::path(path).parent_path();
    }
  }
}

}  // namespace console
