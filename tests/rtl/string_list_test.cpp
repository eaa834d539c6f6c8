#include "rtl/string_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "rtl/errors.h"

namespace {

namespace fs = std::filesystem;

struct TextCase {
  const char* name;
  std::string bytes;
  std::vector<rtl::Text> entries;
};

void PrintTo(const TextCase& text_case, std::ostream* out) { *out << text_case.name; }

class StringListText : public testing::TestWithParam<TextCase> {};

TEST_P(StringListText, splits_lines_by_every_line_end_form) {
  rtl::StringList list;
  list.Add("stale entry");
  list.SetText(GetParam().bytes);
  EXPECT_EQ(list.Entries(), GetParam().entries);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    byte_rules, StringListText,
    testing::Values(
        TextCase{"empty_file", "", {}},
        TextCase{"crlf", "a\r\nbb\r\n", {"a", "bb"}},
        TextCase{"lone_lf", "a\nbb\n", {"a", "bb"}},
        TextCase{"lone_cr", "a\rbb\r", {"a", "bb"}},
        TextCase{"no_final_line_end", "a\r\nbb", {"a", "bb"}},
        TextCase{"mixed_ends", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
        TextCase{"empty_line_in_middle", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        TextCase{"lf_cr_is_two_line_ends", "a\n\rb", {"a", "", "b"}},
        TextCase{"only_a_line_end", "\r\n", {""}},
        TextCase{"two_empty_lines", "\n\n", {"", ""}},
        TextCase{"stops_at_nul", "a\r\nb\0c\r\nd\r\n"s, {"a", "b"}},
        TextCase{"nul_first", "\0a\r\n"s, {}},
        TextCase{"spaces_kept", "  a b \t\r\n", {"  a b \t"}},
        TextCase{"cyrillic_bytes", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xB8\xA8\x98\n", {"\xCF\xF0\xE8\xE2\xE5\xF2", "\xB8\xA8\x98"}}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(StringList, text_ends_every_entry_with_crlf) {
  EXPECT_EQ(rtl::StringList{}.GetText(), "");
  EXPECT_EQ((rtl::StringList{"a", "", "\xCF"}.GetText()), "a\r\n\r\n\xCF\r\n");
}

TEST(StringList, bad_indexes_raise_list_index_errors) {
  rtl::StringList list{"a", "b"};
  EXPECT_THROW(list[-1], rtl::ListIndexError);
  try {
    list.Delete(2);
    FAIL() << "no exception";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (2)");
  }
  EXPECT_THROW(list.Set(5, "x"), rtl::ListIndexError);
  EXPECT_THROW(list.Insert(3, "x"), rtl::ListIndexError);
  EXPECT_EQ(list, (rtl::StringList{"a", "b"}));
}

TEST(StringList, edits_keep_order_and_duplicates) {
  rtl::StringList list;
  list.Add("b");
  list.Add("b");
  list.Insert(0, "a");
  list.Insert(3, "c");
  EXPECT_EQ(list, (rtl::StringList{"a", "b", "b", "c"}));
  EXPECT_EQ(list.IndexOf("b"), 1);
  EXPECT_EQ(list.IndexOf("B"), -1);
  list.Delete(1);
  EXPECT_EQ(list, (rtl::StringList{"a", "b", "c"}));
  list.AddStrings(rtl::StringList{"a"});
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list[3], "a");
}

class StringListFile : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() / ("string_list_test_" + std::to_string(getpid()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string PathOf(const char* name) const { return (directory_ / name).string(); }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  fs::path directory_;
};

TEST_F(StringListFile, saves_windows_1251_with_crlf_and_loads_it_back) {
  const std::string path = PathOf("splist.txt");
  const rtl::StringList list{"docs", "", "\xCF\xF0\xE8\xE2\xE5\xF2", "a b"};
  list.SaveToFile(path);
  EXPECT_EQ(ReadBytes(path), "docs\r\n\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\na b\r\n");
  rtl::StringList loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded, list);
}

TEST_F(StringListFile, empty_list_is_an_empty_file_and_no_temporary_stays) {
  const std::string path = PathOf("splist.txt");
  WriteBytes(path, "old\r\n");
  rtl::StringList{}.SaveToFile(path);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

TEST_F(StringListFile, missing_file_raises_cannot_open_file) {
  const std::string path = PathOf("absent.txt");
  rtl::StringList list{"kept"};
  try {
    list.LoadFromFile(path);
    FAIL() << "no exception";
  } catch (const rtl::FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". No such file or directory");
  }
  EXPECT_EQ(list, (rtl::StringList{"kept"}));
}

TEST_F(StringListFile, failed_save_raises_and_leaves_the_target_untouched) {
  // A directory in the target's place can be neither opened for writing nor replaced.
  const std::string path = PathOf("splist.txt");
  fs::create_directory(path);
  EXPECT_THROW(rtl::StringList{"a"}.SaveToFile(path), rtl::Exception);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(StringListFile, save_into_a_missing_directory_names_the_file) {
  const std::string path = PathOf("no/such/splist.txt");
  try {
    rtl::StringList{"a"}.SaveToFile(path);
    FAIL() << "no exception";
  } catch (const rtl::Exception& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + path + "\". No such file or directory");
  }
}

TEST_F(StringListFile, cyrillic_file_names_reach_the_system_as_utf8) {
  const rtl::Text name = PathOf("") + "\xF1\xEF\xE8\xF1\xEE\xEA.txt";  // "список.txt"
  rtl::StringList{"x"}.SaveToFile(name);
  EXPECT_TRUE(fs::exists(directory_ / "список.txt"));
}

}  // namespace
