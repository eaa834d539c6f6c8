// Text between the Windows console program and the system: the system speaks UTF-16 (wide
// characters), the program's own text is Windows-1251 and what it prints is UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "rtl/text.h"

namespace console {

// UTF-16 to UTF-8 by the system's conversion; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

// An argument as program text: Windows-1251 whatever the system's code pages are; a character
// the code page cannot hold becomes "?", as on Linux.
rtl::Text ProgramText(std::wstring_view argument);

}  // namespace console
