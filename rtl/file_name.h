// File names between program text and the system: the program names files in Windows-1251
// text, the system takes UTF-8 on Linux and UTF-16 on Windows. Both conversions are exact for
// every Windows-1251 byte; a system name with characters outside that code page shows them
// as "?" in program text.
#pragma once

#include <filesystem>
#include <string_view>

#include "rtl/text.h"

namespace rtl {

// The system's path for a file named in UTF-8 (a command-line argument): exact on every
// system, where a plain narrow string would go through Windows' ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The system's path for a file named by program text.
std::filesystem::path SystemPath(const Text& file_name);

// A system path as program text, for messages that name the file.
Text FileNameText(const std::filesystem::path& path);

}  // namespace rtl
