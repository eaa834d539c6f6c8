// The polling run driven through the window's handlers: Button1, Timer1, closing, N2 and the
// command-line table file. The probe runs a script that prints a prepared report per share.
#include "app/polling.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/table_file.h"
#include "app/window_timer.h"
#include "core/connection_table.h"
#include "platform/netshare/share_report.h"
#include "platform/share_query_command.h"
#include "qt_application.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"
#include "tests/support/special_files.h"
#include "tests/support/temporary_directory.h"

namespace {

rtl::Text W(const std::string& utf8) { return rtl::Windows1251FromUtf8(utf8); }
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

const rtl::Text kTime = W("Время");

class PollingTest : public testing::Test {
 protected:
  void SetUp() override {
    // Each probe prints the report prepared for its share (nothing for an unknown one); the
    // share "vanish" also deletes the script, so the probe after it cannot start.
    script_ = directory_.File("query.sh");
    TemporaryDirectory::WriteBytes(script_, "#!/bin/sh\n[ \"$1\" = vanish ] && rm -f \"$0\"\ncat '" +
                                                directory_.File("report_") + "'\"$1\" 2>/dev/null\nexit 0\n");
    chmod(script_.c_str(), 0755);
    platform::SetShareQueryProgram(script_);
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0));
    form_.ProgramDirectory = directory_.Path().string();
  }

  void TearDown() override {
    platform::SetShareQueryProgram("");
    rtl::SetClockForTesting({});
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  }

  void SetClock(rtl::DateTime value) {
    rtl::SetClockForTesting([value] { return value; });
  }

  void Users(const std::string& share, int count) {
    std::vector<netshare::Connection> connections;
    for (int i = 0; i < count; ++i) connections.push_back({"user" + std::to_string(i), "host"});
    TemporaryDirectory::WriteBytes(directory_.File("report_" + share), netshare::ShareReport(share, "/s", "", connections));
  }

  std::vector<rtl::Text> Columns() const {
    std::vector<rtl::Text> columns;
    const core::ConnectionTable& table = form_.Table();
    for (int i = 0; i < table.ColumnCount(); ++i) columns.push_back(table.Column(i));
    return columns;
  }

  const core::ConnectionTable& Table() const { return form_.Table(); }

  // One Timer1 tick as the window runs it: the probes go to the worker thread and their
  // results come back through the event loop.
  void Tick() {
    form_.Run(&TForm1::Timer1Timer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form_.Polling().Run().Probing(); }, 20000));
    QCoreApplication::processEvents();  // boxes the tick left for the loop
  }

  std::vector<QString> BoxTexts() const {
    std::vector<QString> texts;
    for (const auto& box : boxes_.Boxes()) texts.push_back(box.text);
    return texts;
  }

  QApplication& application_ = TestApplication();  // before any widget
  TemporaryDirectory directory_;
  std::string script_;
  MessageBoxRecorder boxes_;
  TForm1 form_;
};

TEST_F(PollingTest, StartBuildsColumnsKeepsRowsAndArmsTheTimer) {
  form_.Table().AddColumn("old");
  form_.Table().AddRow("earlier row");
  form_.ListBox2()->SetEntries({"docs", "pub"});
  form_.PageControl1()->setCurrentIndex(2);
  form_.Run(&TForm1::Button1Click);
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{kTime, "docs", "pub"}));
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 0);
  EXPECT_TRUE(form_.Timer1()->Enabled());
  EXPECT_EQ(form_.Timer1()->Interval(), 1000u);  // the first tick one second after the start
  EXPECT_EQ(form_.Polling().Run().PollIntervalMs(), 1800000);
  EXPECT_EQ(form_.Button1()->text(), Q("Стоп"));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(PollingTest, EveryColumnButTheLastFitsItsContents) {
  Users("docs", 3);
  Users("pub", 0);
  form_.ListBox2()->SetEntries({"a_rather_long_share_name", "docs", "pub"});
  form_.Button1Click();
  Tick();
  QHeaderView* header = form_.ListView1()->header();
  const QFontMetrics metrics(form_.ListView1()->font());
  ASSERT_EQ(header->count(), 4);
  EXPECT_GT(header->sectionSize(0), metrics.horizontalAdvance(Q("08.12.2026  9:05:07")));
  EXPECT_GT(header->sectionSize(1), metrics.horizontalAdvance(Q("a_rather_long_share_name")));
  EXPECT_EQ(header->sectionSize(3), 50);
  // A new run with fewer shares: the old last column is gone, the new last keeps 50.
  form_.Button1Click();
  form_.ListBox2()->SetEntries({"docs", "pub"});
  form_.Button1Click();
  ASSERT_EQ(header->count(), 3);
  EXPECT_EQ(header->sectionSize(2), 50);
  EXPECT_GT(header->sectionSize(0), metrics.horizontalAdvance(Q("08.12.2026  9:05:07")));
}

