// Text between the Windows console program and the system: the system speaks UTF-16 (wide
// characters), what the program reads and prints is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace console {

// UTF-16 to UTF-8 by the system's conversion; a lone surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace console
