#include "platform/whole_file.h"

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <system_error>

#include "platform/owned_handle.h"
#include "rtl/errors.h"
#include "rtl/file_name.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;

// The runtime's code of a system error number (errno on Linux, GetLastError() on Windows).
int RuntimeCode(int error);
// The system's text of a system error number, as program text.
rtl::Text ErrorText(int error);

// Only a code with a text of its own keeps the runtime's form: a bare "I/O error 32" tells the
// user neither which file nor what went wrong, so every other failure names the file and says
// it in the system's words.
bool KeepsRuntimeText(int error, FileErrors errors) {
  return errors == FileErrors::kRuntimeCode && rtl::HasOwnFileErrorText(RuntimeCode(error));
}

[[noreturn]] void ThrowOpenFailure(const fs::path& file, int error, FileErrors errors) {
  if (KeepsRuntimeText(error, errors)) throw rtl::InOutError(RuntimeCode(error));
  throw rtl::FileOpenError(rtl::FileNameText(file), ErrorText(error));
}

[[noreturn]] void ThrowCreateFailure(const fs::path& file, int error, FileErrors errors) {
  if (KeepsRuntimeText(error, errors)) throw rtl::InOutError(RuntimeCode(error));
  throw rtl::FileCreateError(rtl::FileNameText(file), ErrorText(error));
}

// A read or a write that fails once the file is open keeps the runtime's own text ("Disk
// full") in either form.
[[noreturn]] void ThrowReadFailure(const fs::path& file, int error) {
  ThrowOpenFailure(file, error, FileErrors::kRuntimeCode);
}

[[noreturn]] void ThrowWriteFailure(const fs::path& file, int error) {
  ThrowCreateFailure(file, error, FileErrors::kRuntimeCode);
}

[[noreturn]] void ThrowTooLarge(const fs::path& file) {
  throw rtl::FileOpenError(rtl::FileNameText(file),
                           rtl::Windows1251FromUtf8("файл больше " + std::to_string(kLargestReadFile >> 20) +
                                                    " МБ, таких файлов программа не читает"));
}

// Appends what was read, refusing a file that grew past the limit while it was read.
void AppendRead(const fs::path& file, rtl::Text& bytes, const char* buffer, std::size_t count) {
  if (bytes.size() + count > kLargestReadFile) ThrowTooLarge(file);
  bytes.append(buffer, count);
}

// A name beside `target` that no file is likely to have; the exclusive create decides.
fs::path TemporaryCandidate(const fs::path& target) {
  std::random_device random;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
  fs::path candidate = target;
  candidate += suffix;
  return candidate;
}

// Attempts at a unique temporary name before giving up: a clash is a one in 2^32 event.
constexpr int kTemporaryAttempts = 100;

}  // namespace
}  // namespace platform

#ifndef _WIN32

