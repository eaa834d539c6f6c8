// The window's watch list file where Linux makes it more than a file: a FIFO under its name and
// a link to the real list elsewhere.
#include <gtest/gtest.h>

#include "tests/support/special_files.h"
#include "window_standins.h"

namespace {

using window_files_test = window_test::WindowTest;

// A FIFO must not block the window; it is refused, and the rest of the show is skipped.
TEST_F(window_files_test, show_refuses_a_fifo_and_keeps_the_list) {
  std::filesystem::create_directories(File("program"));
  ASSERT_TRUE(special_files::MakeFifo(File("program/splist.txt")));
  view_.watch_list.entries = {"kept"};
  view_.share_list.entries = {"stale"};
  try {
    ShowIn();
    FAIL() << "no error";
  } catch (const rtl::FileOpenError& error) {
    EXPECT_EQ(error.what(), "Cannot open file \"" + File("program/splist.txt") + "\". Not a regular file");
  }
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"kept"}));
  EXPECT_EQ(view_.share_list.entries, (rtl::StringList{"stale"}));
}

// splist.txt as a link to the real list elsewhere: the link stays, the real list is updated.
TEST_F(window_files_test, close_writes_through_a_linked_file) {
  std::filesystem::create_directories(File("program"));
  std::filesystem::create_directory(File("real"));
  TemporaryDirectory::WriteBytes(File("real/list"), "old\r\n");
  std::filesystem::create_symlink("../real/list", File("program/splist.txt"));
  ShowIn();
  EXPECT_EQ(view_.watch_list.entries, (rtl::StringList{"old"}));
  view_.watch_list.entries = {"docs"};
  logic_.Close();
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_EQ(std::filesystem::read_symlink(File("program/splist.txt")), "../real/list");
  EXPECT_EQ(ReadFile("real/list"), "docs\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(File("real")), {}), 1);
}

}  // namespace
