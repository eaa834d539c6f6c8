// The string list's text reader on any bytes. Properties: no entry holds a line end or a NUL,
// and the list's text reads back as the same list.
#include <cstdint>

#include "fuzz/property.h"
#include "rtl/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rtl::StringList list;
  list.SetText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const rtl::Text& entry : list) {
    fuzz::Require(entry.find_first_of(std::string_view("\r\n\0", 3)) == rtl::Text::npos,
                  "no entry holds CR, LF or NUL");
  }
  rtl::StringList again;
  again.SetText(list.GetText());
  fuzz::Require(again == list, "the list's text reads back as the same list");
  return 0;
}