TEST_F(PollingTest, InvalidIntervalLeavesTheRunIdleWithRebuiltColumns) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Edit1()->setText(Q("полчаса"));
  form_.Run(&TForm1::Button1Click);
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Q("'полчаса' is not a valid integer value.")});
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{kTime, "docs"}));
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(form_.Button1()->text(), Q("Пуск"));
}

TEST_F(PollingTest, TickAddsOneCaptionedRowOfCounts) {
  Users("docs", 3);
  Users("pub", 0);
  Users("home", 12);
  form_.ListBox2()->SetEntries({"docs", "pub", "home"});
  form_.Button1Click();
  Tick();
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(19, 35, 0, 0));
  Tick();
  ASSERT_EQ(Table().RowCount(), 2);
  EXPECT_EQ(Table().RowAt(0).caption, "08.12.2026  9:05:07");
  EXPECT_EQ(Table().RowAt(0).values, (std::vector<rtl::Text>{"3", "0", "12"}));
  EXPECT_EQ(Table().RowAt(1).caption, "08.12.2026  19:35:00");
  EXPECT_EQ(form_.Timer1()->Interval(), 1800000u);
}

TEST_F(PollingTest, EntryRemovedDuringTheRunShortensLaterRows) {
  Users("docs", 1);
  Users("pub", 2);
  form_.ListBox2()->SetEntries({"docs", "pub"});
  form_.Button1Click();
  Tick();
  form_.ListBox2()->DeleteEntry(0);
  Tick();
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{kTime, "docs", "pub"}));
  EXPECT_EQ(Table().RowAt(0).values, (std::vector<rtl::Text>{"1", "2"}));
  EXPECT_EQ(Table().RowAt(1).values, (std::vector<rtl::Text>{"2"}));
}

TEST_F(PollingTest, EmptyWatchListAddsNoRow) {
  form_.Button1Click();
  Tick();
  EXPECT_EQ(Table().RowCount(), 0);
}

TEST_F(PollingTest, ProbeThatCannotStartEndsTheTickWithTheValuesSoFar) {
  Users("docs", 2);
  form_.ListBox2()->SetEntries({"docs", "vanish", "pub", "home"});
  form_.Button1Click();
  Tick();
  ASSERT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(Table().RowAt(0).values, (std::vector<rtl::Text>{"2", "0"}));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kError);
  EXPECT_TRUE(boxes_.Boxes()[0].text.contains(Q("netshare pub"))) << boxes_.Boxes()[0].text.toStdString();
  EXPECT_TRUE(form_.Timer1()->Enabled());
  // A failure at the first share leaves no row.
  Tick();
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(boxes_.Boxes().size(), 2u);
}

TEST_F(PollingTest, StopWritesTheTableFileOfTheExampleName) {
  Users("docs", 3);
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  form_.Run(&TForm1::Button1Click);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(form_.Button1()->text(), Q("Пуск"));
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_9.05.07.txt")),
            kTime + ",docs\r\n08.12.2026  9:05:07,3\r\n");
  EXPECT_EQ(Table().RowCount(), 1);
}

TEST_F(PollingTest, StopBeforeTheFirstTickWritesTheTableWithoutNewRows) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  form_.Button1Click();
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_9.05.07.txt")), kTime + ",docs\r\n");
}

