#include "core/watch_list_file.h"

#include "platform/whole_file.h"

namespace core {

rtl::StringList ReadWatchListFile(const std::filesystem::path& file) {
  rtl::StringList entries;
  entries.SetText(platform::ReadWholeFile(file, platform::FileErrors::kNamingTheFile));
  return entries;
}

void WriteWatchListFile(const std::filesystem::path& file, const rtl::StringList& entries) {
  platform::WriteWholeFile(file, entries.GetText(), platform::FileErrors::kNamingTheFile);
}

}  // namespace core
