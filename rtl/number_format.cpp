#include "rtl/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "rtl/regional_settings.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace rtl {
namespace {

// One section of a pattern, reduced to what the formatter needs.
struct NumberPattern {
  Text prefix;
  Text suffix;
  bool has_placeholder = false;
  bool grouping = false;
  int integer_zeros = 0;      // "0" placeholders before the decimal point
  int minimum_decimals = 0;   // up to the last "0" after the point
  int maximum_decimals = 0;   // every placeholder after the point
};

// Beyond 18 whole digits a fixed form would show digits the double does not hold.
constexpr double LargestFixedMagnitude = 1e18;
constexpr int GeneralPrecision = 15;

std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = '\0';
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote != '\0') {
      if (c == quote) quote = '\0';
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

void AddLiteral(NumberPattern& p, std::string_view text) {
  (p.has_placeholder ? p.suffix : p.prefix).append(text);
}

void AddPlaceholder(NumberPattern& p, char c, bool after_point) {
  p.has_placeholder = true;
  if (!after_point) {
    if (c == '0') ++p.integer_zeros;
    return;
  }
  ++p.maximum_decimals;
  if (c == '0') p.minimum_decimals = p.maximum_decimals;
}

NumberPattern ParseSection(std::string_view section) {
  NumberPattern p;
  bool after_point = false;
  for (size_t i = 0; i < section.size(); ++i) {
    const char c = section[i];
    if (c == '"' || c == '\'') {
      const size_t end = section.find(c, i + 1);
      AddLiteral(p, section.substr(i + 1, end == std::string_view::npos ? end : end - i - 1));
      if (end == std::string_view::npos) break;
      i = end;
    } else if (c == '0' || c == '#') {
      AddPlaceholder(p, c, after_point);
    } else if (c == '.' && !after_point) {
      after_point = true;
    } else if (c == ',') {
      if (!after_point) p.grouping = true;
    } else {
      AddLiteral(p, section.substr(i, 1));
    }
  }
  return p;
}

std::string ToFixed(double magnitude, int decimals) {
  std::string buffer(32 + decimals, '\0');
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, decimals);
  buffer.resize(result.ptr - buffer.data());
  return buffer;
}

// Forty more digits show the double's exact value far enough to tell a true half (2.125 to
// two decimals) from a value a hair off it.
bool IsExactHalf(double magnitude, int decimals) {
  const std::string exact = ToFixed(magnitude, decimals + 40);
  const size_t next_digit = exact.find('.') + 1 + decimals;
  return exact[next_digit] == '5' && exact.find_first_not_of('0', next_digit + 1) == std::string::npos;
}

// magnitude (>= 0, < 1e18) with exactly `decimals` digits after a "." point. Halves round
// away from zero, as the runtime's formatter does (2.5 -> "3", 2.125 -> "2.13").
std::string FixedDigits(double magnitude, int decimals) {
  if (IsExactHalf(magnitude, decimals)) magnitude = std::nextafter(magnitude, LargestFixedMagnitude);
  return ToFixed(magnitude, decimals);
}

bool AllZeroDigits(std::string_view digits) { return digits.find_first_of("123456789") == std::string_view::npos; }

Text GroupInThrees(const Text& digits, char separator) {
  if (separator == '\0') return digits;
  Text grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

Text ApplySection(const NumberPattern& p, double magnitude, const NumberSeparators& separators) {
  if (!p.has_placeholder) return p.prefix + p.suffix;
  const std::string fixed = FixedDigits(magnitude, p.maximum_decimals);
  const size_t point = fixed.find('.');
  Text whole = fixed.substr(0, point);
  Text fraction = point == std::string::npos ? Text() : fixed.substr(point + 1);
  whole.erase(0, whole.find_first_not_of('0'));
  if (whole.size() < static_cast<size_t>(p.integer_zeros)) whole.insert(0, p.integer_zeros - whole.size(), '0');
  if (p.grouping) whole = GroupInThrees(whole, separators.thousand_separator);
  while (fraction.size() > static_cast<size_t>(p.minimum_decimals) && fraction.back() == '0') fraction.pop_back();
  Text text = p.prefix + whole;
  if (!fraction.empty()) text += separators.decimal_separator + fraction;
  return text + p.suffix;
}

// The runtime's general form: 15 significant digits, "E" and no "+" or leading zeros
// in the exponent: 1.5e+20 -> "1,5E20", 1e-05 -> "1E-5".
Text GeneralForm(double value, const NumberSeparators& separators) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                    GeneralPrecision);
  Text text(buffer, result.ptr);
  const size_t exponent = text.find('e');
  if (exponent != Text::npos) {
    Text power = text.substr(exponent + 1);
    const bool negative = power[0] == '-';
    power.erase(0, power.find_first_not_of("+-0"));
    text = text.substr(0, exponent) + "E" + (negative ? "-" : "") + power;
  }
  const size_t point = text.find('.');
  if (point != Text::npos) text[point] = separators.decimal_separator;
  return text;
}

}  // namespace

