// The watch list file (splist.txt): one watched share per line, Windows-1251, CR LF after each
// line when written. Read as the window reads it at show time: lines end at CR LF, a lone LF
// or a lone CR, the last line needs no end, an empty line in the middle is an empty entry, and
// the text ends at its first NUL byte. The window and the headless run read it here.
#pragma once

#include <filesystem>

#include "rtl/string_list.h"

namespace core {

// The entries in file order. Throws rtl::FileOpenError "Cannot open file "%s". %s" naming the
// file when it is missing, unreadable or no regular file; nothing is returned then.
rtl::StringList ReadWatchListFile(const std::filesystem::path& file);

}  // namespace core
