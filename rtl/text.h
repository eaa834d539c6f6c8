// Text inside the program: 8-bit strings in the window code page (Windows-1251).
// Conversions to UTF-8 happen only at the edges (Qt widgets, Linux system calls);
// a character the code page cannot hold becomes "?".
#pragma once

#include <string>
#include <string_view>

namespace rtl {

// Bytes in Windows-1251.
using Text = std::string;

// Unicode code point of one Windows-1251 byte (0x98, unassigned, maps to U+0098).
char32_t UnicodeFromWindows1251(unsigned char byte);
// Windows-1251 byte of a code point, or '?' when the code page cannot hold it.
char Windows1251FromUnicode(char32_t code_point);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t code_point);

std::string Utf8FromWindows1251(std::string_view text);
// Invalid UTF-8 sequences become "?" as well, one per bad byte.
Text Windows1251FromUtf8(std::string_view utf8);

}  // namespace rtl
