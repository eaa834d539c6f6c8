#include "rtl/console_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

// Every row of the conversion table, checked over its whole byte range.
TEST(console_text_test, each_row_of_the_table_maps_its_whole_range) {
  struct Row {
    int first, last, first_output;
  };
  const Row rows[] = {
      {0x80, 0xAF, 0xC0},  // А..Я, а..п
      {0xE0, 0xEF, 0xF0},  // р..я
      {0xF0, 0xF0, 0xA8},  // Ё
      {0xF1, 0xF1, 0xB8},  // ё
      {0x00, 0x7F, 0x00},  // ASCII
      {0xB0, 0xDF, 0xB0},  // box drawing
      {0xF2, 0xFF, 0xF2},  // the rest
  };
  for (const auto& row : rows) {
    for (int byte = row.first; byte <= row.last; ++byte) {
      EXPECT_EQ(rtl::ConvertConsoleText(Byte(byte)), Byte(row.first_output + (byte - row.first))) << std::hex << byte;
    }
  }
}

TEST(console_text_test, words_of_the_report_and_length_are_kept) {
  // "Пользователи" and "Кэширование" in code page 866, with a NUL and box drawing around.
  const std::string console("\x8F\xAE\xAB\xEC\xA7\xAE\xA2\xA0\xE2\xA5\xAB\xA8 \xB3\0\x8A\xED\xE8\xA8\xE0\xAE\xA2\xA0\xAD\xA8\xA5", 26);
  const std::string expected = rtl::Windows1251FromUtf8("Пользователи ") + "\xB3" + std::string(1, '\0') +
                               rtl::Windows1251FromUtf8("Кэширование");
  EXPECT_EQ(rtl::ConvertConsoleText(console), expected);
  EXPECT_EQ(rtl::ConvertConsoleText(console).size(), console.size());
}

TEST(console_text_test, windows1251_letters_survive_the_way_to_the_console_and_back) {
  const rtl::Text text = rtl::Windows1251FromUtf8("Отчёты ЁЖ abc@127.0.0.1 юя\r\n");
  EXPECT_EQ(rtl::ConvertConsoleText(rtl::ConsoleTextFromWindows1251(text)), text);
  for (int byte = 0xC0; byte <= 0xFF; ++byte) {
    EXPECT_EQ(rtl::ConvertConsoleText(rtl::ConsoleTextFromWindows1251(Byte(byte))), Byte(byte)) << byte;
  }
}

TEST(console_text_test, console_text_holds_the_true_code_page_866_bytes) {
  struct Case {
    const char* utf8;
    const char* code_page_866;
  };
  const Case cases[] = {
      {"Пользователи", "\x8F\xAE\xAB\xEC\xA7\xAE\xA2\xA0\xE2\xA5\xAB\xA8"},
      {"Ёё", "\xF0\xF1"},
      {"Єє Її Ўў", "\xF2\xF3 \xF4\xF5 \xF6\xF7"},
      {"°·№¤", "\xF8\xFA\xFC\xFD"},
      {"€‰", "??"},  // not in code page 866
      {"\xC2\xA0", "\xFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rtl::ConsoleTextFromWindows1251(rtl::Windows1251FromUtf8(c.utf8)), c.code_page_866) << c.utf8;
  }
}

TEST(console_text_test, unicode_of_every_code_page_866_byte_is_distinct) {
  for (int a = 0; a < 256; ++a) {
    for (int b = a + 1; b < 256; ++b) {
      ASSERT_NE(rtl::UnicodeFromCodePage866(a), rtl::UnicodeFromCodePage866(b)) << a << " " << b;
    }
  }
  EXPECT_EQ(rtl::UnicodeFromCodePage866(0xB3), U'\u2502');
  EXPECT_EQ(rtl::UnicodeFromCodePage866(0xDB), U'\u2588');
  EXPECT_EQ(rtl::UnicodeFromCodePage866(0x80), U'А');
  EXPECT_EQ(rtl::UnicodeFromCodePage866(0xEF), U'я');
}

}  // namespace
