#include "platform/data_directory.h"

#include <algorithm>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr char kDirectoryName[] = "sharemon";

// Without a trailing separator, except for a root, which keeps its own.
fs::path WithoutTrailingSeparator(fs::path directory) {
  while (directory.has_relative_path() && !directory.has_filename()) directory = directory.parent_path();
  return directory;
}

#ifdef _WIN32

std::wstring Variable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// Full, with the long form of every short (8.3) name where the directory exists.
fs::path ResolvedDirectory(const fs::path& directory) {
  std::wstring full(GetFullPathNameW(directory.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(GetFullPathNameW(directory.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  std::wstring long_form(GetLongPathNameW(full.c_str(), nullptr, 0), L'\0');
  long_form.resize(GetLongPathNameW(full.c_str(), long_form.data(), static_cast<DWORD>(long_form.size())));
  return WithoutTrailingSeparator(long_form.empty() ? full : long_form);
}

bool SameLetters(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// A program under Program Files, at any depth, cannot write beside itself without elevation.
bool IsInstalledIn(const fs::path& program_directory, const fs::path& place) {
  const std::wstring program = ResolvedDirectory(program_directory).native();
  const std::wstring root = ResolvedDirectory(place).native();
  if (root.empty() || program.size() < root.size() || !SameLetters(std::wstring_view(program).substr(0, root.size()), root)) {
    return false;
  }
  return program.size() == root.size() || program[root.size()] == L'\\' || root.back() == L'\\';
}

#else

// Symbolic links resolved, so that the /bin and /usr/bin of a merged /usr count as one; one
// that does not exist, made absolute and cleaned as text.
fs::path ResolvedDirectory(const fs::path& directory) {
  std::error_code error;
  fs::path resolved = fs::canonical(directory, error);
  if (error) resolved = fs::absolute(directory, error).lexically_normal();
  return WithoutTrailingSeparator(resolved);
}

bool IsInstalledIn(const fs::path& program_directory, const fs::path& place) {
  return ResolvedDirectory(program_directory) == ResolvedDirectory(place);
}

fs::path HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  std::string buffer(16384, '\0');
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return found->pw_dir;
}

#endif

}  // namespace

#ifdef _WIN32

fs::path ProgramFile() {
  // A path longer than the buffer comes back cut to its size: try again with more room.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::wstring path(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
}

std::vector<fs::path> InstalledPlaces() {
  return {KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86)};
}

fs::path UserDataDirectory() {
  fs::path folder = Variable(L"APPDATA");
  if (folder.empty()) folder = KnownFolder(FOLDERID_RoamingAppData);
  return folder.empty() ? folder : folder / kDirectoryName;
}


#else

fs::path ProgramFile() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program;
}

std::vector<fs::path> InstalledPlaces() { return {SHAREMON_INSTALLED_BINDIR}; }

fs::path UserDataDirectory() {
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules have it.
  if (const char* data_home = std::getenv("XDG_DATA_HOME"); data_home != nullptr && *data_home == '/') {
    return fs::path(data_home) / kDirectoryName;
  }
  const fs::path home = HomeDirectory();
  return home.empty() ? home : home / ".local/share" / kDirectoryName;
}


#endif

fs::path ProgramDirectory() { return ProgramFile().parent_path(); }

fs::path DataDirectoryFor(const fs::path& program_directory, const std::vector<fs::path>& installed_places,
                          const fs::path& user_data_directory) {
  const bool installed = std::any_of(installed_places.begin(), installed_places.end(), [&](const fs::path& place) {
    return !place.empty() && IsInstalledIn(program_directory, place);
  });
  return installed && !user_data_directory.empty() ? user_data_directory : program_directory;
}

fs::path ProgramDataDirectory(const fs::path& program_directory) {
  const fs::path user_data = UserDataDirectory();
  const fs::path chosen = DataDirectoryFor(program_directory, InstalledPlaces(), user_data);
  if (!user_data.empty() && chosen == user_data) {
    std::error_code ignored;
    fs::create_directories(user_data, ignored);
  }
  return chosen;
}

}  // namespace platform
