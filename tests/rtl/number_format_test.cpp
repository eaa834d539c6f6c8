#include "rtl/number_format.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

const rtl::NumberSeparators Russian{',', '\xA0'};
const rtl::NumberSeparators English{'.', ','};

struct Case {
  const char* pattern;
  double value;
  const char* text;
};

void ExpectTable(const Case* begin, const Case* end, const rtl::NumberSeparators& separators) {
  for (const Case* c = begin; c != end; ++c) {
    EXPECT_EQ(rtl::FormatFloat(c->pattern, c->value, separators), c->text) << c->pattern << " " << c->value;
  }
}

TEST(number_format_test, axis_pattern_groups_and_keeps_up_to_three_decimals) {
  const Case cases[] = {
      {"#,##0.###", 0, "0"},
      {"#,##0.###", 65, "65"},
      {"#,##0.###", 1234.5, "1,234.5"},
      {"#,##0.###", 1234567, "1,234,567"},
      {"#,##0.###", 0.1 + 0.2, "0.3"},
      {"#,##0.###", 2.0005, "2.001"},
      {"#,##0.###", 0.0004, "0"},
      {"#,##0.###", -1234.25, "-1,234.25"},
      {"#,##0.###", -0.0001, "0"},  // rounds to zero: no sign
      {"#,##0.###", 999.9999, "1,000"},
  };
  ExpectTable(std::begin(cases), std::end(cases), English);
}

TEST(number_format_test, regional_separators_replace_point_and_comma) {
  EXPECT_EQ(rtl::FormatFloat("#,##0.###", 1234.5, Russian), "1\xA0" "234,5");
  EXPECT_EQ(rtl::FormatFloat("#,##0.###", 12345678.125, rtl::NumberSeparators{',', ' '}), "12 345 678,125");
  EXPECT_EQ(rtl::FormatFloat("#,##0", 1234567, rtl::NumberSeparators{'.', '\0'}), "1234567");
}

TEST(number_format_test, zeros_are_required_digits_and_hashes_optional) {
  const Case cases[] = {
      {"0.00", 3.1, "3.10"},      {"000", 7, "007"},       {"#.##", 0.5, ".5"},
      {"0.0#", 2, "2.0"},         {"0.0#", 2.125, "2.13"}, {"0", 2.5, "3"},
      {"#", 1234, "1234"},        {"0.###", 1e-3, "0.001"},
  };
  ExpectTable(std::begin(cases), std::end(cases), English);
}

TEST(number_format_test, sections_for_negative_and_zero_values) {
  const Case cases[] = {
      {"0.0;(0.0)", -2.5, "(2.5)"},
      {"0.0;(0.0)", 2.5, "2.5"},
      {"0.0;;'zero'", 0, "zero"},
      {"0.0;;'zero'", -3, "-3.0"},
      {"0.0;(0.0);nil", 0.01, "nil"},  // rounds to zero under the first section
      {"0;", -4, "-4"},                 // empty negative section
  };
  ExpectTable(std::begin(cases), std::end(cases), English);
}

TEST(number_format_test, literals_go_before_or_after_the_number) {
  EXPECT_EQ(rtl::FormatFloat("'~'0.0 \"pcs\"", 1.25, English), "~1.3 pcs");
  EXPECT_EQ(rtl::FormatFloat("$#,##0", -1500, English), "-$1,500");
  EXPECT_EQ(rtl::FormatFloat("0%", 42, English), "42%");
  EXPECT_EQ(rtl::FormatFloat("'unclosed", 42, English), "unclosed");
}

TEST(number_format_test, empty_pattern_and_huge_values_use_the_general_form) {
  EXPECT_EQ(rtl::FormatFloat("", 1.5, Russian), "1,5");
  EXPECT_EQ(rtl::FormatFloat("", 0.1, Russian), "0,1");
  EXPECT_EQ(rtl::FormatFloat("#,##0.###", 1.5e20, Russian), "1,5E20");
  EXPECT_EQ(rtl::FormatFloat("", 1e-5, Russian), "1E-5");
  EXPECT_EQ(rtl::FormatFloat("0", -2e300, English), "-2E300");
}

TEST(number_format_test, values_that_are_no_numbers) {
  EXPECT_EQ(rtl::FormatFloat("0.0", std::nan(""), English), "NAN");
  EXPECT_EQ(rtl::FormatFloat("0.0", std::numeric_limits<double>::infinity(), English), "INF");
  EXPECT_EQ(rtl::FormatFloat("0.0", -std::numeric_limits<double>::infinity(), English), "-INF");
}

TEST(number_format_test, separators_in_force_can_be_replaced) {
  rtl::SetNumberSeparators(English);
  EXPECT_EQ(rtl::FormatFloat("#,##0.###", 1234.5), "1,234.5");
  rtl::SetNumberSeparators(rtl::RussianNumberSeparators());
  EXPECT_EQ(rtl::FormatFloat("#,##0.###", 1234.5), "1\xA0" "234,5");
  EXPECT_EQ(rtl::CurrentNumberSeparators().decimal_separator, ',');
}

}  // namespace
