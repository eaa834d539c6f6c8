// Files read and written whole: the one way the program reads and writes its files (the watch
// list, the table files, the pictures of the history chart).
//
// Reading takes regular files only. A FIFO, a device or a socket under the name is refused
// before anything is read from it, so a FIFO without a writer cannot block the program and a
// device such as /dev/zero is not read without end.
//
// Writing replaces the file atomically. The bytes go to a new file with a unique name,
// created exclusively in the file's directory (a link planted under some name cannot redirect
// them), which is written, synced to the disk and closed, each step checked, and only then
// renamed over the file. A failure at any step is reported and leaves the earlier file as it
// was and no temporary file behind. A name that is a symbolic link is followed: the link stays
// and the file it leads to is replaced, in that file's directory. A link in a sticky
// world-writable directory (such as /tmp) is followed only when it belongs to the user or to
// the directory's owner, as the system's protected links have it; another user's link there
// is refused as access denied and left alone. A replaced file keeps its permission bits. A
// name that exists and is no regular file (directory, FIFO, device, socket) is refused and
// left alone.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "rtl/text.h"

namespace platform {

// How a file that cannot be opened or created is reported, as the caller's runtime would:
//   kRuntimeCode    rtl::InOutError with the runtime's code and text where the code has a
//                   text of its own (2 "File not found", 5 "File access denied", ...), as the
//                   table file does; any other code as kNamingTheFile, never "I/O error %d";
//   kNamingTheFile  rtl::FileOpenError "Cannot open file "%s". %s" when reading and
//                   rtl::FileCreateError "Cannot create file "%s". %s" when writing, with the
//                   system's text (strerror on Linux, the system's message for the error code
//                   on Windows), as the watch list and the pictures do.
// A name that is no regular file is reported naming it in both forms, with the reason
// kNotRegularFile (FileOpenError when reading, FileCreateError when writing).
enum class FileErrors { kRuntimeCode, kNamingTheFile };

inline constexpr char kNotRegularFile[] = "Not a regular file";

// The largest file read, in bytes: every file the program reads is a table or a watch list of
// a few megabytes, and a larger one would take several times its size in memory once read.
inline constexpr std::size_t kLargestReadFile = std::size_t{64} << 20;

// The file's whole content. Throws as above when the file cannot be opened or is no regular
// file; rtl::FileOpenError naming the file "файл больше 64 МБ, ..." for a file larger than
// kLargestReadFile (also one that grows past it while it is read), before it is read whole;
// when reading fails, the runtime's code where it has a text of its own, else naming the file.
rtl::Text ReadWholeFile(const std::filesystem::path& file, FileErrors errors);

// Makes `bytes` the whole content of the file, creating it or replacing it. Throws as above
// when the file cannot be created or replaced; when a write, the sync or the close fails,
// rtl::InOutError with the runtime's code where it has a text of its own (101 "Disk full"),
// else rtl::FileCreateError naming the file with the system's text.
void WriteWholeFile(const std::filesystem::path& file, std::string_view bytes, FileErrors errors);

}  // namespace platform
