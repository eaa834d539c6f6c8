#include "core/share_probe.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/netshare/share_report.h"
#include "platform/share_query_command.h"
#include "rtl/console_text.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/windows1251_text.h"

namespace {

using namespace std::chrono_literals;

const std::string kUsers = "Пользователи";
const std::string kCaching = "Кэширование";

TEST(share_probe_test, the_cut_takes_the_text_between_the_two_words) {
  struct Case {
    const char* what;
    std::string report;
    std::string section;
  };
  const Case cases[] = {
      {"both words", "Имя x\r\n" + kUsers + std::string(17, ' ') + "alice1 bob123 \r\n\r\n\r\n" + kCaching + " y",
       "alice1 bob123 "},
      {"empty section", kUsers + std::string(17, ' ') + "\r\n\r\n\r\n" + kCaching, ""},
      // P = 0: from position 29 of the whole text up to 6 characters before the word.
      {"only the second word", std::string(28, '-') + "SECTION12345\n" + kCaching, "SECTION"},
      {"only the first word", kUsers + std::string(40, ' ') + "alice1 bob123 ", ""},
      {"neither word", std::string(60, 'x') + " abcdefg ", ""},
      {"second word right after the first", kUsers + "\n" + kCaching + std::string(40, 'z'), ""},
      {"second word before the first", kCaching + std::string(40, ' ') + "\n" + kUsers + std::string(40, 'q'), ""},
      {"second word 35 characters after the first", kUsers + std::string(22, '.') + "\n" + kCaching, ""},
      {"second word 36 characters after the first",
       kUsers + std::string(17, ' ') + "A" + std::string(5, '.') + "\n" + kCaching, "A"},
      // Lower case does not match: P = 0 takes the text from position 29 on.
      {"words are case-sensitive", "пользователи" + std::string(17, ' ') + "alice1 \r\n\r\n\r\n" + kCaching,
       " alice1 "},
      {"first occurrences count", kUsers + std::string(17, ' ') + "first1 \r\n\r\n\r\n" + kCaching + "\n" + kUsers,
       "first1 "},
      // Words inside a line are no labels.
      {"words inside a line", "x " + kUsers + " " + kCaching + "\r\n" + kUsers + std::string(17, ' ') + "real12 \r\n\r\n\r\n" +
                                  kCaching,
       "real12 "},
  };
  for (const auto& c : cases) EXPECT_EQ(core::CutUsersSection(W(c.report)), W(c.section)) << c.what;
}

TEST(share_probe_test, names_of_six_or_more_characters_followed_by_a_space_count) {
  struct Case {
    const char* what;
    std::string section;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"two names", "alice1 bob123 ", {"alice1", "bob123"}},
      {"no final space", "alice1 bob123", {"alice1"}},
      {"five characters", "abcde ", {}},
      {"six characters", "abcdef ", {"abcdef"}},
      {"several spaces", "   abcdef    ghijkl   ", {"abcdef", "ghijkl"}},
      {"a line break joins", "abcdef\r\nghijkl ", {"abcdef\r\nghijkl"}},
      {"a tab joins", "abc\tdef ", {"abc\tdef"}},
      {"five with a tab", "ab\tcd ", {}},
      {"short pieces", "a b c d e f ", {}},
      {"empty", "", {}},
      {"cyrillic", "Иванов Петров ", {"Иванов", "Петров"}},
  };
  for (const auto& c : cases) {
    std::vector<rtl::Text> expected;
    for (const auto& token : c.tokens) expected.push_back(W(token));
    EXPECT_EQ(core::UserTokens(W(c.section)), expected) << c.what;
  }
}

