// The code-page converters on any bytes. Properties: console text converts byte for byte;
// Windows-1251 goes to UTF-8 and back unchanged; any bytes read as UTF-8 give text that does
// the same; ASCII and Cyrillic letters survive the way to code page 866 and back.
#include <cstdint>

#include "fuzz/property.h"
#include "rtl/console_text.h"
#include "rtl/text.h"

namespace {

bool IsAsciiOrCyrillicLetter(unsigned char byte) { return byte < 0x80 || byte >= 0xC0 || byte == 0xA8 || byte == 0xB8; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::Require(rtl::ConvertConsoleText(bytes).size() == size, "console text converts byte for byte");
  fuzz::Require(rtl::Windows1251FromUtf8(rtl::Utf8FromWindows1251(bytes)) == bytes, "Windows-1251 round trip");
  const rtl::Text from_utf8 = rtl::Windows1251FromUtf8(bytes);
  fuzz::Require(from_utf8.size() <= size, "UTF-8 never reads as more characters than bytes");
  fuzz::Require(rtl::Windows1251FromUtf8(rtl::Utf8FromWindows1251(from_utf8)) == from_utf8, "UTF-8 round trip");
  const std::string console = rtl::ConsoleTextFromWindows1251(bytes);
  fuzz::Require(console.size() == size, "code page 866 text converts byte for byte");
  const rtl::Text back = rtl::ConvertConsoleText(console);
  for (std::size_t i = 0; i < size; ++i) {
    if (IsAsciiOrCyrillicLetter(data[i])) fuzz::Require(back[i] == bytes[i], "letters survive code page 866");
  }
  return 0;
}
