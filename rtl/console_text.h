// Console text: what console programs print on a Russian-language Windows system is in
// code page 866, the program's own text in Windows-1251. ConvertConsoleText is the
// program's conversion of console output; ConsoleTextFromWindows1251 goes the other way,
// for the programs that stand in for the system's console commands.
#pragma once

#include <string_view>

#include "rtl/text.h"

namespace rtl {

// Byte by byte, same length: the Cyrillic letters of code page 866 become those of
// Windows-1251 (0x80-0xAF +0x40, 0xE0-0xEF +0x10, 0xF0 -> 0xA8 "Ё", 0xF1 -> 0xB8 "ё");
// every other byte (ASCII, box drawing, the rest) is copied unchanged.
Text ConvertConsoleText(std::string_view console_text);

// Unicode code point of one code page 866 byte.
char32_t UnicodeFromCodePage866(unsigned char byte);

// Windows-1251 text in code page 866, byte by byte; a character code page 866 cannot hold
// becomes "?". Converting the result back with ConvertConsoleText gives the input again for
// ASCII and Cyrillic letters.
std::string ConsoleTextFromWindows1251(std::string_view text);

}  // namespace rtl
