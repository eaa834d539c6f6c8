// The integer reader on any text. Properties: the throwing and the non-throwing reader
// agree, and the decimal and the "$" hexadecimal texts of a value read back as that value.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/property.h"
#include "rtl/errors.h"
#include "rtl/integer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const rtl::Text text(reinterpret_cast<const char*>(data), size);
  int value = 0;
  const bool read = rtl::TryStrToInt(text, value);
  try {
    const int thrown = rtl::StrToInt(text);
    fuzz::Require(read && thrown == value, "StrToInt reads what TryStrToInt reads");
  } catch (const rtl::ConvertError&) {
    fuzz::Require(!read, "StrToInt refuses only what TryStrToInt refuses");
  }
  if (!read) return 0;
  int again = 0;
  fuzz::Require(rtl::TryStrToInt(std::to_string(value), again) && again == value, "decimal text reads back");
  char hexadecimal[16];
  std::snprintf(hexadecimal, sizeof hexadecimal, "$%X", static_cast<unsigned>(value));
  fuzz::Require(rtl::TryStrToInt(hexadecimal, again) && again == value, "hexadecimal text reads back");
  return 0;
}
