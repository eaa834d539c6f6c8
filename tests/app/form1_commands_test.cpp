// The window's wiring: each control event reaches its command in the window logic, and what
// the logic shows comes out in the controls and the message boxes. What the commands do is
// tested with the logic itself (tests/core/window).
#include <gtest/gtest.h>

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "app/choice_combo_box.h"
#include "app/connection_table_model.h"
#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/report_list_view.h"
#include "app/table_file.h"
#include "app/termination.h"
#include "chart/chart.h"
#include "qt_application.h"
#include "tests/core/window/window_standins.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/window_command_events.h"

namespace rtl {
void PrintTo(const StringList& list, std::ostream* out) {
  for (const Text& entry : list) *out << '"' << entry << "\" ";
}
}  // namespace rtl

namespace {

// Every share has one user, named after it.
class OneUserProber : public core::ShareProber {
 public:
  core::ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal&) override {
    core::ProbeResult result;
    result.users = {share + "@host"};
    result.count = 1;
    return result;
  }
};

// `count` sessions and as many open files, as the page reads them.
platform::SessionReading Sessions(int count) {
  platform::SessionReading reading{platform::ServerReadOutcome::kRead, {}, false, ""};
  reading.records.resize(static_cast<std::size_t>(count));
  for (auto& session : reading.records) session.user = "user";
  return reading;
}
platform::OpenFileReading OpenFiles(int count) {
  platform::OpenFileReading reading{platform::ServerReadOutcome::kRead, {}, false, ""};
  reading.records.resize(static_cast<std::size_t>(count));
  for (auto& file : reading.records) file.path = "file";
  return reading;
}

class form1_commands_test : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  form1_commands_test() {
    std::filesystem::create_directory(ProgramFile(""));
    form_.SetExecutableFileName(QString::fromStdString(ProgramFile("sharemon")));
    form_.Logic().SetProber(&prober_);
    form_.Logic().SetServerReader(&reader_);
  }

  // A folder named with letters outside the window code page, as a user's may be.
  std::string ProgramFile(const std::string& name) const { return directory_.File("José Әсел/" + name); }
  // Showing fills ListBox1 with the machine's shares; the tests want their own.
  void Show() {
    form_.show();
    form_.ListBox1()->SetEntries(kShares);
  }
  int TableFiles() const {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ProgramFile("")))
      files += entry.path().filename().string().starts_with("list_");
    return files;
  }
  std::vector<QString> BoxTexts() const {
    std::vector<QString> texts;
    for (const auto& box : boxes_.Boxes()) texts.push_back(box.text);
    return texts;
  }

  const rtl::StringList kShares{"docs", "\xEE\xE1\xF9\xE0\xFF", "print$"};
  TemporaryDirectory directory_;
  OneUserProber prober_;
  window_test::StandInReader reader_;
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(form1_commands_test, showing_loads_the_watch_list_beside_the_program) {
  TemporaryDirectory::WriteBytes(ProgramFile("splist.txt"), "docs\r\n\xEE\xE1\xF9\xE0\xFF\r\n");
  form_.show();
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"docs", "\xEE\xE1\xF9\xE0\xFF"}));
  EXPECT_EQ(form_.Logic().ProgramDirectory(), ProgramFile("").substr(0, ProgramFile("").size() - 1));
}

// Button1, Timer1's real wait, the probe worker's results through the event loop, ListView1.
TEST_F(form1_commands_test, button1_and_timer1_run_a_poll_through_the_window) {
  Show();
  form_.ListBox2()->SetEntries({"a_rather_long_share_name", "docs"});
  form_.PageControl1()->setCurrentIndex(2);
  form_.Button1()->click();
  EXPECT_EQ(form_.Button1()->text(), QStringLiteral("Стоп"));
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 0);
  EXPECT_EQ(form_.Timer1Waits()->interval(), 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_.ListView1Items()->rowCount() == 1; }, 20000));
  EXPECT_EQ(form_.ListView1Items()->data(form_.ListView1Items()->index(0, 2)).toString(), QStringLiteral("1"));
  // Every column but the last fits its contents; the last keeps a new column's 50 pixels.
  QHeaderView* header = form_.ListView1()->header();
  const QFontMetrics metrics(form_.ListView1()->font());
  EXPECT_GT(header->sectionSize(1), metrics.horizontalAdvance(QStringLiteral("a_rather_long_share_name")));
  EXPECT_EQ(header->sectionSize(2), 50);
  form_.Button1()->click();
  EXPECT_EQ(form_.Button1()->text(), QStringLiteral("Пуск"));
  EXPECT_FALSE(form_.Timer1Waits()->isActive());
  EXPECT_EQ(TableFiles(), 1);
  // A new run with fewer shares: the old last column is gone, the new last keeps 50.
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1()->click();
  ASSERT_EQ(header->count(), 2);
  EXPECT_EQ(header->sectionSize(1), 50);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

