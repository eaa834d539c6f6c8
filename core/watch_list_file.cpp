#include "core/watch_list_file.h"

#include <string_view>

#include "platform/whole_file.h"
#include "rtl/text.h"

namespace core {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

rtl::StringList ReadWatchListFile(const std::filesystem::path& file) {
  const std::string bytes = platform::ReadWholeFile(file, platform::FileErrors::kNamingTheFile);
  rtl::StringList entries;
  // Notepad's "UTF-8" puts the mark in front; without this the first share would be
  // "\xEF\xBB\xBFdocs" and its Cyrillic names mojibake.
  if (std::string_view(bytes).starts_with(kUtf8ByteOrderMark)) {
    entries.SetText(rtl::Windows1251FromUtf8(std::string_view(bytes).substr(kUtf8ByteOrderMark.size())));
  } else {
    entries.SetText(bytes);
  }
  return entries;
}

void WriteWatchListFile(const std::filesystem::path& file, const rtl::StringList& entries) {
  platform::WriteWholeFile(file, entries.GetText(), platform::FileErrors::kNamingTheFile);
}

}  // namespace core
