#include "rtl/text.h"

#include <gtest/gtest.h>

namespace {

TEST(text_test, every_windows1251_byte_round_trips_through_utf8) {
  for (int byte = 1; byte < 256; ++byte) {
    const rtl::Text one(1, static_cast<char>(byte));
    EXPECT_EQ(rtl::Windows1251FromUtf8(rtl::Utf8FromWindows1251(one)), one) << "byte " << byte;
  }
}

TEST(text_test, cyrillic_letters_and_symbols) {
  struct Case {
    const char* utf8;
    const char* windows1251;
  };
  const Case cases[] = {
      {"Пуск", "\xCF\xF3\xF1\xEA"},
      {"Ёё", "\xA8\xB8"},
      {"№€", "\xB9\x88"},
      {"Ґґ", "\xA5\xB4"},
      {"abc", "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rtl::Windows1251FromUtf8(c.utf8), c.windows1251) << c.utf8;
    EXPECT_EQ(rtl::Utf8FromWindows1251(c.windows1251), c.utf8) << c.utf8;
  }
}

TEST(text_test, characters_outside_the_code_page_become_question_marks) {
  EXPECT_EQ(rtl::Windows1251FromUtf8("a\xE4\xB8\xAD" "b"), "a?b");     // CJK
  EXPECT_EQ(rtl::Windows1251FromUtf8("\xF0\x9F\x98\x80"), "?");          // emoji
  EXPECT_EQ(rtl::Windows1251FromUtf8("\xC3\xA9"), "?");                  // e acute
  EXPECT_EQ(rtl::Windows1251FromUtf8("x\xFF" "y"), "x?y");               // stray byte
  EXPECT_EQ(rtl::Windows1251FromUtf8("\xC0\xAF"), "??");                 // overlong "/"
  EXPECT_EQ(rtl::Windows1251FromUtf8("\xD0"), "?");                      // cut short
}

}  // namespace
