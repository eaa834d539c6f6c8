#include "rtl/file_name.h"

#include <gtest/gtest.h>

namespace {

// Every byte of the code page but NUL survives the way to the system and back, and reaches
// the system as UTF-8.
TEST(file_name_test, every_windows_1251_byte_goes_to_the_system_and_back) {
  rtl::Text all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(rtl::FileNameText(rtl::SystemPath(all)), all);
  EXPECT_EQ(rtl::SystemPath("/d/\xF1\xEF\xE8\xF1\xEE\xEA.txt").native(), "/d/список.txt");
}

TEST(file_name_test, characters_outside_the_code_page_show_as_question_marks) {
  EXPECT_EQ(rtl::FileNameText(std::filesystem::path("/d/表.txt")), "/d/?.txt");
}

}  // namespace