// A regional date with "/" named a file in directories that do not exist; the run was lost.
TEST_F(PollingTest, SlashDateFormatStillNamesAFileAndCaptionsKeepTheRegionalText) {
  rtl::RegionalSettings us = rtl::RussianRegionalSettings();
  us.short_date_format = "M/d/yyyy";
  us.date_separator = '/';
  us.long_time_format = rtl::BuildLongTimeFormat(false, true, false);
  rtl::SetRegionalSettings(us);
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(21, 5, 7, 0));
  Users("docs", 1);
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  form_.Run(&TForm1::Button1Click);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_12.8.2026_9.05.07 PM.txt")),
            kTime + ",docs\r\n12/8/2026  \"9:05:07 PM\",1\r\n");
}

TEST_F(PollingTest, FailedSaveAtStopShowsTheErrorAndKeepsTheTable) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  form_.ProgramDirectory = directory_.File("gone");
  form_.Run(&TForm1::Button1Click);
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Q("File not found.")});
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{kTime, "docs"}));
  // Once there is room again, "Сохранить таблицу" writes the file the stop could not.
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 0, 0, 0));
  std::filesystem::create_directory(directory_.File("gone"));
  form_.Run(&TForm1::N6Click);
  EXPECT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("gone/list_08.12.2026_9.05.07.txt")),
            kTime + ",docs\r\n08.12.2026  9:05:07,0\r\n");
  // With nothing left unsaved, closing closes.
  EXPECT_TRUE(form_.close());
}

TEST_F(PollingTest, SaveTableWritesUnderTheNameAStopWouldUseNow) {
  Users("docs", 2);
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 0, 0, 0));
  form_.Run(&TForm1::N6Click);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_10.00.00.txt")),
            kTime + ",docs\r\n08.12.2026  9:05:07,2\r\n");
  EXPECT_TRUE(form_.Timer1()->Enabled());  // the run goes on
}

// Without the rights to see the connections every probe records 0; the first of a run says
// why, once, so that a column of zeros does not pass for an empty server.
TEST_F(PollingTest, AccessDeniedReportsShowTheNoticeOncePerRun) {
  for (const char* share : {"docs", "pub"}) {
    TemporaryDirectory::WriteBytes(directory_.File(std::string("report_") + share), netshare::AccessDeniedReport());
  }
  form_.ListBox2()->SetEntries({"docs", "pub"});
  form_.Button1Click();
  Tick();
  Tick();
  EXPECT_EQ(Table().RowAt(1).values, (std::vector<rtl::Text>{"0", "0"}));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].kind, MessageBoxRecorder::Kind::kNotice);
  EXPECT_EQ(boxes_.Boxes()[0].text, QString::fromUtf8(PollingShell::kAccessDeniedNotice));
  form_.Button1Click();
  form_.Button1Click();
  Tick();
  EXPECT_EQ(boxes_.Boxes().size(), 2u);  // a new run says it again
}

// A run lost on a full disk used to end without a word: now the window stays open with the
// error shown, so the user can free space; closing again gives the table up.
TEST_F(PollingTest, ClosingOnAFullDiskShowsTheErrorAndKeepsTheWindowOnce) {
  const special_files::SmallTmpfs disk(directory_.File("disk"));
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  Users("docs", 1);
  form_.ProgramDirectory = directory_.File("disk");
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  ASSERT_TRUE(disk.Fill());
  EXPECT_FALSE(form_.close());
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Q("Disk full.")});
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_FALSE(std::filesystem::exists(disk.File("list_08.12.2026_9.05.07.txt")));
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_TRUE(form_.close());
  // No second try of the table; the watch list beside it cannot be written either.
  EXPECT_EQ(BoxTexts(), (std::vector<QString>{Q("Disk full."), Q("Ошибка сохранения списка")}));
}

