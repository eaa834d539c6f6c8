// "sharemon --poll" as a real process: a copy of the program in a private directory with a
// stand-in share query program beside it, which answers each share with a prepared report
// (or hangs, or prints too much). Stop requests are real signals; the metrics are read over
// real HTTP.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "core/poll_options.h"
#include "platform/netshare/share_report.h"
#include "rtl/text.h"
#include "tests/support/http_client.h"
#include "tests/support/test_process.h"
#include "tests/support/temporary_directory.h"

namespace {

using namespace std::chrono_literals;

const char kStandIn[] = R"(#!/bin/sh
# Stand-in share query program: answers from the prepared reports beside it.
dir=$(dirname "$0")
case "$1" in
  slow) : >"$dir/slow-started"; exec sleep 30 ;;
  huge) yes | head -c 17000000 ;;
  *) exec cat "$dir/reports/$1" ;;
esac
)";

class poll_face_test : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = directory_.File("sharemon");
    std::filesystem::copy_file(BuildDir() + "/sharemon", program_);
    TemporaryDirectory::WriteBytes(directory_.File("netshare"), kStandIn);
    std::filesystem::permissions(directory_.File("netshare"), std::filesystem::perms::owner_all);
    std::filesystem::create_directory(directory_.Path() / "reports");
    std::filesystem::create_directory(directory_.Path() / "out");
    Report("docs", netshare::ShareReport("docs", "/srv/docs", "", {{"alice", "10.0.0.7"}, {"bob", "10.0.0.8"}}));
    Report("denied", netshare::AccessDeniedReport());
    Report("missing", netshare::NoSuchShareReport());
  }

  void Report(const std::string& share, const std::string& report) {
    TemporaryDirectory::WriteBytes((directory_.Path() / "reports" / share).string(), report);
  }
  void WatchList(const std::string& utf8_lines) {
    TemporaryDirectory::WriteBytes(directory_.File("splist.txt"), rtl::Windows1251FromUtf8(utf8_lines));
  }
  std::vector<std::filesystem::path> TableFiles(const std::filesystem::path& directory) const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
      if (entry.path().filename().string().rfind("list_", 0) == 0) files.push_back(entry.path());
    }
    return files;
  }

  TemporaryDirectory directory_;
  std::string program_;
};

class poll_stop_test : public poll_face_test, public ::testing::WithParamInterface<int> {};

TEST_P(poll_stop_test, a_stop_signal_mid_tick_cancels_the_probe_writes_whole_ticks_only_and_survives_more_signals) {
  WatchList("docs\r\nslow\r\n");
  // Defaults: the watch list and the table files beside the program.
  TestProcess process(program_, {"--no-metrics"}, {}, directory_.Path());
  const auto started = directory_.Path() / "slow-started";
  for (int i = 0; i < 1000 && !std::filesystem::exists(started); ++i) std::this_thread::sleep_for(20ms);
  ASSERT_TRUE(std::filesystem::exists(started)) << process.Err();
  const auto signalled = std::chrono::steady_clock::now();
  ASSERT_EQ(kill(process.Pid(), GetParam()), 0);
  // More requests while the run is stopping and writing its file change nothing.
  for (int i = 0; i < 200 && process.Wait(0ms) == -1; ++i) {
    kill(process.Pid(), i % 2 ? SIGTERM : SIGINT);
    std::this_thread::sleep_for(1ms);
  }
  const int status = process.Wait(20s);
  const auto stopped_after = std::chrono::steady_clock::now() - signalled;
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status << "\n" << process.Err();
  EXPECT_EQ(WEXITSTATUS(status), 0) << process.Err();
  // The hanging probe was cancelled, not waited for to its 60 s limit.
  EXPECT_LT(stopped_after, 10s);
  const auto files = TableFiles(directory_.Path());
  ASSERT_EQ(files.size(), 1u);
  const std::string table = TemporaryDirectory::ReadBytes(files[0]);
  // The tick the signal cut writes no row: docs' count without slow's would be a short row.
  EXPECT_EQ(table, "\xC2\xF0\xE5\xEC\xFF,docs,slow\r\n");
  EXPECT_EQ(TestProcess::Count(process.Err(), "run stopped: 0 rows written"), 1) << process.Err();
  EXPECT_EQ(process.Out(), "");
}

