// Numbers as text under a format pattern of the "#,##0.###" kind, with the regional decimal
// and grouping separators. Used for the value labels of chart axes.
#pragma once

#include <string_view>

#include "rtl/text.h"

namespace rtl {

struct NumberSeparators {
  char decimal_separator = ',';      // what "." in a pattern stands for
  char thousand_separator = '\xA0';  // put between groups of three digits; '\0' = no grouping
};

// Formats value by pattern. A pattern has up to three sections separated by ";": for positive
// values, for negative values (written without the minus sign; an empty or missing section
// means "the first section with a leading minus") and for values that round to zero. In a
// section:
//   0   a digit that is always written (leading or trailing zero when needed)
//   #   a digit written only when significant
//   .   the decimal separator; the placeholders after it set the decimals, rounded to
//       the last of them, trailing zeros dropped down to the last "0"
//   ,   anywhere before the decimal point: group the whole part in threes
//   "x" 'x' literal text; any other character stands for itself. Literals before the first
//       placeholder come before the number, all others after it.
// "#,##0.###" of 1234.5 gives "1 234,5" with the Russian separators; of 0.0004 gives "0".
// An empty pattern, and a whole part of more than 18 digits, give the general form with
// 15 significant digits ("1,5E20"). Not a number gives "NAN", infinities "INF" and "-INF".
Text FormatFloat(std::string_view pattern, double value, const NumberSeparators& separators);
Text FormatFloat(std::string_view pattern, double value);  // with CurrentNumberSeparators()

// The conventions of the program's region: ',' and non-breaking space (the Russian ones) where
// no regional choice was made, else the system's (Linux: LC_NUMERIC; Windows: the user's locale).
NumberSeparators RussianNumberSeparators();
// Read from the system on first use and kept for the program's life.
const NumberSeparators& CurrentNumberSeparators();
// Replaces the separators in force (tests; a program reads the system's once).
void SetNumberSeparators(const NumberSeparators& separators);

}  // namespace rtl
