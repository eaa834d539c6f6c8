// Reading an integer the runtime's way: leading spaces, an optional sign, then decimal digits
// or hexadecimal digits after "$" or "0x"; nothing may follow. The value must fit 32 bits:
// decimal -2147483648..2147483647, hexadecimal up to $FFFFFFFF, taken as the signed 32-bit
// value of those bits ("$FFFFFFFF" is -1).
#pragma once

#include "rtl/text.h"

namespace rtl {

// Throws ConvertError "'%s' is not a valid integer value" with the text as given.
int StrToInt(const Text& text);
bool TryStrToInt(const Text& text, int& value);

}  // namespace rtl
