#include "app/user_probe.h"
#include "platform/share_query_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTabWidget>
#include <chrono>
#include <string>

#include "app/form1.h"
#include "app/list_box.h"
#include "platform/netshare/share_report.h"
#include "qt_application.h"
#include "rtl/console_text.h"
#include "temporary_directory.h"

namespace {

using namespace std::chrono_literals;

rtl::Text W(const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); }

const std::string kUsers = "Пользователи";
const std::string kCaching = "Кэширование";

TEST(user_probe_test, the_cut_takes_the_text_between_the_two_words) {
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
      {"only the second word", std::string(28, '-') + "SECTION123456" + kCaching, "SECTION"},
      {"only the first word", kUsers + std::string(40, ' ') + "alice1 bob123 ", ""},
      {"neither word", std::string(60, 'x') + " abcdefg ", ""},
      {"second word right after the first", kUsers + kCaching + std::string(40, 'z'), ""},
      {"second word before the first", kCaching + std::string(40, ' ') + kUsers + std::string(40, 'q'), ""},
      {"second word 35 characters after the first", kUsers + std::string(23, '.') + kCaching, ""},
      {"second word 36 characters after the first", kUsers + std::string(17, ' ') + "A" + std::string(6, '.') + kCaching,
       "A"},
      // Lower case does not match: P = 0 takes the text from position 29 on.
      {"words are case-sensitive", "пользователи" + std::string(17, ' ') + "alice1 \r\n\r\n\r\n" + kCaching,
       " alice1 "},
      {"first occurrences count", kUsers + std::string(17, ' ') + "first1 \r\n\r\n\r\n" + kCaching + " " + kUsers,
       "first1 "},
  };
  for (const auto& c : cases) EXPECT_EQ(CutUsersSection(W(c.report)), W(c.section)) << c.what;
}

TEST(user_probe_test, names_of_six_or_more_characters_followed_by_a_space_count) {
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
    EXPECT_EQ(UserTokens(W(c.section)), expected) << c.what;
  }
}

TEST(user_probe_test, counted_names_accumulate_across_probes) {
  rtl::StringList accumulated{"earlier"};
  EXPECT_EQ(CountUserTokens("alice1 bob123 ", accumulated), 2);
  EXPECT_EQ(CountUserTokens("", accumulated), 0);
  EXPECT_EQ(CountUserTokens("abc alice1 alice1 tail", accumulated), 2);
  EXPECT_EQ(accumulated, (rtl::StringList{"earlier", "alice1", "bob123", "alice1", "alice1"}));
}

TEST(user_probe_test, counting_empties_the_users_view_first) {
  TestApplication();
  TListBox view;
  rtl::StringList accumulated;
  for (const rtl::Text section : {"", "alice1 "}) {
    view.SetEntries({"old1", "old2"});
    CountUserTokens(section, view, accumulated);
    EXPECT_EQ(view.Count(), 0) << section;
  }
  EXPECT_EQ(accumulated, (rtl::StringList{"alice1"}));
}

TEST(user_probe_test, the_report_of_netshare_cuts_to_exactly_its_users_section) {
  struct Case {
    std::vector<netshare::Connection> connections;
    std::string section;
  };
  const Case cases[] = {
      {{}, ""},
      {{{"bob", "127.0.0.1"}}, "bob@127.0.0.1 "},
      {{{"alice", "10.0.0.2"}, {"alice", "10.0.0.3"}, {"Иванов", "host"}},
       "alice@10.0.0.2 alice@10.0.0.3 Иванов@host "},
  };
  for (const auto& c : cases) {
    const std::string report = netshare::ShareReport("Отчеты", "/srv/Отчеты", "Отчёты отдела", c.connections);
    EXPECT_EQ(CutUsersSection(rtl::ConvertConsoleText(report)), W(c.section)) << c.section;
    EXPECT_EQ(report.find('\n'), report.find("\r\n") + 1);
  }
}

// A stand-in for netshare: records its argument and prints a prepared report.
class share_query_test : public ::testing::Test {
 protected:
  void SetUp() override {
    script_ = directory_.File("query.sh");
    TemporaryDirectory::WriteBytes(script_, "#!/bin/sh\nprintf '%s' \"$1\" > '" + directory_.File("argument") +
                                                "'\nexec cat '" + directory_.File("report") + "'\n");
    chmod(script_.c_str(), 0755);
    platform::SetShareQueryProgram(script_);
  }
  void TearDown() override { platform::SetShareQueryProgram(""); }
  void PrepareReport(const std::vector<netshare::Connection>& connections) {
    TemporaryDirectory::WriteBytes(directory_.File("report"), netshare::ShareReport("x", "/x", "", connections));
  }
  TemporaryDirectory directory_;
  std::string script_;
};

