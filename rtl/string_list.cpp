#include "rtl/string_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "rtl/errors.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace rtl {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const Text& file_name, const char* mode) {
  return File(std::fopen(SystemFileName(file_name).c_str(), mode));
}

// Forces the bytes to the disk before the rename makes them the file, so a crash
// right after saving cannot leave an empty file in place of the old one.
bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

Exception CannotCreate(const Text& file_name, int error_number) {
  return Exception("Cannot create file \"" + file_name + "\". " + SystemErrorText(error_number));
}

// An existing target must be writable itself: replacing it through the directory would
// otherwise overwrite a file the user has protected.
void CheckWritable(const Text& file_name) {
  std::error_code error;
  if (!std::filesystem::exists(SystemFileName(file_name), error)) return;
  if (File file = OpenFile(file_name, "r+b"); !file) throw CannotCreate(file_name, errno);
}

void WriteWhole(const Text& temporary, const Text& bytes, const Text& file_name) {
  File file = OpenFile(temporary, "wb");
  if (!file) throw CannotCreate(file_name, errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  if (!written || !FlushToDisk(file.get())) throw InOutError(FileErrorCodeFromErrno(errno));
  if (std::fclose(file.release()) != 0) throw InOutError(FileErrorCodeFromErrno(errno));
}

}  // namespace

const Text& StringList::operator[](int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return entries_[static_cast<std::size_t>(index)];
}

void StringList::Set(int index, const Text& entry) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  entries_[static_cast<std::size_t>(index)] = entry;
}

int StringList::Add(const Text& entry) {
  entries_.push_back(entry);
  return Count() - 1;
}

void StringList::AddStrings(const StringList& other) {
  entries_.insert(entries_.end(), other.entries_.begin(), other.entries_.end());
}

void StringList::Insert(int index, const Text& entry) {
  if (index < 0 || index > Count()) throw ListIndexError(index);
  entries_.insert(entries_.begin() + index, entry);
}

void StringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  entries_.erase(entries_.begin() + index);
}

int StringList::IndexOf(const Text& entry) const {
  for (int i = 0; i < Count(); ++i) {
    if (entries_[static_cast<std::size_t>(i)] == entry) return i;
  }
  return -1;
}

Text StringList::GetText() const {
  Text result;
  for (const Text& entry : entries_) result.append(entry).append("\r\n");
  return result;
}

void StringList::SetText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  entries_.clear();
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t line_end = std::min(text.find_first_of("\r\n", position), text.size());
    entries_.emplace_back(text.substr(position, line_end - position));
    position = line_end;
    if (position < text.size() && text[position] == '\r') ++position;
    if (position < text.size() && text[position] == '\n') ++position;
  }
}

void StringList::LoadFromFile(const Text& file_name) {
  File file = OpenFile(file_name, "rb");
  if (!file) {
    const int error = errno;
    throw FileOpenError(file_name, SystemErrorText(error));
  }
  Text bytes;
  char buffer[65536];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, count);
  if (std::ferror(file.get())) throw InOutError(FileErrorCodeFromErrno(errno));
  SetText(bytes);
}

void StringList::SaveToFile(const Text& file_name) const {
  CheckWritable(file_name);
  const Text temporary = file_name + ".tmp";
  try {
    WriteWhole(temporary, GetText(), file_name);
  } catch (...) {
    std::remove(SystemFileName(temporary).c_str());
    throw;
  }
  std::error_code error;
  std::filesystem::rename(SystemFileName(temporary), SystemFileName(file_name), error);
  if (error) {
    std::remove(SystemFileName(temporary).c_str());
    throw CannotCreate(file_name, error.value());
  }
}

std::string SystemFileName(const Text& file_name) {
#ifdef _WIN32
  return file_name;
#else
  return Utf8FromWindows1251(file_name);
#endif
}

Text SystemErrorText(int error_number) {
#ifdef _WIN32
  return std::strerror(error_number);
#else
  // Under a UTF-8 locale strerror may answer in the user's language, in UTF-8.
  return Windows1251FromUtf8(std::strerror(error_number));
#endif
}

}  // namespace rtl
