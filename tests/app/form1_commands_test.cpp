// The window's wiring: each control event reaches its command in the window logic, and what
// the logic shows comes out in the controls and the message boxes. What the commands do is
// tested with the logic itself (tests/core/window).
#include <gtest/gtest.h>

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/connection_table_model.h"
#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/table_file.h"
#include "app/termination.h"
#include "qt_application.h"
#include "tests/support/temporary_directory.h"

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

class Form1Commands : public testing::Test {
 protected:
  QApplication& application_ = TestApplication();  // before any widget
  Form1Commands() {
    std::filesystem::create_directory(ProgramFile(""));
    form_.SetExecutableFileName(QString::fromStdString(ProgramFile("sharemon")));
    form_.Logic().SetProber(&prober_);
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
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(Form1Commands, showing_loads_the_watch_list_beside_the_program) {
  TemporaryDirectory::WriteBytes(ProgramFile("splist.txt"), "docs\r\n\xEE\xE1\xF9\xE0\xFF\r\n");
  form_.show();
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"docs", "\xEE\xE1\xF9\xE0\xFF"}));
  EXPECT_EQ(form_.Logic().ProgramDirectory(), ProgramFile("").substr(0, ProgramFile("").size() - 1));
}

// Button1, Timer1's real wait, the probe worker's results through the event loop, ListView1.
TEST_F(Form1Commands, button1_and_timer1_run_a_poll_through_the_window) {
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

TEST_F(Form1Commands, double_clicks_on_the_share_list_and_the_users_view_add_the_shares_selection) {
  Show();
  form_.PageControl1()->setCurrentIndex(1);
  form_.ListBox3()->SetEntries({"user1", "user2"});
  form_.ListBox3()->SetItemIndex(1);
  form_.ListBox1()->SetItemIndex(2);
  QTest::mouseDClick(form_.ListBox3()->viewport(), Qt::LeftButton, {},
                     form_.ListBox3()->visualItemRect(form_.ListBox3()->item(0)).center());
  // Empty space of the share list counts too.
  QTest::mouseDClick(form_.ListBox1()->viewport(), Qt::LeftButton, {}, QPoint(50, 200));
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"print$", "print$"}));
}

TEST_F(Form1Commands, an_error_of_a_command_is_shown_and_the_window_goes_on) {
  form_.ListBox2()->SetEntries({"kept"});
  form_.Run(&TForm1::ListBox1DblClick);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_EQ(boxes_.Boxes()[0].text, QStringLiteral("List index out of bounds (-1)"));
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"kept"}));
}

TEST_F(Form1Commands, button2_copies_the_share_list) {
  form_.ListBox1()->SetEntries(kShares);
  form_.ListBox2()->SetEntries({"manual"});
  form_.Button2()->click();
  EXPECT_EQ(form_.ListBox2()->Entries(), kShares);
}

TEST_F(Form1Commands, button3_clears_the_columns_and_the_watch_list) {
  form_.Table().AddColumns({"\xC2\xF0\xE5\xEC\xFF", "docs"});
  form_.Table().AppendValue(form_.Table().AddRow("08.12.2026  9:05:07"), "2");
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button3()->click();
  EXPECT_EQ(form_.ListView1Items()->columnCount(), 0);
  EXPECT_EQ(form_.ListView1Items()->rowCount(), 1);
  EXPECT_EQ(form_.ListBox2()->Count(), 0);
}

TEST_F(Form1Commands, delete_removes_the_selected_entry) {
  form_.ListBox2()->SetEntries({"a", "b", "c"});
  form_.ListBox2()->SetItemIndex(1);
  form_.N3()->trigger();
  EXPECT_EQ(form_.ListBox2()->Entries(), (rtl::StringList{"a", "c"}));
  EXPECT_EQ(form_.ListBox2()->ItemIndex(), -1);
}

TEST_F(Form1Commands, right_click_leaves_the_selection_alone) {
  Show();
  form_.ListBox2()->SetEntries({"a", "b"});
  form_.ListBox2()->SetItemIndex(0);
  QTest::mousePress(form_.ListBox2()->viewport(), Qt::RightButton, {},
                    form_.ListBox2()->visualItemRect(form_.ListBox2()->item(1)).center());
  EXPECT_EQ(form_.ListBox2()->ItemIndex(), 0);
}

TEST_F(Form1Commands, users_shows_the_page_and_the_probed_names) {
  form_.ListBox2()->SetEntries({"public", "team"});
  form_.ListBox2()->SetItemIndex(1);
  form_.N5()->trigger();
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_.ListBox3()->Count() > 0; }, 20000));
  EXPECT_EQ(form_.ListBox3()->Entries(), (rtl::StringList{"team@host"}));
}

TEST_F(Form1Commands, load_file_loads_the_file_chosen_in_the_dialog) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  form_.SetOpenDialogForTesting([&] { return std::optional<QString>(QString::fromStdString(directory_.File("t.txt"))); });
  form_.N2()->trigger();
  EXPECT_EQ(form_.ListView1Items()->columnCount(), 2);
  EXPECT_EQ(form_.ListView1Items()->rowCount(), 1);
}

TEST_F(Form1Commands, a_table_file_named_on_the_command_line_loads_once_the_loop_runs) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  ScheduleTableFileArgument(form_, {"sharemon", QString::fromStdString(directory_.File("t.txt"))});
  ScheduleTableFileArgument(form_, {"sharemon"});
  EXPECT_EQ(form_.Table().ColumnCount(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_.Table().RowCount() == 1; }, 2000));
  EXPECT_EQ(form_.Table().ColumnCount(), 2);
}

TEST_F(Form1Commands, save_table_writes_a_table_file) {
  Show();
  form_.N6()->trigger();
  EXPECT_EQ(TableFiles(), 1);
}

TEST_F(Form1Commands, exit_closes_the_window_and_a_failed_save_shows_the_notice) {
  Show();
  std::filesystem::create_directory(ProgramFile("splist.txt"));  // cannot be replaced by a file
  form_.N4()->trigger();
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(BoxTexts(), std::vector<QString>{QStringLiteral("Ошибка сохранения списка")});
}

// A run whose table cannot be written keeps the window open once, with the error shown.
TEST_F(Form1Commands, closing_with_a_table_that_cannot_be_written_keeps_the_window_once) {
  Show();
  form_.Button1()->click();
  std::filesystem::remove_all(ProgramFile(""));
  EXPECT_FALSE(form_.close());
  EXPECT_TRUE(form_.isVisible());
  EXPECT_EQ(BoxTexts(), std::vector<QString>{QStringLiteral("File not found.")});
  EXPECT_TRUE(form_.close());
}

TEST_F(Form1Commands, quitting_the_application_closes_the_window_and_saves) {
  CloseWindowOnTermination(&form_);
  form_.show();
  form_.ListBox2()->SetEntries({"docs"});
  QTimer::singleShot(0, &application_, &QCoreApplication::quit);
  application_.exec();
  EXPECT_FALSE(form_.isVisible());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(ProgramFile("splist.txt")), "docs\r\n");
}

}  // namespace
