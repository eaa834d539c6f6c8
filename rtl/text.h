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

// Decodes the UTF-8 sequence at text[pos] into code_point and returns its length (1 to 4),
// or 0 when it is malformed, overlong, a surrogate or beyond U+10FFFF.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code_point);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t code_point);

std::string Utf8FromWindows1251(std::string_view text);

// Latin and Cyrillic letters in lower case (Ё as ё), for comparing without regard to case;
// every other byte stays.
char LowerCase(char c);
Text LowerCase(Text text);
// Invalid UTF-8 sequences become "?" as well, one per bad byte.
Text Windows1251FromUtf8(std::string_view utf8);

}  // namespace rtl