namespace platform {
namespace {

int RuntimeCode(int error) { return rtl::FileErrorCodeFromErrno(error); }
rtl::Text ErrorText(int error) { return rtl::SystemErrorText(error); }

bool IsRegular(const struct stat& status) { return S_ISREG(status.st_mode); }

rtl::Text ReadToEnd(const fs::path& file, int handle, std::size_t expected_size) {
  if (expected_size > kLargestReadFile) ThrowTooLarge(file);
  rtl::Text bytes;
  bytes.reserve(expected_size);
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(handle, buffer, sizeof buffer);
    if (count > 0) {
      AppendRead(file, bytes, buffer, static_cast<std::size_t>(count));
    } else if (count == 0) {
      return bytes;
    } else if (errno != EINTR) {
      ThrowReadFailure(file, errno);
    }
  }
}

// Links in a row the system itself follows before it gives up (ELOOP).
constexpr int kLinkHops = 40;

fs::path DirectoryOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

// In a sticky world-writable directory such as /tmp anyone may plant a link under the name
// another user will write. The system follows such a link only for the link's owner and the
// directory's owner (fs.protected_symlinks); a write here keeps to that rule whatever the
// setting, so a planted link cannot make it replace a file of the user's elsewhere. Nobody
// else can swap a link that passes, as the sticky bit keeps others from removing it.
bool MayFollow(const fs::path& link, const struct stat& link_status) {
  struct stat directory {};
  if (::stat(DirectoryOf(link).c_str(), &directory) != 0) return false;
  const bool shared = (directory.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
  return !shared || link_status.st_uid == ::geteuid() || link_status.st_uid == directory.st_uid;
}

// The file a name leads to through any chain of symbolic links; a link that leads nowhere
// names the file to be created.
fs::path LinkedFile(const fs::path& file, FileErrors errors) {
  fs::path current = file;
  for (int hop = 0; hop < kLinkHops; ++hop) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    if (!MayFollow(current, status)) ThrowCreateFailure(file, EACCES, errors);
    std::error_code error;
    const fs::path next = fs::read_symlink(current, error);
    if (error) ThrowCreateFailure(file, error.value(), errors);
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  ThrowCreateFailure(file, ELOOP, errors);
}

// The status of the file to be replaced, or nothing when there is none yet. Refuses what is
// no regular file, and a file the user may not write: replacing it through its directory
// would overwrite a file the user has protected.
std::optional<struct stat> ReplaceableFile(const fs::path& file, const fs::path& target, FileErrors errors) {
  struct stat status {};
  if (::lstat(target.c_str(), &status) != 0) {
    if (errno == ENOENT) return std::nullopt;
    ThrowCreateFailure(file, errno, errors);
  }
  if (!IsRegular(status)) throw rtl::FileCreateError(rtl::FileNameText(file), kNotRegularFile);
  const Descriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!probe.IsOpen()) ThrowCreateFailure(file, errno, errors);
  return status;
}

// The new content until it replaces the target; removed on every other way out.
class TemporaryFile {
 public:
  // Created exclusively (never through a link), with the earlier file's permission bits and
  // owner when there is one, else 0666 less the umask as any new file.
  TemporaryFile(const fs::path& file, const fs::path& target, const std::optional<struct stat>& earlier,
                FileErrors errors) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
      const fs::path candidate = TemporaryCandidate(target);
      handle_ = Descriptor(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
      if (handle_.IsOpen()) {
        path_ = candidate;
        if (earlier) KeepOwnerAndMode(*earlier);
        return;
      }
      if (errno != EEXIST) ThrowCreateFailure(file, errno, errors);
    }
    ThrowCreateFailure(file, EEXIST, errors);
  }
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Writes, syncs and closes; a failure throws as ThrowWriteFailure.
  void Write(const fs::path& file, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t count = ::write(handle_.Get(), bytes.data(), bytes.size());
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) ThrowWriteFailure(file, count == 0 ? ENOSPC : errno);
      bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    if (::fsync(handle_.Get()) != 0 || !handle_.Close()) ThrowWriteFailure(file, errno);
  }

  void Replace(const fs::path& file, const fs::path& target, FileErrors errors) {
    if (::rename(path_.c_str(), target.c_str()) != 0) ThrowCreateFailure(file, errno, errors);
    path_.clear();
  }

 private:
  // Only the superuser may give a file away; for anyone else the file stays theirs, which
  // it already is when they own the earlier one.
  void KeepOwnerAndMode(const struct stat& earlier) {
    if (::geteuid() == 0) static_cast<void>(::fchown(handle_.Get(), earlier.st_uid, earlier.st_gid));
    static_cast<void>(::fchmod(handle_.Get(), earlier.st_mode & 07777));
  }

  fs::path path_;
  Descriptor handle_;
};

// Makes the rename itself durable. The new content is in place either way, so a directory
// that cannot be synced (some file systems refuse) leaves the caller nothing to act on.
void SyncDirectoryOf(const fs::path& target) {
  const Descriptor handle(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (handle.IsOpen()) static_cast<void>(::fsync(handle.Get()));
}

}  // namespace

// The kind is checked before the file is opened, so a device is never opened at all; the
// open does not block, so a FIFO put in the file's place meanwhile cannot hang the program,
// and the opened file is checked once more.
rtl::Text ReadWholeFile(const fs::path& file, FileErrors errors) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) ThrowOpenFailure(file, errno, errors);
  if (!IsRegular(status)) throw rtl::FileOpenError(rtl::FileNameText(file), kNotRegularFile);
  const Descriptor handle(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!handle.IsOpen()) ThrowOpenFailure(file, errno, errors);
  if (::fstat(handle.Get(), &status) != 0 || !IsRegular(status)) {
    throw rtl::FileOpenError(rtl::FileNameText(file), kNotRegularFile);
  }
  return ReadToEnd(file, handle.Get(), static_cast<std::size_t>(status.st_size));
}

void WriteWholeFile(const fs::path& file, std::string_view bytes, FileErrors errors) {
  const fs::path target = LinkedFile(file, errors);
  const std::optional<struct stat> earlier = ReplaceableFile(file, target, errors);
  TemporaryFile temporary(file, target, earlier, errors);
  temporary.Write(file, bytes);
  temporary.Replace(file, target, errors);
  SyncDirectoryOf(target);
}

}  // namespace platform

#else  // _WIN32

