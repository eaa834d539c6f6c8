#include "platform/file_identity.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/owned_handle.h"
#else
#include <sys/stat.h>
#endif

namespace platform {

#ifdef _WIN32

namespace {

// Opened for nothing but its attributes, so a file another program holds, even without
// sharing, can still be looked at; a directory too.
bool Identify(const std::filesystem::path& file, BY_HANDLE_FILE_INFORMATION& information) {
  const Handle handle(::CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return handle.IsOpen() && ::GetFileInformationByHandle(handle.Get(), &information);
}

}  // namespace

bool IsSameFile(const std::filesystem::path& one, const std::filesystem::path& other) {
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  return Identify(one, first) && Identify(other, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

#else

bool IsSameFile(const std::filesystem::path& one, const std::filesystem::path& other) {
  struct stat first {};
  struct stat second {};
  return ::stat(one.c_str(), &first) == 0 && ::stat(other.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

#endif

}  // namespace platform
