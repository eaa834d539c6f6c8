#include "rtl/integer.h"

#include <charconv>
#include <cstdint>

#include "rtl/errors.h"

namespace rtl {

bool TryStrToInt(const Text& text, int& value) {
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  while (at != end && *at == ' ') ++at;
  bool negative = false;
  if (at != end && (*at == '+' || *at == '-')) negative = *at++ == '-';
  int base = 10;
  if (at != end && *at == '$') {
    base = 16;
    ++at;
  } else if (end - at >= 2 && at[0] == '0' && (at[1] == 'x' || at[1] == 'X')) {
    base = 16;
    at += 2;
  }
  // from_chars takes no sign and no prefix of its own, which leaves exactly the digits to it.
  if (at == end || *at == '+' || *at == '-') return false;
  std::uint64_t magnitude = 0;
  const auto [stop, error] = std::from_chars(at, end, magnitude, base);
  if (error != std::errc() || stop != end) return false;
  if (base == 16) {
    if (magnitude > 0xFFFFFFFFull) return false;
    const auto bits = static_cast<std::uint32_t>(magnitude);
    value = static_cast<int>(negative ? 0u - bits : bits);
    return true;
  }
  if (magnitude > (negative ? 2147483648ull : 2147483647ull)) return false;
  value = static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
  return true;
}

int StrToInt(const Text& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) throw ConvertError::NotInteger(text);
  return value;
}

}  // namespace rtl
