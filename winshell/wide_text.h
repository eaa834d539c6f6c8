// Text between the program and the Win32 controls: the program's text is Windows-1251
// (rtl::Text), the controls speak UTF-16. Exact both ways for every Windows-1251 character; a
// character the code page cannot hold (also half of a surrogate pair) comes back as "?".
#pragma once

#include <string>
#include <string_view>

#include "rtl/text.h"

namespace winshell {

std::wstring Wide(const rtl::Text& text);
rtl::Text TextOf(std::wstring_view wide);
// A caption of the layout (UTF-8, every character one Windows-1251 holds).
std::wstring WideOfUtf8(std::string_view utf8);
// Copies `wide` into a control's buffer of `capacity` characters (a list view's cell, whose
// buffer outlives the notification, unlike any string of ours), cut to fit, NUL-terminated.
// Does nothing when there is no room for the NUL.
void CopyToBuffer(std::wstring_view wide, wchar_t* buffer, int capacity);

}  // namespace winshell
