#include "winshell/wide_text.h"

#include <algorithm>

namespace winshell {

// Every Windows-1251 character lies in the Basic Multilingual Plane: one UTF-16 unit each.
std::wstring Wide(const rtl::Text& text) {
  std::wstring wide(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    wide[i] = static_cast<wchar_t>(rtl::UnicodeFromWindows1251(static_cast<unsigned char>(text[i])));
  }
  return wide;
}

rtl::Text TextOf(std::wstring_view wide) {
  rtl::Text text(wide.size(), '\0');
  for (std::size_t i = 0; i < wide.size(); ++i) text[i] = rtl::Windows1251FromUnicode(static_cast<char16_t>(wide[i]));
  return text;
}

std::wstring WideOfUtf8(std::string_view utf8) { return Wide(rtl::Windows1251FromUtf8(utf8)); }

void CopyToBuffer(std::wstring_view wide, wchar_t* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return;
  const std::size_t length = std::min(wide.size(), static_cast<std::size_t>(capacity - 1));
  std::copy_n(wide.begin(), length, buffer);
  buffer[length] = L'\0';
}

}  // namespace winshell
