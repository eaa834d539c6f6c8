#include "rtl/integer.h"

#include <gtest/gtest.h>

#include "rtl/errors.h"

namespace {

struct IntegerCase {
  const char* text;
  int value;
};

class IntegerReadsTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReadsTest, GivesTheValue) {
  EXPECT_EQ(rtl::StrToInt(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, IntegerReadsTest,
    testing::Values(IntegerCase{"30", 30}, IntegerCase{"0", 0}, IntegerCase{"   7", 7}, IntegerCase{"+5", 5},
                    IntegerCase{"-12", -12}, IntegerCase{"  -0012", -12}, IntegerCase{"$1F", 31},
                    IntegerCase{"0x1f", 31}, IntegerCase{"0X10", 16}, IntegerCase{"-$10", -16},
                    IntegerCase{"2147483647", 2147483647}, IntegerCase{"-2147483648", -2147483647 - 1},
                    IntegerCase{"$7FFFFFFF", 2147483647}, IntegerCase{"$FFFFFFFF", -1},
                    IntegerCase{"$80000000", -2147483647 - 1}, IntegerCase{"007", 7}));

class IntegerRefusesTest : public testing::TestWithParam<const char*> {};

TEST_P(IntegerRefusesTest, ThrowsNotInteger) {
  const std::string text = GetParam();
  try {
    rtl::StrToInt(text);
    FAIL() << "accepted " << text;
  } catch (const rtl::ConvertError& error) {
    EXPECT_STREQ(error.what(), ("'" + text + "' is not a valid integer value").c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Refused, IntegerRefusesTest,
                         testing::Values("", " ", "-", "+", "30 ", "3 0", "abc", "1.5", "2147483648",
                                         "-2147483649", "$100000000", "$", "0x", "$-1", "--1", "+-1",
                                         "\t30", "30\r", "1e3", "$G"));

TEST(IntegerTest, TryFormLeavesValueOnFailure) {
  int value = 42;
  EXPECT_FALSE(rtl::TryStrToInt("x", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(rtl::TryStrToInt("-3", value));
  EXPECT_EQ(value, -3);
}

}  // namespace
