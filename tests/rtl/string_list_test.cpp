#include "rtl/string_list.h"

#include <gtest/gtest.h>

#include "rtl/errors.h"

namespace {

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

}  // namespace