namespace platform {
namespace {

// The Windows error codes are the runtime's own, but for a full disk, which the runtime
// reports as its code 101.
int RuntimeCode(int error) {
  return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? 101 : error;
}

rtl::Text ErrorText(int error) { return std::system_category().message(error); }

int LastError() { return static_cast<int>(::GetLastError()); }

// A file on a disk that is no directory; consoles, pipes and devices such as NUL are not.
bool IsRegular(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  return ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

rtl::Text ReadToEnd(const fs::path& file, HANDLE handle) {
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(handle, &size) && static_cast<unsigned long long>(size.QuadPart) > kLargestReadFile) {
    ThrowTooLarge(file);
  }
  rtl::Text bytes;
  char buffer[65536];
  DWORD count = 0;
  do {
    if (!::ReadFile(handle, buffer, sizeof buffer, &count, nullptr)) ThrowReadFailure(file, LastError());
    AppendRead(file, bytes, buffer, count);
  } while (count > 0);
  return bytes;
}

// The file behind the name with every link resolved, or nothing when there is none yet.
// Refuses what is no regular file.
std::optional<fs::path> ExistingTarget(const fs::path& file) {
  const Handle existing(::CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!existing.IsOpen()) return std::nullopt;
  if (!IsRegular(existing.Get())) throw rtl::FileCreateError(rtl::FileNameText(file), kNotRegularFile);
  wchar_t final_path[MAX_PATH * 4];
  const DWORD length = ::GetFinalPathNameByHandleW(existing.Get(), final_path, MAX_PATH * 4, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= MAX_PATH * 4) return file;
  return fs::path(std::wstring(final_path, length));
}

class TemporaryFile {
 public:
  TemporaryFile(const fs::path& file, const fs::path& target, FileErrors errors) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
      const fs::path candidate = TemporaryCandidate(target);
      handle_ = Handle(::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
      if (handle_.IsOpen()) {
        path_ = candidate;
        return;
      }
      if (const int error = LastError(); error != ERROR_FILE_EXISTS) ThrowCreateFailure(file, error, errors);
    }
    ThrowCreateFailure(file, ERROR_FILE_EXISTS, errors);
  }
  ~TemporaryFile() {
    handle_.Reset();  // a file still open cannot be deleted
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(const fs::path& file, std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD count = 0;
      const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
      if (!::WriteFile(handle_.Get(), bytes.data(), chunk, &count, nullptr)) ThrowWriteFailure(file, LastError());
      if (count == 0) ThrowWriteFailure(file, ERROR_DISK_FULL);
      bytes.remove_prefix(count);
    }
    if (!::FlushFileBuffers(handle_.Get()) || !handle_.Close()) ThrowWriteFailure(file, LastError());
  }

  // One rename over the earlier file, so that the name never lacks a file. ReplaceFileW is not
  // used: it moves the earlier file aside before it moves the new one in, and a program ended
  // between the two (under Wine a kill at the wrong moment did) left no file under the name. The
  // earlier file's attributes are kept, as its permission bits are on Linux.
  void Replace(const fs::path& file, const fs::path& target, bool existed, FileErrors errors) {
    const DWORD earlier = existed ? ::GetFileAttributesW(target.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (earlier != INVALID_FILE_ATTRIBUTES) {
      // Windows refuses to rename over a read-only file and Wine does not: asked here for both.
      if ((earlier & FILE_ATTRIBUTE_READONLY) != 0) ThrowCreateFailure(file, ERROR_ACCESS_DENIED, errors);
      if ((earlier & kKeptAttributes) != 0) ::SetFileAttributesW(path_.c_str(), earlier & kKeptAttributes);
    }
    if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ThrowCreateFailure(file, LastError(), errors);
    }
    path_.clear();
  }

 private:
  // The attributes a replaced file passes on to the file that replaces it.
  static constexpr DWORD kKeptAttributes =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

  fs::path path_;
  Handle handle_;
};

}  // namespace

rtl::Text ReadWholeFile(const fs::path& file, FileErrors errors) {
  const Handle handle(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.IsOpen()) ThrowOpenFailure(file, LastError(), errors);
  if (!IsRegular(handle.Get())) throw rtl::FileOpenError(rtl::FileNameText(file), kNotRegularFile);
  return ReadToEnd(file, handle.Get());
}

void WriteWholeFile(const fs::path& file, std::string_view bytes, FileErrors errors) {
  const std::optional<fs::path> existing = ExistingTarget(file);
  const fs::path target = existing.value_or(file);
  TemporaryFile temporary(file, target, errors);
  temporary.Write(file, bytes);
  temporary.Replace(file, target, existing.has_value(), errors);
}

}  // namespace platform

#endif
