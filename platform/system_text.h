// Text between the Windows program and the system (Windows only): the system speaks UTF-16
// (wide characters), the program's own text is Windows-1251 and what it prints is UTF-8.
// Conversions never fail: what a code page cannot hold becomes a stand-in character.
#pragma once

#include <string>
#include <string_view>

#include "rtl/text.h"

namespace platform {

// UTF-16 to UTF-8 by the system's conversion; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);

// A system text (an argument, a name the system reports) as program text: Windows-1251
// whatever the system's code pages are; a character the code page cannot hold becomes "?",
// as on Linux.
rtl::Text ProgramText(std::wstring_view wide);

}  // namespace platform
