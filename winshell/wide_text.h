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

}  // namespace winshell
