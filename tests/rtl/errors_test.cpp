#include "rtl/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(errors_test, messages_carry_the_fixed_texts) {
  EXPECT_STREQ(rtl::ListIndexError(-1).what(), "List index out of bounds (-1)");
  EXPECT_STREQ(rtl::FileOpenError("/x/splist.txt", "Permission denied").what(),
               "Cannot open file \"/x/splist.txt\". Permission denied");
  EXPECT_STREQ(rtl::FileCreateError("/x/list.txt", "Not a regular file").what(),
               "Cannot create file \"/x/list.txt\". Not a regular file");
  EXPECT_STREQ(rtl::ConvertError::NotInteger("3a").what(), "'3a' is not a valid integer value");
}

TEST(errors_test, file_error_texts_by_code) {
  const std::pair<int, const char*> cases[] = {
      {2, "File not found"},      {3, "Invalid filename"},        {4, "Too many open files"},
      {5, "File access denied"},  {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {32, "I/O error 32"},       {0, "I/O error 0"},
  };
  for (const auto& [code, text] : cases) {
    EXPECT_EQ(rtl::FileErrorText(code), text);
    EXPECT_EQ(rtl::InOutError(code).Code(), code);
  }
}

TEST(errors_test, box_text_appends_a_full_stop_only_after_bytes_sorting_after_it) {
  EXPECT_EQ(rtl::ErrorMessageForBox("Disk full"), "Disk full.");
  EXPECT_EQ(rtl::ErrorMessageForBox("List index out of bounds (-1)"), "List index out of bounds (-1)");
  EXPECT_EQ(rtl::ErrorMessageForBox("done."), "done.");
  EXPECT_EQ(rtl::ErrorMessageForBox("path/"), "path/.");
  EXPECT_EQ(rtl::ErrorMessageForBox("\xEE"), "\xEE.");  // a Cyrillic letter sorts after "."
  EXPECT_EQ(rtl::ErrorMessageForBox(""), "");
}

}  // namespace

namespace {

TEST(errors_test, errno_values_map_to_runtime_codes_without_borrowing_their_texts) {
  EXPECT_EQ(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(ENOENT)), "File not found");
  EXPECT_EQ(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(EACCES)), "File access denied");
  EXPECT_EQ(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(ENOSPC)), "Disk full");
  EXPECT_EQ(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(EIO)), "I/O error 30");
  // EINTR is 4 on Linux, the code of "Too many open files".
  EXPECT_NE(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(EINTR)), "Too many open files");
  EXPECT_EQ(rtl::FileErrorText(rtl::FileErrorCodeFromErrno(EFBIG)), "I/O error " + std::to_string(EFBIG));
}

}  // namespace
