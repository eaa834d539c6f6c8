// Whether two names lead to one file, as the system knows files: by device and inode on Linux,
// by volume serial number and file index on Windows. So the same file is found however it is
// named: by another path, through a symbolic link or a hard link, or on Windows by a name
// that differs in case.
#pragma once

#include <filesystem>

namespace platform {

// True when both names lead to one existing file. A name that leads to no file, or that the
// system cannot look at, is no other name's file: false, nothing thrown.
bool IsSameFile(const std::filesystem::path& one, const std::filesystem::path& other);

}  // namespace platform
