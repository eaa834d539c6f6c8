// The one reader of command lines and its printed forms: what it takes, the words it refuses
// a command line with, and the layout of the usage line and the help.
#include "rtl/option_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using rtl::OptionUsage;

struct Read {
  std::string name;
  std::string size;
  bool flag = false;
};

const std::vector<rtl::Option<Read>>& Table() {
  static const std::vector<rtl::Option<Read>> table = {
      {{"--name", "", "NAME", "The name.", OptionUsage::kRequired}, [](Read& r, std::string_view v) {
         r.name = v;
         return true;
       }},
      {{"--size", "", "WxH", "The size, two sides joined by an x, each of them one or more digits.",
        OptionUsage::kOptional},
       [](Read& r, std::string_view v) {
         r.size = v;
         return v.find('x') != std::string_view::npos;
       }},
      {{"--flag", "-f", "", "A flag.", OptionUsage::kAlternative}, [](Read& r, std::string_view) {
         r.flag = true;
         return true;
       }},
  };
  return table;
}

constexpr rtl::Operands kFile{"FILE", 1, 1};

// The problem, or "" when the arguments were read (into `read`).
std::string Problem(const std::vector<std::string>& arguments, rtl::ReadArguments<Read>* read = nullptr) {
  auto result = rtl::ReadOptions(Table(), arguments, kFile);
  if (auto* taken = std::get_if<rtl::ReadArguments<Read>>(&result); taken && read) *read = *taken;
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

TEST(option_table_test, values_come_in_either_form_the_last_counts_and_operands_keep_their_place) {
  rtl::ReadArguments<Read> read;
  EXPECT_EQ(Problem({"--size=1x1", "a.txt", "--name", "--size", "-f", "--size", "2x3"}, &read), "");
  EXPECT_EQ(read.options.name, "--size");  // a value that looks like an option is still the value
  EXPECT_EQ(read.options.size, "2x3");
  EXPECT_TRUE(read.options.flag);
  EXPECT_EQ(read.operands, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(Problem({"-", "--name="}, &read), "");
  EXPECT_EQ(read.operands, std::vector<std::string>{"-"});
}

TEST(option_table_test, a_command_line_the_table_does_not_take_is_named_in_one_wording) {
  const struct {
    std::vector<std::string> arguments;
    std::string problem;
  } cases[] = {
      {{"a", "--name", "n", "--colour", "red"}, "unknown option --colour"},
      {{"a", "--colour=red"}, "unknown option --colour"},
      {{"a", "--name"}, "missing value after --name"},
      {{"a", "--name", "n", "-f=yes"}, "unexpected value after -f"},
      {{"a", "--name", "n", "--size", "10"}, "invalid value for --size: 10"},
      {{"a", "--name", "n", "b", "c"}, "unexpected argument b"},
      {{"--name", "n"}, "missing FILE"},
      {{"a", "--size", "1x1"}, "missing --name NAME"},
  };
  for (const auto& c : cases) EXPECT_EQ(Problem(c.arguments), c.problem) << c.arguments.back();
}

TEST(option_table_test, the_usage_line_shows_operands_required_optional_and_alternative_options) {
  const auto names = rtl::NamesOf(Table());
  EXPECT_EQ(rtl::UsageOf(names, kFile), "FILE --name NAME [--size WxH | --flag]");
  EXPECT_EQ(rtl::UsageOf(names, {"FILE", 0, 1}), "[FILE] --name NAME [--size WxH | --flag]");
}

// The help as "names|help" per option, after checking its layout: each option starts a line
// with its names, its help follows in one column for all, wrapped by words within 79 characters
// (a line ends only where the next word would not fit).
std::vector<std::string> HelpEntries(const std::string& help) {
  std::vector<std::string> entries;
  std::istringstream lines(help);
  std::size_t column = 0;
  std::size_t previous = 0;
  for (std::string line; std::getline(lines, line); previous = line.size()) {
    EXPECT_LE(line.size(), 79u) << line;
    const std::size_t names_end = line.find("  ", 2);
    if (column == 0) column = line.find_first_not_of(' ', names_end);
    EXPECT_EQ(line.find_first_not_of(' ', names_end), column) << line;
    const std::size_t word = std::min(line.find(' ', column), line.size()) - column;
    if (names_end == 2) {
      EXPECT_GT(previous + 1 + word, 79u) << line;
      entries.back().append(" ").append(line.substr(column));
    } else {
      entries.push_back(line.substr(2, names_end - 2) + "|" + line.substr(column));
    }
  }
  return entries;
}

TEST(option_table_test, the_help_puts_each_options_text_in_one_column_wrapped_by_words) {
  EXPECT_EQ(HelpEntries(rtl::OptionsHelp(rtl::NamesOf(Table()))),
            (std::vector<std::string>{
                "--name <NAME>|The name.",
                "--size <WxH>|The size, two sides joined by an x, each of them one or more digits.",
                "-f, --flag|A flag.",
            }));
}

}  // namespace
