// The users view ("Пользователи"): the probe runs off the GUI thread and its names, with every
// name the polling probes gathered before, come back into ListBox3.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTabWidget>
#include <QTest>
#include <string>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/polling.h"
#include "platform/netshare/share_report.h"
#include "platform/share_query_command.h"
#include "qt_application.h"
#include "tests/support/temporary_directory.h"

namespace {

rtl::Text W(const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); }

// A stand-in for netshare: records its argument and prints a prepared report.
class users_view_test : public ::testing::Test {
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
  // N5 as the menu runs it; its probe's answer arrives through the event loop.
  void ShowUsers(const std::function<bool()>& arrived) {
    form_.Run(&TForm1::N5Click);
    ASSERT_TRUE(QTest::qWaitFor(arrived, 10000));
  }

  TemporaryDirectory directory_;
  std::string script_;
  bool application_ready_ = (TestApplication(), true);  // before any widget
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(users_view_test, two_probes_then_the_users_command_lists_all_names_in_order) {
  form_.AccumulatedUsers.Add({"first1", "first2"});  // what two polling probes gathered
  form_.AccumulatedUsers.Add({"second"});
  PrepareReport({{"alice", "10.0.0.2"}});
  form_.ListBox2()->SetEntries({"public", "team docs"});
  form_.ListBox2()->SetItemIndex(1);
  ShowUsers([&] { return form_.ListBox3()->Count() > 0; });
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 1);
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("argument")), "team docs");
  EXPECT_EQ(form_.ListBox3()->Entries(), (rtl::StringList{"first1", "first2", "second", "alice@10.0.0.2"}));
  EXPECT_EQ(form_.AccumulatedUsers.Count(), 0u);
  // Right after, only the new probe's names.
  form_.ListBox3()->SetEntries({"marker"});
  ShowUsers([&] { return form_.ListBox3()->Count() == 1 && form_.ListBox3()->Entry(0) != "marker"; });
  EXPECT_EQ(form_.ListBox3()->Entries(), (rtl::StringList{"alice@10.0.0.2"}));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(users_view_test, without_a_selection_the_view_is_emptied_and_the_page_shown_first) {
  form_.ListBox2()->SetEntries({"public"});
  form_.ListBox3()->SetEntries({"stale1"});
  form_.AccumulatedUsers.Add({"kept11"});
  try {
    form_.N5Click();
    FAIL() << "no error";
  } catch (const rtl::ListIndexError& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (-1)");
  }
  EXPECT_EQ(form_.ListBox3()->Count(), 0);
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 1);
  EXPECT_EQ(form_.AccumulatedUsers.Take(), (rtl::StringList{"kept11"}));
}

TEST_F(users_view_test, a_start_error_shows_the_error_and_leaves_the_users_view_empty) {
  platform::SetShareQueryProgram(directory_.File("missing"));
  form_.ListBox2()->SetEntries({W("Отчеты")});
  form_.ListBox2()->SetItemIndex(0);
  form_.ListBox3()->SetEntries({"stale1"});
  ShowUsers([&] { return !boxes_.Boxes().empty(); });
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("Ошибка выполнения или компиляции: \n\rnetshare Отчеты."));
  EXPECT_EQ(form_.ListBox3()->Count(), 0);
}

}  // namespace