// Every command the logic knows, each by the native events that run it: a command that no
// control, menu item or timer of the window runs fails here until the window maps it.
TEST_F(form1_commands_test, every_command_runs_from_its_control_event) {
  using core::WindowCommand;
  using window_command_events::Event;
  const auto select = [](TListBox* list, const rtl::StringList& entries, int index) {
    list->SetEntries(entries);
    list->SetItemIndex(index);
  };
  const auto double_click = [](TListBox* list, QPoint at) { QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at); };
  const auto entry_at = [](TListBox* list, int index) { return list->visualItemRect(list->item(index)).center(); };
  const auto watched = [&](const rtl::StringList& entries) { return form_.ListBox2()->Entries() == entries; };
  const auto click_header = [](ReportListView* list, int column) {
    QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {},
                      QPoint(list->header()->sectionViewportPosition(column) + 5, list->header()->height() / 2));
  };
  const auto rows = [&](int sessions, int files) {
    return form_.SessionsList()->model()->rowCount() == sessions && form_.OpenFilesList()->model()->rowCount() == files;
  };
  const auto sorted = [](ReportListView* list) { return list->header()->isSortIndicatorShown(); };
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  form_.SetOpenDialogForTesting([&] { return std::optional<QString>(QString::fromStdString(directory_.File("t.txt"))); });
  const Event events[] = {
      {WindowCommand::kStartStop, "Button1", [&] { form_.Button1()->click(); },
       [&] { return form_.Button1()->text() == QStringLiteral("Стоп"); }},
      {WindowCommand::kTimerWaitEnded, "Timer1's wait passes", [] {},
       [&] { return form_.ListView1Items()->rowCount() == 1; }},
      {WindowCommand::kStartStop, "Button1 again", [&] { form_.Button1()->click(); }, [&] { return TableFiles() == 1; }},
      {WindowCommand::kAddSelectedShare, "a double-click on the users view",
       [&] {
         form_.PageControl1()->setCurrentIndex(1);
         select(form_.ListBox1(), kShares, 2);
         select(form_.ListBox3(), {"user1", "user2"}, 1);
         double_click(form_.ListBox3(), entry_at(form_.ListBox3(), 0));
       },
       [&] { return watched({"docs", "print$"}); }},
      // Empty space of the share list counts too.
      {WindowCommand::kAddSelectedShare, "a double-click on the share list",
       [&] { double_click(form_.ListBox1(), QPoint(50, 200)); }, [&] { return watched({"docs", "print$", "print$"}); }},
      {WindowCommand::kShowHistory, "a click on a watched share",
       [&] { QTest::mouseClick(form_.ListBox2()->viewport(), Qt::LeftButton, {}, entry_at(form_.ListBox2(), 0)); },
       [&] { return form_.PageControl1()->currentIndex() == 2 && form_.Chart1()->Title().Text().at(0) == "docs"; }},
      {WindowCommand::kDeleteSelected, "N3", [&] { form_.N3()->trigger(); }, [&] { return watched({"print$", "print$"}); }},
      {WindowCommand::kShowUsers, "N5",
       [&] {
         select(form_.ListBox2(), {"public", "team"}, 1);
         form_.N5()->trigger();
       },
       // The tick's names first: every name gathered since the last look.
       [&] { return form_.ListBox3()->Entries() == rtl::StringList{"docs@host", "team@host"}; }},
      {WindowCommand::kCopyShareList, "Button2", [&] { form_.Button2()->click(); }, [&] { return watched(kShares); }},
      {WindowCommand::kClearWatchList, "Button3", [&] { form_.Button3()->click(); },
       [&] { return watched({}) && form_.ListView1Items()->columnCount() == 0; }},
      {WindowCommand::kOpenTableFile, "N2", [&] { form_.N2()->trigger(); },
       [&] { return form_.ListView1Items()->columnCount() == 2; }},
      {WindowCommand::kSaveTable, "N6", [&] { form_.N6()->trigger(); }, [&] { return TableFiles() == 2; }},
      {WindowCommand::kPageChanged, "a click on the tab of the sessions and files",
       [&] {
         QTabBar* tabs = form_.PageControl1()->tabBar();
         QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
       },
       [&] { return rows(1, 1); }},
      {WindowCommand::kRefreshServerPage, "the refresh button",
       [&] {
         reader_.sessions = Sessions(2);
         reader_.files = OpenFiles(3);
         form_.RefreshButton()->click();
       },
       [&] { return rows(2, 3); }},
      {WindowCommand::kChooseOpenFilesShare, "a share picked in the share box with the keyboard",
       [&] {
         reader_.files = OpenFiles(4);
         QTest::keyClick(form_.OpenFilesShareBox(), Qt::Key_Down);
       },
       // The reader's list is read once the reading is back.
       [&] { return rows(2, 4) && reader_.shares_asked.back() == "docs"; }},
      {WindowCommand::kSortSessions, "a click on a header of the sessions", [&] { click_header(form_.SessionsList(), 1); },
       [&] { return sorted(form_.SessionsList()); }},
      {WindowCommand::kSortOpenFiles, "a click on a header of the open files",
       [&] { click_header(form_.OpenFilesList(), 0); }, [&] { return sorted(form_.OpenFilesList()); }},
      {WindowCommand::kExit, "N4", [&] { form_.N4()->trigger(); }, [&] { return !form_.isVisible(); }},
  };
  reader_.sessions = Sessions(1);
  reader_.files = OpenFiles(1);
  // The share box lists this configuration's shares.
  TemporaryDirectory::WriteBytes(directory_.File("smb.conf"), "[docs]\n  path = /tmp\n");
  setenv("SHAREMON_SMB_CONF", directory_.File("smb.conf").c_str(), 1);
  Show();
  unsetenv("SHAREMON_SMB_CONF");
  form_.ListBox2()->SetEntries({"docs"});
  window_command_events::FireEach(events, [](const std::function<bool()>& done) { return QTest::qWaitFor(done, 20000); });
  EXPECT_EQ(BoxTexts(), std::vector<QString>{});
}