// What netshare prints is what the probe cuts: the two sides share one layout.
TEST(share_probe_test, the_report_of_netshare_cuts_to_exactly_its_users) {
  struct Case {
    std::vector<netshare::Connection> connections;
    std::vector<std::string> users;
    std::string comment = "Отчёты отдела";
  };
  const Case cases[] = {
      {{}, {}},
      {{{"bob", "127.0.0.1"}}, {"bob@127.0.0.1"}},
      {{{"alice", "10.0.0.2"}, {"alice", "10.0.0.3"}, {"Иванов", "host"}},
       {"alice@10.0.0.2", "alice@10.0.0.3", "Иванов@host"}},
      // Too short to count as written; padded so that the connection still counts.
      {{{"a", "::1"}, {"ab", "h"}}, {"a@::1_", "ab@h__"}},
      // Whoever owns a share sets its comment: its words neither add users nor hide them.
      {{{"bob", "127.0.0.1"}}, {"bob@127.0.0.1"}, kUsers + " aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbb cccccc d "},
      {{{"bob", "127.0.0.1"}}, {"bob@127.0.0.1"}, kCaching},
      {{{"bob", "127.0.0.1"}}, {"bob@127.0.0.1"}, "Системная ошибка 5."},
  };
  for (const auto& c : cases) {
    const std::string report = netshare::ShareReport("Отчеты", "/srv/Отчеты", c.comment, c.connections);
    const core::ProbeResult result = core::ProbeResultOfReport(rtl::ConvertConsoleText(report));
    std::vector<rtl::Text> expected;
    for (const auto& user : c.users) expected.push_back(W(user));
    EXPECT_EQ(result.outcome, core::ProbeOutcome::kCounted);
    EXPECT_EQ(result.users, expected);
    EXPECT_EQ(result.count, static_cast<int>(expected.size()));
    EXPECT_EQ(report.find('\n'), report.find("\r\n") + 1);
  }
}

TEST(share_probe_test, a_report_says_whether_its_count_is_real) {
  struct Case {
    const char* what;
    std::string report;
    core::ProbeOutcome outcome;
    std::string reason;  // the error text: the report's first non-blank lines
  };
  const std::string netshare_line = "netshare: the status service at /run/s.sock failed: no answer\n";
  const Case cases[] = {
      {"users section", netshare::ShareReport("a", "/a", "", {{"alice", "10.0.0.2"}}), core::ProbeOutcome::kCounted, ""},
      {"access denied", netshare::AccessDeniedReport(), core::ProbeOutcome::kAccessDenied,
       "Системная ошибка 5.\nОтказано в доступе."},
      {"no such share", netshare::NoSuchShareReport(), core::ProbeOutcome::kNoUsersSection,
       "Данный общий ресурс не существует."},
      {"configuration unreadable", netshare::ConfigurationUnreadableReport(), core::ProbeOutcome::kNoUsersSection,
       "Не удается прочитать конфигурацию сервера Samba."},
      {"service failed", netshare_line + netshare::StatusUnreadableReport(), core::ProbeOutcome::kNoUsersSection,
       netshare_line + "Не удается получить сведения о подключениях к серверу Samba."},
      {"nothing at all", "", core::ProbeOutcome::kNoUsersSection, ""},
      {"a flood", std::string(3000, 'x'), core::ProbeOutcome::kNoUsersSection, std::string(500, 'x')},
  };
  for (const auto& c : cases) {
    const core::ProbeResult result = core::ProbeResultOfReport(rtl::ConvertConsoleText(c.report));
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    EXPECT_EQ(result.error, W(c.reason)) << c.what;
    EXPECT_TRUE(result.HasReport()) << c.what;
    EXPECT_FALSE(result.EndsTick()) << c.what;
    EXPECT_EQ(result.Counted(), c.outcome == core::ProbeOutcome::kCounted) << c.what;
    if (!result.Counted()) {
      EXPECT_EQ(result.count, 0) << c.what;  // what the window records
    }
  }
}

// A stand-in for netshare: records its argument and prints a prepared report.
class console_prober_test : public ::testing::Test {
 protected:
  void SetUp() override {
    script_ = directory_.File("query.sh");
    WriteScript("printf '%s' \"$1\" > '" + directory_.File("argument") + "'\nexec cat '" + directory_.File("report") + "'");
    platform::SetShareQueryProgram(script_);
  }
  void TearDown() override { platform::SetShareQueryProgram(""); }

  void WriteScript(const std::string& body) {
    TemporaryDirectory::WriteBytes(script_, "#!/bin/sh\n" + body + "\n");
    chmod(script_.c_str(), 0755);
  }
  core::ProbeResult Probe(const rtl::Text& share, std::chrono::milliseconds limit = 10s) {
    return core::ConsoleShareProber(limit).Probe(share, never_);
  }

