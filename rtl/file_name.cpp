#include "rtl/file_name.h"

namespace rtl {

// A path made from UTF-8 code units is UTF-8 on Linux and converted exactly to UTF-16 on
// Windows, where a plain narrow string would go through the system's ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path SystemPath(const Text& file_name) { return PathFromUtf8(Utf8FromWindows1251(file_name)); }

Text FileNameText(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return Windows1251FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

}  // namespace rtl