TEST_F(share_query_test, the_probe_runs_the_program_for_the_share_and_cuts_its_report) {
  PrepareReport({{"alice", "10.0.0.2"}, {"bob", "10.0.0.3"}});
  const rtl::Text name = W("Отчеты; rm -rf $(x) & \"y\"");
  EXPECT_EQ(QueryShareUsers(name), "alice@10.0.0.2 bob@10.0.0.3 ");
  // The name reaches the program unchanged, as one argument, in UTF-8.
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("argument")), "Отчеты; rm -rf $(x) & \"y\"");
}

TEST_F(share_query_test, the_command_names_netshare_and_the_share) {
  const auto command = platform::ShareQueryCommand(W("team docs"));
  EXPECT_EQ(command.command_line, "netshare team docs");
  EXPECT_EQ(command.arguments, (std::vector<std::string>{script_, "team docs"}));
  platform::SetShareQueryProgram("");
  EXPECT_TRUE(platform::ShareQueryProgram().ends_with("/netshare"));
}

TEST_F(share_query_test, a_program_that_cannot_start_raises_the_start_error) {
  platform::SetShareQueryProgram(directory_.File("missing"));
  try {
    QueryShareUsers(W("Отчеты"));
    FAIL() << "no error";
  } catch (const platform::ConsoleCommandError& error) {
    EXPECT_EQ(error.what(), W("Ошибка выполнения или компиляции: \n\rnetshare Отчеты"));
  }
}

TEST_F(share_query_test, a_program_that_hangs_fails_after_the_time_limit) {
  TemporaryDirectory::WriteBytes(script_, "#!/bin/sh\nexec sleep 30\n");
  EXPECT_THROW(QueryShareUsers("public", 1s), platform::ConsoleCommandError);
}

class users_view_test : public share_query_test {
 protected:
  bool application_ready_ = (TestApplication(), true);  // before any widget
  TForm1 form_;
};

TEST_F(users_view_test, two_probes_then_the_users_command_lists_all_names_in_order) {
  // Two polling probes gather names first.
  CountUserTokens("first1 first2 ", *form_.ListBox3(), form_.AccumulatedUsers);
  CountUserTokens("second ", *form_.ListBox3(), form_.AccumulatedUsers);
  PrepareReport({{"alice", "10.0.0.2"}});
  form_.ListBox2()->SetEntries({"public", "team docs"});
  form_.ListBox2()->SetItemIndex(1);
  form_.N5Click();
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 1);
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("argument")), "team docs");
  EXPECT_EQ(form_.ListBox3()->Entries(), (rtl::StringList{"first1", "first2", "second", "alice@10.0.0.2"}));
  EXPECT_TRUE(form_.AccumulatedUsers.Empty());
  // Right after, only the new probe's names.
  form_.N5Click();
  EXPECT_EQ(form_.ListBox3()->Entries(), (rtl::StringList{"alice@10.0.0.2"}));
}

TEST_F(users_view_test, without_a_selection_the_view_is_emptied_and_the_page_shown_first) {
  form_.ListBox2()->SetEntries({"public"});
  form_.ListBox3()->SetEntries({"stale1"});
  form_.AccumulatedUsers.Add("kept11");
  try {
    form_.N5Click();
    FAIL() << "no error";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
  }
  EXPECT_EQ(form_.ListBox3()->Count(), 0);
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 1);
  EXPECT_EQ(form_.AccumulatedUsers, (rtl::StringList{"kept11"}));
}

TEST_F(users_view_test, a_start_error_leaves_the_users_view_empty) {
  platform::SetShareQueryProgram(directory_.File("missing"));
  form_.ListBox2()->SetEntries({"public"});
  form_.ListBox2()->SetItemIndex(0);
  form_.ListBox3()->SetEntries({"stale1"});
  EXPECT_THROW(form_.N5Click(), platform::ConsoleCommandError);
  EXPECT_EQ(form_.ListBox3()->Count(), 0);
}

}  // namespace