// A stop that could not write keeps its table unsaved: closing tries the same file again.
TEST_F(PollingTest, ClosingAfterAFailedStopTriesTheTableAgain) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  form_.ProgramDirectory = directory_.File("gone");
  form_.Run(&TForm1::Button1Click);
  std::filesystem::create_directory(directory_.File("gone"));
  EXPECT_TRUE(form_.close());
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Q("File not found.")});
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("gone/list_08.12.2026_9.05.07.txt")), kTime + ",docs\r\n");
}

// Closing mid-run ended the program without the table file, losing every row of the run.
TEST_F(PollingTest, ClosingWhileRunningWritesTheTableAsAStopWould) {
  Users("docs", 4);
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  Tick();
  form_.close();
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_9.05.07.txt")),
            kTime + ",docs\r\n08.12.2026  9:05:07,4\r\n");
}

TEST_F(PollingTest, ClosingWhileIdleWritesNoTable) {
  form_.close();
  EXPECT_FALSE(std::filesystem::exists(directory_.File("list_08.12.2026_9.05.07.txt")));
}

// Real ticks: the first comes after the interval left from before, then Edit1's takes over.
TEST_F(PollingTest, ZeroMinutesGiveOneTickAndNoMore) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Edit1()->setText("0");
  form_.Timer1()->SetInterval(10);
  form_.Button1Click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 1; }, 2000));
  QTest::qWait(60);
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(form_.Timer1()->Interval(), 0u);
  EXPECT_TRUE(form_.Timer1()->Enabled());
  // Only a tick changes the interval, so a later run never ticks whatever Edit1 holds.
  form_.Button1Click();
  form_.Edit1()->setText("1");
  form_.Button1Click();
  QTest::qWait(60);
  EXPECT_EQ(Table().RowCount(), 1);
}

TEST_F(PollingTest, FirstTickTakesOverTheIntervalAndRestartsThePeriod) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Edit1()->setText("1");
  form_.Timer1()->SetInterval(10);
  form_.Button1Click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 1; }, 2000));
  EXPECT_EQ(form_.Timer1()->Interval(), 60000u);
  EXPECT_GT(form_.Timer1()->PendingMs(), 59000u);
}

TEST_F(PollingTest, WrappedNegativeIntervalIsTakenAsLongUnsigned) {
  form_.ListBox2()->SetEntries({"docs"});
  form_.Edit1()->setText("35792");
  form_.Timer1()->SetInterval(10);
  form_.Button1Click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 1; }, 2000));
  EXPECT_EQ(form_.Timer1()->Interval(), 2147520000u);
  EXPECT_GT(form_.Timer1()->PendingMs(), 2147510000u);
  QTest::qWait(30);
  EXPECT_EQ(Table().RowCount(), 1);
}

TEST_F(PollingTest, LoadFileChosenInTheDialog) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  form_.SetOpenDialogForTesting([&] { return std::optional<QString>(QString::fromStdString(directory_.File("t.txt"))); });
  form_.Run(&TForm1::N2Click);
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{"T", "docs"}));
  ASSERT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(Table().RowAt(0).caption, "d t");
}

TEST_F(PollingTest, CancelledOrVanishedDialogChoiceLoadsNothing) {
  form_.SetOpenDialogForTesting([] { return std::optional<QString>(); });
  form_.Run(&TForm1::N2Click);
  form_.SetOpenDialogForTesting([&] { return std::optional<QString>(QString::fromStdString(directory_.File("no.txt"))); });
  form_.Run(&TForm1::N2Click);
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(Table().ColumnCount(), 0);
}

TEST_F(PollingTest, ShortLineInTheChosenFileIsReported) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T\r\nd t,5\r\nalone\r\n");
  form_.SetOpenDialogForTesting([&] { return std::optional<QString>(QString::fromStdString(directory_.File("t.txt"))); });
  form_.Run(&TForm1::N2Click);
  EXPECT_EQ(BoxTexts(), std::vector<QString>{Q("List index out of bounds (1)")});
  EXPECT_EQ(Table().RowCount(), 2);
}

