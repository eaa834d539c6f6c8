// Whole files on Windows: the name never lacks a file while it is replaced, a replaced file
// keeps its attributes, and a read that fails names the file.
#include "platform/whole_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "platform/owned_handle.h"
#include "rtl/errors.h"
#include "rtl/file_name.h"

namespace fs = std::filesystem;

namespace {

class WholeFileWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(directory_); }
  void TearDown() override { fs::remove_all(directory_); }

  const fs::path directory_ = fs::temp_directory_path() / (L"whole_file_" + std::to_wstring(GetCurrentProcessId()));
  const fs::path file_ = directory_ / L"list.txt";
};

// A program ended while it replaces its table file must leave a file under the name: checked by
// looking for the file without pause while another thread replaces it again and again.
TEST_F(WholeFileWindowsTest, the_name_never_lacks_a_file_while_it_is_replaced) {
  platform::WriteWholeFile(file_, "0\r\n", platform::FileErrors::kRuntimeCode);
  std::atomic<bool> done = false;
  std::thread writer([&] {
    for (int i = 1; i <= 300; ++i) {
      platform::WriteWholeFile(file_, std::to_string(i) + "\r\n", platform::FileErrors::kRuntimeCode);
    }
    done = true;
  });
  int looks = 0;
  int missing = 0;
  while (!done) {
    ++looks;
    if (GetFileAttributesW(file_.c_str()) == INVALID_FILE_ATTRIBUTES) ++missing;
  }
  writer.join();
  EXPECT_EQ(missing, 0) << "in " << looks << " looks";
  EXPECT_EQ(platform::ReadWholeFile(file_, platform::FileErrors::kRuntimeCode), "300\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(WholeFileWindowsTest, a_replaced_file_keeps_its_attributes_but_a_read_only_one_is_refused) {
  platform::WriteWholeFile(file_, "old", platform::FileErrors::kRuntimeCode);
  ASSERT_TRUE(SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  platform::WriteWholeFile(file_, "new", platform::FileErrors::kRuntimeCode);
  EXPECT_EQ(GetFileAttributesW(file_.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  ASSERT_TRUE(SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_ANY_THROW(platform::WriteWholeFile(file_, "newer", platform::FileErrors::kRuntimeCode));
  SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(platform::ReadWholeFile(file_, platform::FileErrors::kRuntimeCode), "new");
}

using whole_file_windows_test = WholeFileWindowsTest;

// A file another program holds without sharing fails with error 32, which the runtime has no
// text for: the message names the file and says what happened, as the system words it.
TEST_F(whole_file_windows_test, a_file_held_by_another_program_is_named_with_the_systems_reason) {
  platform::WriteWholeFile(file_, "old", platform::FileErrors::kRuntimeCode);
  const platform::Handle held(CreateFileW(file_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.IsOpen());
  try {
    platform::ReadWholeFile(file_, platform::FileErrors::kRuntimeCode);
    ADD_FAILURE() << "read a file held without sharing";
  } catch (const rtl::Exception& error) {
    EXPECT_EQ(error.what(), "Cannot open file \"" + rtl::FileNameText(file_) + "\". " +
                                std::system_category().message(ERROR_SHARING_VIOLATION));
  }
}

}  // namespace
