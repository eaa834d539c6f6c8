// What the command-line faces print and exit with, shared by the Linux program and the
// Windows console program: the share list, a probe's line for each kind of result, and the
// headless run's settings from the options as given.
#include "core/command_faces.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "tests/support/windows1251_text.h"

namespace {

using namespace std::chrono_literals;

// Answers with a fixed result and remembers what it was asked.
class FixedProber final : public core::ShareProber {
 public:
  explicit FixedProber(core::ProbeResult result) : result_(std::move(result)) {}
  core::ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal& cancel) override {
    asked.push_back(share);
    cancelled = cancel.Cancelled();
    return result_;
  }
  std::vector<rtl::Text> asked;
  bool cancelled = true;

 private:
  core::ProbeResult result_;
};

core::ProbeResult Result(core::ProbeOutcome outcome, std::vector<rtl::Text> users, const rtl::Text& error = "") {
  core::ProbeResult result;
  result.outcome = outcome;
  result.count = static_cast<std::int32_t>(users.size());
  result.users = std::move(users);
  result.error = error;
  return result;
}

TEST(command_faces_test, the_share_list_prints_one_utf8_line_per_name) {
  EXPECT_EQ(core::ListSharesOutput({}).out, "");
  const core::FaceOutput output = core::ListSharesOutput({"public", W("Отчеты за год"), "C$"});
  EXPECT_EQ(output.out, "public\nОтчеты за год\nC$\n");
  EXPECT_EQ(output.error, "");
  EXPECT_EQ(output.exit_code, 0);
}

TEST(command_faces_test, a_probe_prints_the_count_and_names_or_the_error) {
  struct Case {
    const char* what;
    core::ProbeResult result;
    int exit_code;
    std::string out;
    std::string error;
  };
  const Case cases[] = {
      {"users", Result(core::ProbeOutcome::kCounted, {"alice@PC-01", W("Иванов@БУХ-01")}), 0,
       "2\talice@PC-01 Иванов@БУХ-01\n", ""},
      {"no users", Result(core::ProbeOutcome::kCounted, {}), 0, "0\t\n", ""},
      // As the polling run counts them: failures, with the report's words or the outcome.
      {"access denied report", Result(core::ProbeOutcome::kAccessDenied, {}, W("Системная ошибка 5.\nОтказано")), 1,
       "", "Системная ошибка 5.\nОтказано\n"},
      {"empty report", Result(core::ProbeOutcome::kNoUsersSection, {}), 1, "", "no_users_section\n"},
      {"timed out", Result(core::ProbeOutcome::kTimedOut, {}, W("Ошибка выполнения")), 1, "", "Ошибка выполнения\n"},
      {"not started", Result(core::ProbeOutcome::kNotStarted, {}, "cannot start"), 1, "", "cannot start\n"},
  };
  for (const auto& c : cases) {
    FixedProber prober(c.result);
    const core::FaceOutput output = core::ProbeOutput(W("Общая папка"), prober);
    EXPECT_EQ(output.exit_code, c.exit_code) << c.what;
    EXPECT_EQ(output.out, c.out) << c.what;
    EXPECT_EQ(output.error, c.error) << c.what;
    EXPECT_EQ(prober.asked, std::vector<rtl::Text>{W("Общая папка")}) << c.what;
    EXPECT_FALSE(prober.cancelled) << c.what;
  }
}

// Sets the test interval variable while it lives.
class TestInterval {
 public:
  explicit TestInterval(const char* value) {
    if (value != nullptr) setenv(core::kTestIntervalVariable, value, 1);
  }
  ~TestInterval() { unsetenv(core::kTestIntervalVariable); }
};

TEST(command_faces_test, poll_settings_default_beside_the_program) {
  const TestInterval none(nullptr);
  const core::HeadlessSettings settings = core::PollSettings({}, "/opt/sharemon");
  EXPECT_EQ(settings.watch_list_file, std::filesystem::path("/opt/sharemon/splist.txt"));
  EXPECT_EQ(settings.output_directory, std::filesystem::path("/opt/sharemon"));
  EXPECT_EQ(settings.interval, 30min);

  core::PollOptionTexts given;
  given.watch_list_file = "/etc/watch.txt";
  given.output_directory = "/var/lib/tables";
  given.interval_minutes = "$A";
  const core::HeadlessSettings chosen = core::PollSettings(given, "/opt/sharemon");
  EXPECT_EQ(chosen.watch_list_file, std::filesystem::path("/etc/watch.txt"));
  EXPECT_EQ(chosen.output_directory, std::filesystem::path("/var/lib/tables"));
  EXPECT_EQ(chosen.interval, 10min);
}

TEST(command_faces_test, the_interval_is_checked_before_the_test_interval_replaces_it) {
  struct Case {
    const char* variable;
    const char* minutes;
    std::chrono::milliseconds interval;  // 0: PollOptionError
  };
  const Case cases[] = {
      {"250", "5", 250ms}, {"x", "5", 5min}, {"-5", "5", 5min}, {"250ms", "5", 5min},
      {"", "2", 2min},     {"250", "0", 0ms}, {nullptr, "abc", 0ms},
  };
  for (const auto& c : cases) {
    const TestInterval variable(c.variable);
    core::PollOptionTexts texts;
    texts.interval_minutes = c.minutes;
    const std::string what = std::string(c.variable ? c.variable : "unset") + " / " + c.minutes;
    if (c.interval == 0ms) {
      try {
        core::PollSettings(texts, "/opt");
        ADD_FAILURE() << what << ": no error";
      } catch (const core::PollOptionError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("--interval: ", 0), 0u) << what << ": " << error.what();
      }
    } else {
      EXPECT_EQ(core::PollSettings(texts, "/opt").interval, c.interval) << what;
    }
  }
}

class LinesLog final : public core::RunLog {
 public:
  void Line(const std::string& utf8_line) override { lines.push_back(utf8_line); }
  std::vector<std::string> lines;
};

TEST(command_faces_test, a_run_that_cannot_start_exits_1_after_saying_why) {
  const TemporaryDirectory directory;
  core::HeadlessSettings settings;
  settings.watch_list_file = directory.Path() / "missing.txt";
  settings.output_directory = directory.Path();
  const platform::CancelSignal stop;
  core::RunListener listener;
  LinesLog log;
  EXPECT_EQ(core::PollUntilStopped(settings, stop, listener, log), 1);
  ASSERT_EQ(log.lines.size(), 1u);
  EXPECT_EQ(log.lines[0].rfind("sharemon --poll: ", 0), 0u) << log.lines[0];
  EXPECT_NE(log.lines[0].find("missing.txt"), std::string::npos) << log.lines[0];
}

}  // namespace