TEST_F(form1_commands_test, right_click_leaves_the_selection_alone) {
  Show();
  form_.ListBox2()->SetEntries({"a", "b"});
  form_.ListBox2()->SetItemIndex(0);
  QTest::mousePress(form_.ListBox2()->viewport(), Qt::RightButton, {},
                    form_.ListBox2()->visualItemRect(form_.ListBox2()->item(1)).center());
  EXPECT_EQ(form_.ListBox2()->ItemIndex(), 0);
}

TEST_F(form1_commands_test, a_table_file_named_on_the_command_line_loads_once_the_loop_runs) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  ScheduleTableFileArgument(form_, {"sharemon", QString::fromStdString(directory_.File("t.txt"))});
  ScheduleTableFileArgument(form_, {"sharemon"});
  EXPECT_EQ(form_.Table().ColumnCount(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_.Table().RowCount() == 1; }, 2000));
  EXPECT_EQ(form_.Table().ColumnCount(), 2);
}

TEST_F(form1_commands_test, quitting_the_application_closes_the_window_and_saves) {
  CloseWindowOnTermination(&form_);
  form_.show();
  form_.ListBox2()->SetEntries({"docs"});
  QTimer::singleShot(0, &application_, &QCoreApplication::quit);
  application_.exec();
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(ProgramFile("splist.txt")), "docs\r\n");
}

}  // namespace