TEST_F(PollingTest, TableFileNamedOnTheCommandLineLoadsOnceTheLoopRuns) {
  TemporaryDirectory::WriteBytes(directory_.File("t.txt"), "T,docs\r\nd t,5\r\n");
  ScheduleTableFileArgument(form_, {"sharemon", QString::fromStdString(directory_.File("t.txt"))});
  EXPECT_EQ(Table().ColumnCount(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 1; }, 2000));
  EXPECT_EQ(Columns(), (std::vector<rtl::Text>{"T", "docs"}));
  ScheduleTableFileArgument(form_, {"sharemon"});
  QTest::qWait(10);
  EXPECT_EQ(Table().RowCount(), 1);
}


// A probe that blocks until the test lets it go, whatever else happens meanwhile.
class BlockingProber : public core::ShareProber {
 public:
  // The worker thread may still be on its way out of Probe.
  ~BlockingProber() override {
    Release();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return inside_ == 0; });
  }
  core::ProbeResult Probe(const rtl::Text&, const platform::CancelSignal&) override {
    std::unique_lock lock(mutex_);
    ++entered_;
    ++inside_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return released_; });
    --inside_;
    changed_.notify_all();
    core::ProbeResult result;
    result.users = {"late11"};
    result.count = 1;
    return result;
  }
  void WaitUntilEntered(int count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return entered_ >= count; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int entered_ = 0;
  int inside_ = 0;
  bool released_ = false;
};

// The window used to freeze for a whole tick; now Стоп and a page switch are handled while
// the probe still blocks, and the stop writes the table at once.
TEST_F(PollingTest, TheWindowStaysLiveWhileAProbeBlocks) {
  BlockingProber prober;
  form_.Polling().SetProber(&prober);
  form_.ListBox2()->SetEntries({"docs", "pub"});
  form_.Button1Click();
  form_.Timer1Timer();
  prober.WaitUntilEntered(1);
  form_.PageControl1()->setCurrentIndex(2);
  form_.Run(&TForm1::Button1Click);
  EXPECT_EQ(form_.PageControl1()->currentIndex(), 0);
  EXPECT_EQ(form_.Button1()->text(), Q("Пуск"));
  EXPECT_FALSE(form_.Timer1()->Enabled());
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_9.05.07.txt")), kTime + ",docs,pub\r\n");
  prober.Release();
  QTest::qWait(50);
  EXPECT_EQ(Table().RowCount(), 0);  // the late result belongs to a stopped run
  EXPECT_TRUE(boxes_.Boxes().empty());
  form_.Polling().SetProber(nullptr);
}

// A share whose query hangs no longer holds the window for the whole time limit: closing
// ends the query and its children at once and writes what the run has.
TEST_F(PollingTest, ClosingDuringAHungProbeEndsItAndWritesTheTable) {
  Users("docs", 2);
  TemporaryDirectory::WriteBytes(script_, "#!/bin/sh\n[ \"$1\" = hang ] && exec sleep 60\ncat '" +
                                              directory_.File("report_") + "'\"$1\"\n");
  form_.ListBox2()->SetEntries({"docs", "hang"});
  form_.Button1Click();
  form_.Timer1Timer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 1; }, 10000));
  const auto start = std::chrono::steady_clock::now();
  form_.close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory_.File("list_08.12.2026_9.05.07.txt")),
            kTime + ",docs,hang\r\n08.12.2026  9:05:07,2\r\n");
}

// A tick that falls due while the last one still probes runs once that one ends, not twice.
TEST_F(PollingTest, TicksThatFallDueDuringAProbeGiveOneMoreRow) {
  BlockingProber prober;
  form_.Polling().SetProber(&prober);
  form_.ListBox2()->SetEntries({"docs"});
  form_.Button1Click();
  form_.Timer1Timer();
  prober.WaitUntilEntered(1);
  form_.Timer1Timer();
  form_.Timer1Timer();
  prober.Release();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Table().RowCount() == 2 && !form_.Polling().Run().Probing(); }, 10000));
  QTest::qWait(50);
  EXPECT_EQ(Table().RowCount(), 2);
  form_.Polling().SetProber(nullptr);
}

}  // namespace