INSTANTIATE_TEST_SUITE_P(signals, poll_stop_test, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(poll_face_test, each_failure_is_logged_counted_and_has_no_users_value_while_the_ticks_go_on) {
  WatchList("docs\nmissing\ndenied\nhuge\n");
  TestProcess process(program_,
                      {"--watch", directory_.File("splist.txt"), "--out", directory_.File("out"), "--interval", "1",
                       "--metrics", "127.0.0.1:0"},
                      {"SHAREMON_TEST_INTERVAL_MS=200"}, directory_.Path());
  const int port = process.MetricsPort();
  ASSERT_NE(port, 0) << process.Err();
  ASSERT_TRUE(process.WaitForLog("tick: 4 of 4 shares probed, 3 failed", 2)) << process.Err();
  const HttpResponse scrape = HttpGet(port, "/metrics");
  ASSERT_EQ(kill(process.Pid(), SIGTERM), 0);
  const int status = process.Wait(20s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  ASSERT_EQ(scrape.status, 200);
  const std::string& page = scrape.body;
  EXPECT_NE(page.find("\nsharemon_share_users{share=\"docs\"} 2\n"), std::string::npos) << page;
  std::smatch match;
  ASSERT_TRUE(std::regex_search(page, match, std::regex("\nsharemon_ticks_total (\\d+)\n"))) << page;
  const int ticks = std::stoi(match[1]);
  EXPECT_GE(ticks, 2);
  for (const auto& [share, reason] : std::vector<std::pair<std::string, std::string>>{
           {"missing", "no_users_section"}, {"denied", "access_denied"}, {"huge", "report_too_large"}}) {
    EXPECT_EQ(page.find("sharemon_share_users{share=\"" + share + "\"}"), std::string::npos) << share;
    ASSERT_TRUE(std::regex_search(page, match,
                                  std::regex("\nsharemon_share_probe_failures_total\\{share=\"" + share +
                                             "\",reason=\"" + reason + "\"\\} (\\d+)\n")))
        << share << "\n" << page;
    // The counter grows at each probe, the tick count when the tick ends.
    EXPECT_GE(std::stoi(match[1]), ticks) << share;
    EXPECT_LE(std::stoi(match[1]), ticks + 1) << share;
    EXPECT_GE(TestProcess::Count(process.Err(), "probe of \"" + share + "\" failed: " + reason), 2) << share;
  }
  // The table holds what the window would: the 0 of a report without users, nothing of "huge".
  // The stop may land inside a tick, whose row then keeps only the values probed before it.
  const auto files = TableFiles(directory_.Path() / "out");
  ASSERT_EQ(files.size(), 1u);
  const std::string table = TemporaryDirectory::ReadBytes(files[0]);
  const std::string row = "\\d\\d\\.\\d\\d\\.\\d{4}  \\d+:\\d\\d:\\d\\d";
  EXPECT_TRUE(std::regex_match(table, std::regex("\xC2\xF0\xE5\xEC\xFF,docs,missing,denied,huge\r\n(" + row +
                                                 ",2,0,0\r\n){2,}(" + row + "(,2(,0)?)?\r\n)?")))
      << table;
  EXPECT_EQ(process.Out(), "");
}

TEST_F(poll_face_test, ticks_go_on_while_clients_crowd_and_stall_the_metrics_endpoint) {
  WatchList("docs\n");
  TestProcess process(program_, {"--out", directory_.File("out"), "--metrics", "127.0.0.1:0"},
                      {"SHAREMON_TEST_INTERVAL_MS=100"}, directory_.Path());
  const int port = process.MetricsPort();
  ASSERT_NE(port, 0) << process.Err();
  ASSERT_TRUE(process.WaitForLog("tick:", 1)) << process.Err();
  // More idle connections than the server keeps, and half-sent requests on some of them.
  std::vector<int> crowd;
  for (int i = 0; i < 200; ++i) {
    const int fd = ConnectLocal(port);
    if (fd >= 0 && i % 3 == 0) SendAll(fd, "GET /metr");
    crowd.push_back(fd);
  }
  const int ticks = TestProcess::Count(process.Err(), "tick:");
  EXPECT_TRUE(process.WaitForLog("tick:", ticks + 10, 20s)) << process.Err();
  for (const int fd : crowd) close(fd);
  // Once the server has seen the crowd leave, scrapes are served again.
  int status = 0;
  for (int i = 0; i < 100 && status != 200; ++i) {
    if (i > 0) std::this_thread::sleep_for(50ms);
    status = HttpGet(port, "/metrics").status;
  }
  EXPECT_EQ(status, 200);
  kill(process.Pid(), SIGTERM);
  EXPECT_EQ(process.Wait(20s), 0);
}

TEST_F(poll_face_test, unusable_arguments_and_settings_are_refused_with_a_clear_message) {
  WatchList("docs\n");
  const std::string watch = directory_.File("splist.txt");
  struct Case {
    std::vector<std::string> arguments;
    int exit_code;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--interval", "0", "--no-metrics"}, 2, "--interval: The interval must be at least 1 minute, not '0'"},
      {{"--interval", "-30", "--no-metrics"}, 2, "--interval: The interval must be at least 1 minute, not '-30'"},
      {{"--interval", "полчаса", "--no-metrics"}, 2, "--interval: 'полчаса' is not a valid integer value"},
      {{"--metrics", "somewhere"}, 2, "--metrics: 'somewhere' is no HOST:PORT"},
      {{"--metrics", "127.0.0.1:99999"}, 2, "--metrics: '127.0.0.1:99999' is no HOST:PORT"},
      {{"--frobnicate"}, 2, "frobnicate"},
      {{"extra"}, 2, "unexpected argument extra"},
      {{"--watch", directory_.File("none.txt"), "--no-metrics"}, 1, "Cannot open file"},
      {{"--watch", watch, "--out", directory_.File("no/such/dir"), "--no-metrics"},
       1,
       "sharemon --poll: table file not written: " + directory_.File("no/such/dir") + "/list_"},
  };
  for (const Case& c : cases) {
    TestProcess process(BuildDir() + "/sharemon", c.arguments, {}, directory_.Path());
    const int status = process.Wait(20s);
    EXPECT_TRUE(WIFEXITED(status)) << c.arguments[0];
    EXPECT_EQ(WEXITSTATUS(status), c.exit_code) << c.arguments[0] << " " << process.Err();
    EXPECT_NE(process.Err().find(c.message), std::string::npos) << process.Err();
    EXPECT_NE(process.Err(), "") << c.arguments[0];
    EXPECT_EQ(process.Out(), "") << c.arguments[0];
    EXPECT_TRUE(TableFiles(directory_.Path()).empty()) << c.arguments[0];
  }
}

TEST_F(poll_face_test, a_metrics_address_in_use_is_refused_before_anything_is_polled) {
  WatchList("docs\n");
  TestProcess first(program_, {"--metrics", "127.0.0.1:0"}, {}, directory_.Path());
  const int port = first.MetricsPort();
  ASSERT_NE(port, 0) << first.Err();
  TestProcess second(program_, {"--metrics", "127.0.0.1:" + std::to_string(port)}, {}, directory_.Path() / "out");
  const int status = second.Wait(20s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_NE(second.Err().find("--metrics: "), std::string::npos) << second.Err();
  EXPECT_EQ(TestProcess::Count(second.Err(), "tick:"), 0);
  kill(first.Pid(), SIGTERM);
  EXPECT_EQ(first.Wait(20s), 0);
}

TEST_F(poll_face_test, both_helps_print_the_option_table_on_standard_output) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"}, {"--poll", "--help"}}) {
    TestProcess process(BuildDir() + "/sharemon", arguments, {}, directory_.Path(), "");
    EXPECT_EQ(process.Wait(20s), 0);
    const std::string help = process.Out();
    const std::string usage = "sharemon " + core::PollUsageLine() + "\n";
    EXPECT_NE(help.find(usage), std::string::npos) << help;
    EXPECT_NE(help.find(core::PollHelp()), std::string::npos) << help;
    EXPECT_NE(help.find("SIGTERM"), std::string::npos) << help;
    EXPECT_EQ(help.find("SHAREMON_TEST_INTERVAL_MS"), std::string::npos);
  }
}

}  // namespace