Text FormatFloat(std::string_view pattern, double value, const NumberSeparators& separators) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  const double magnitude = std::abs(value);
  if (pattern.empty() || magnitude >= LargestFixedMagnitude) return GeneralForm(value, separators);
  const std::vector<std::string_view> sections = SplitSections(pattern);
  const NumberPattern positive = ParseSection(sections[0]);
  // The zero and negative sections apply to what the value looks like once rounded, so
  // -0.0001 under "0.##" is a zero, not a negative number.
  const bool rounds_to_zero = AllZeroDigits(FixedDigits(magnitude, positive.maximum_decimals));
  if (rounds_to_zero) {
    if (sections.size() >= 3 && !sections[2].empty()) return ApplySection(ParseSection(sections[2]), 0, separators);
    return ApplySection(positive, 0, separators);
  }
  if (value > 0) return ApplySection(positive, magnitude, separators);
  if (sections.size() >= 2 && !sections[1].empty()) {
    return ApplySection(ParseSection(sections[1]), magnitude, separators);
  }
  // Built in place: GCC 12 at -O3 misreads "-" + temporary as an overlapping copy.
  Text negative = ApplySection(positive, magnitude, separators);
  negative.insert(negative.begin(), '-');
  return negative;
}

Text FormatFloat(std::string_view pattern, double value) {
  return FormatFloat(pattern, value, CurrentNumberSeparators());
}

NumberSeparators RussianNumberSeparators() { return NumberSeparators{',', '\xA0'}; }

namespace {

// A separator from the system as one Windows-1251 byte. Separators the code page lacks
// (the narrow no-break space of newer locales) become the no-break space.
char SeparatorByte(const Text& windows1251) {
  if (windows1251.empty()) return '\0';
  return windows1251 == "?" ? '\xA0' : windows1251[0];
}

#ifdef _WIN32

NumberSeparators SystemNumberSeparators() {
  const Text decimal = LocaleText(LOCALE_SDECIMAL);
  if (decimal.empty()) return RussianNumberSeparators();
  return NumberSeparators{decimal[0], SeparatorByte(LocaleText(LOCALE_STHOUSAND))};
}

#else

// The locale name that decides LC_NUMERIC, by the POSIX order of the environment variables.
Text NumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return Text();
}

NumberSeparators SystemNumberSeparators() {
  const Text name = NumericLocaleName();
  if (IsNeutralLocaleName(name)) return RussianNumberSeparators();
  const locale_t locale = newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  // A locale named but not installed is no regional choice the program can follow.
  if (locale == static_cast<locale_t>(nullptr)) return RussianNumberSeparators();
  const bool utf8 = Text(nl_langinfo_l(CODESET, locale)) == "UTF-8";
  auto read = [&](nl_item item) {
    const Text raw = nl_langinfo_l(item, locale);
    return SeparatorByte(utf8 ? Windows1251FromUtf8(raw) : raw);
  };
  NumberSeparators separators{read(RADIXCHAR), read(THOUSEP)};
  freelocale(locale);
  if (separators.decimal_separator == '\0') separators.decimal_separator = '.';
  return separators;
}

#endif

std::unique_ptr<NumberSeparators>& SeparatorsInForce() {
  static std::unique_ptr<NumberSeparators> separators;
  return separators;
}

}  // namespace

const NumberSeparators& CurrentNumberSeparators() {
  std::unique_ptr<NumberSeparators>& separators = SeparatorsInForce();
  if (!separators) separators = std::make_unique<NumberSeparators>(SystemNumberSeparators());
  return *separators;
}

void SetNumberSeparators(const NumberSeparators& separators) {
  SeparatorsInForce() = std::make_unique<NumberSeparators>(separators);
}

}  // namespace rtl
