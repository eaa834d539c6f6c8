// The watch list file (splist.txt): one watched share per line, Windows-1251, CR LF after each
// line when written. Read as the window reads it at show time: lines end at CR LF, a lone LF
// or a lone CR, the last line needs no end, an empty line in the middle is an empty entry, and
// the text ends at its first NUL byte. A file that opens with the UTF-8 byte-order mark is
// UTF-8: the mark goes and the text is taken into Windows-1251 ('?' where it has no letter).
// The window and the headless run read it here, and the window writes it here.
#pragma once

#include <filesystem>

#include "rtl/string_list.h"

namespace core {

// The file's name in the program's data directory.
inline constexpr char kWatchListFileName[] = "splist.txt";

// The entries in file order. Throws rtl::FileOpenError "Cannot open file "%s". %s" naming the
// file when it is missing, unreadable or no regular file; nothing is returned then.
rtl::StringList ReadWatchListFile(const std::filesystem::path& file);

// Makes the entries the file's whole content (an empty list gives an empty file), replacing the
// file atomically; a name that is a symbolic link keeps its link and the file it leads to is
// replaced. Throws rtl::FileCreateError naming the file when it cannot be created or is no
// regular file, rtl::InOutError when writing fails ("Disk full"); the earlier file stays then.
void WriteWatchListFile(const std::filesystem::path& file, const rtl::StringList& entries);

}  // namespace core
