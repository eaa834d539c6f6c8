// The headless run's option table as both programs read and print it; built for Linux and,
// under Wine, for Windows, where a path arrives in UTF-8 and must become the same wide name.
#include "core/poll_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using core::PollOptionSet;

// The problem with the arguments, or "" when they were read (into `read`).
std::string Read(const std::vector<std::string>& arguments, PollOptionSet set, core::PollArguments* read = nullptr) {
  auto result = core::ReadPollArguments(arguments, set);
  if (auto* arguments_read = std::get_if<core::PollArguments>(&result); arguments_read && read) *read = *arguments_read;
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

TEST(poll_options_test, every_option_of_the_table_is_read_where_it_is_offered) {
  for (const core::PollOption& option : core::PollOptions()) {
    std::vector<std::string> arguments{std::string(option.name)};
    if (!option.value_name.empty()) arguments.emplace_back("1");
    EXPECT_EQ(Read(arguments, PollOptionSet::kAll), "");
    EXPECT_EQ(Read(arguments, PollOptionSet::kWithoutMetrics).empty(), !option.metrics) << option.name;
  }
}

TEST(poll_options_test, values_reach_their_fields_in_either_form_and_the_last_one_counts) {
#ifdef _WIN32
  const std::filesystem::path cyrillic(L"Z:\\отчёты\\список.txt");
#else
  const std::filesystem::path cyrillic("Z:\\отчёты\\список.txt");
  core::PollArguments bytes;  // a Linux file name need not be UTF-8
  EXPECT_EQ(Read({"--out", "/srv/\xff"}, PollOptionSet::kAll, &bytes), "");
  EXPECT_EQ(bytes.texts.output_directory, std::filesystem::path("/srv/\xff"));
#endif
  core::PollArguments read;
  EXPECT_EQ(Read({"--poll", "--watch", "Z:\\отчёты\\список.txt", "--out=D", "--interval", "5", "--interval=$A",
                  "--metrics", "[::1]:0", "--no-metrics", "-h"},
                 PollOptionSet::kAll, &read),
            "");
  EXPECT_EQ(read.texts.watch_list_file, cyrillic);
  EXPECT_EQ(read.texts.output_directory, std::filesystem::path("D"));
  EXPECT_EQ(read.texts.interval_minutes, "$A");
  EXPECT_EQ(read.metrics_address, "[::1]:0");
  EXPECT_FALSE(read.metrics);
  EXPECT_TRUE(read.help);
}

TEST(poll_options_test, what_the_table_does_not_allow_is_named) {
  const struct {
    std::vector<std::string> arguments;
    PollOptionSet set;
    std::string problem;
  } cases[] = {
      {{"--poll", "--colour", "red"}, PollOptionSet::kAll, "unknown option --colour"},
      {{"--colour=red"}, PollOptionSet::kAll, "unknown option --colour"},
      {{"--metrics", "127.0.0.1:0"}, PollOptionSet::kWithoutMetrics, "unknown option --metrics"},
      {{"--poll", "--watch"}, PollOptionSet::kAll, "missing value after --watch"},
      {{"--no-metrics=yes"}, PollOptionSet::kAll, "unexpected value after --no-metrics"},
      {{"--poll", "extra"}, PollOptionSet::kAll, "unexpected argument extra"},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(c.arguments, c.set), c.problem) << c.arguments.back();
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

TEST(poll_options_test, the_usage_line_and_the_help_show_the_offered_options) {
  EXPECT_EQ(core::PollUsageLine(PollOptionSet::kAll),
            "--poll [--watch FILE] [--interval N] [--out DIR] [--metrics HOST:PORT | --no-metrics]");
  EXPECT_EQ(core::PollUsageLine(PollOptionSet::kWithoutMetrics), "--poll [--watch FILE] [--interval N] [--out DIR]");
  for (const PollOptionSet set : {PollOptionSet::kAll, PollOptionSet::kWithoutMetrics}) {
    std::vector<std::string> expected;
    for (const core::PollOption& option : core::PollOptions()) {
      if (option.metrics && set != PollOptionSet::kAll) continue;
      std::string entry(option.short_name);
      if (!entry.empty()) entry += ", ";
      entry.append(option.name);
      if (!option.value_name.empty()) entry.append(" <").append(option.value_name).append(">");
      expected.push_back(entry.append("|").append(option.help));
    }
    EXPECT_EQ(HelpEntries(core::PollOptionsHelp(set)), expected);
  }
}

}  // namespace
