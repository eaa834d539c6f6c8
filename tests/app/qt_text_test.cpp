#include "app/qt_text.h"

#include <gtest/gtest.h>

namespace {

TEST(QtText, every_byte_but_nul_survives_the_round_trip) {
  rtl::Text all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(ToText(ToQString(all)), all);
}

TEST(QtText, cyrillic_maps_to_its_unicode_letters) {
  EXPECT_EQ(ToQString("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8"), QStringLiteral("Привет Ёё"));
  EXPECT_EQ(ToText(QStringLiteral("Пуск")), "\xCF\xF3\xF1\xEA");
}

TEST(QtText, characters_outside_the_code_page_become_question_marks) {
  EXPECT_EQ(ToText(QStringLiteral("a中b")), "a?b");
  EXPECT_EQ(ToText(QString::fromUcs4(U"x\U0001F600y")), "x?y");  // outside the BMP: one mark
}

}  // namespace