  TemporaryDirectory directory_;
  std::string script_;
  platform::CancelSignal never_;
};

TEST_F(console_prober_test, runs_the_program_for_the_share_and_counts_its_report) {
  TemporaryDirectory::WriteBytes(directory_.File("report"),
                                 netshare::ShareReport("x", "/x", "", {{"alice", "10.0.0.2"}, {"bob", "10.0.0.3"}}));
  const core::ProbeResult result = Probe(W("Отчеты; rm -rf $(x) & \"y\""));
  EXPECT_EQ(result.outcome, core::ProbeOutcome::kCounted);
  EXPECT_EQ(result.users, (std::vector<rtl::Text>{"alice@10.0.0.2", "bob@10.0.0.3"}));
  EXPECT_GT(result.duration.count(), 0);
  // The name reaches the program unchanged, as one argument, in UTF-8.
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("argument")), "Отчеты; rm -rf $(x) & \"y\"");
}

TEST_F(console_prober_test, a_run_without_a_report_is_a_failure_with_the_error_text) {
  struct Case {
    const char* what;
    std::string script;  // empty: the program is missing
    core::ProbeOutcome outcome;
    std::string error;
    // Short where the limit is what ends the run; long where the output must pass its limit
    // first, which a loaded machine may take seconds to print.
    std::chrono::milliseconds limit = 1s;
  };
  const Case cases[] = {
      {"cannot start", "", core::ProbeOutcome::kNotStarted, "Ошибка выполнения или компиляции: \n\rnetshare Отчеты"},
      {"hangs", "exec sleep 30", core::ProbeOutcome::kTimedOut, "Ошибка выполнения или компиляции: \n\rnetshare Отчеты"},
      {"prints too much", "exec yes Пользователи", core::ProbeOutcome::kReportTooLarge,
       "Слишком большой ответ команды: \n\rnetshare Отчеты", 120s},
  };
  for (const auto& c : cases) {
    if (c.script.empty()) {
      platform::SetShareQueryProgram(directory_.File("missing"));
    } else {
      platform::SetShareQueryProgram(script_);
      WriteScript(c.script);
    }
    const core::ProbeResult result = Probe(W("Отчеты"), c.limit);
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    EXPECT_EQ(result.error, W(c.error)) << c.what;
    EXPECT_TRUE(result.EndsTick()) << c.what;
    EXPECT_EQ(result.count, 0) << c.what;
  }
}

// A name that cannot be a share's never reaches the command: "pub=C:\" would make net share
// create a share of drive C:, "/delete" is a switch.
TEST_F(console_prober_test, a_name_that_names_no_share_starts_no_command) {
  const std::pair<rtl::Text, std::string> cases[] = {
      {"pub=C:\\", "в имени общего ресурса не бывает знака \"=\""},
      {"/delete", "имя общего ресурса не начинается с \"/\""},
      {"docs\r\n/delete", "в имени общего ресурса не бывает управляющих символов"},
      {std::string(81, 'x'), "имя общего ресурса длиннее 80 символов"},
  };
  for (const auto& [name, reason] : cases) {
    const core::ProbeResult result = Probe(name);
    EXPECT_EQ(result.outcome, core::ProbeOutcome::kNotStarted) << reason;
    EXPECT_EQ(result.error, W("Недопустимое имя общего ресурса \"") + name + "\": " + W(reason));
  }
  EXPECT_FALSE(std::filesystem::exists(directory_.File("argument")));
  TemporaryDirectory::WriteBytes(directory_.File("report"), netshare::ShareReport("x", "/x", "", {}));
  EXPECT_EQ(Probe("a/b" + std::string(77, 'x')).outcome, core::ProbeOutcome::kCounted);
}

TEST_F(console_prober_test, a_cancel_ends_a_hung_probe_at_once) {
  WriteScript("exec sleep 30");
  platform::CancelSignal cancel;
  std::thread canceller([&] {
    std::this_thread::sleep_for(200ms);
    cancel.Cancel();
  });
  const auto start = std::chrono::steady_clock::now();
  const core::ProbeResult result = core::ConsoleShareProber().Probe("public", cancel);
  canceller.join();
  EXPECT_EQ(result.outcome, core::ProbeOutcome::kCancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

}  // namespace
