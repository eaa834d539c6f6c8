// The headless run's option table as both programs read and print it; built for Linux and,
// under Wine, for Windows, where a path arrives in UTF-8 and must become the same wide name.
#include "core/poll_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(poll_options_test, values_reach_their_fields_in_either_form_and_the_last_one_counts) {
#ifdef _WIN32
  const std::filesystem::path cyrillic(L"Z:\\отчёты\\список.txt");
#else
  const std::filesystem::path cyrillic("Z:\\отчёты\\список.txt");
  // A Linux file name need not be UTF-8.
  const auto bytes = core::ReadPollArguments({"--out", "/srv/\xff"});
  ASSERT_TRUE(std::holds_alternative<core::PollArguments>(bytes));
  EXPECT_EQ(std::get<core::PollArguments>(bytes).texts.output_directory, std::filesystem::path("/srv/\xff"));
#endif
  const auto result = core::ReadPollArguments({"--watch", "Z:\\отчёты\\список.txt", "--out=D", "--interval", "5",
                                               "--interval=$A", "--metrics", "[::1]:0", "--no-metrics", "-h"});
  ASSERT_TRUE(std::holds_alternative<core::PollArguments>(result)) << std::get<std::string>(result);
  const auto& read = std::get<core::PollArguments>(result);
  EXPECT_EQ(read.texts.watch_list_file, cyrillic);
  EXPECT_EQ(read.texts.output_directory, std::filesystem::path("D"));
  EXPECT_EQ(read.texts.interval_minutes, "$A");
  EXPECT_EQ(read.metrics_address, "[::1]:0");
  EXPECT_FALSE(read.metrics);
  EXPECT_TRUE(read.help);
  // Not given, the metrics address is left to the system that serves them.
  EXPECT_FALSE(std::get<core::PollArguments>(core::ReadPollArguments({})).metrics_address);
}

TEST(poll_options_test, the_usage_line_names_every_option_of_the_run) {
  EXPECT_EQ(core::PollUsageLine(),
            "--poll [--watch FILE] [--interval N] [--out DIR] [--metrics HOST:PORT | --no-metrics]");
  EXPECT_EQ(std::get<std::string>(core::ReadPollArguments({"extra"})), "unexpected argument extra");
}

}  // namespace
