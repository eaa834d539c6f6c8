// The tests' Windows-1251 text written as UTF-8 in their sources: W("Пуск") is the program's text.
#pragma once

#include <string>

#include "rtl/text.h"

inline rtl::Text W(const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); }
