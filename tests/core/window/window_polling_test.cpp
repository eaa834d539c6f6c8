// The polling run in the window logic: start and stop, ticks through the timer's waits and the
// probe worker, the table file at stop, "Сохранить таблицу" and closing mid-run, and the users
// view; with a stand-in view, event loop and prober.
#include <gtest/gtest.h>

#include "platform/user_advice.h"
#include "rtl/errors.h"
#include "window_standins.h"

namespace {

using core::ProbeOutcome;
using window_test::StandInProber;
using Boxes = std::vector<std::string>;
using Texts = std::vector<rtl::Text>;

const rtl::Text kTime = W("Время");
// The runtime's text for a file in a directory that is gone: Windows says the path (3), Linux
// the file (2) is not found.
#ifdef _WIN32
const std::string kDirectoryGone = "Invalid filename";
#else
const std::string kDirectoryGone = "File not found";
#endif

class window_polling_test : public window_test::WindowTest {
 protected:
  window_polling_test() { ShowIn(); }

  void Start(const rtl::StringList& watch_list) {
    view_.watch_list.entries = watch_list;
    logic_.StartStop();
  }
  void Users(const rtl::Text& share, int count) {
    Texts names;
    for (int i = 0; i < count; ++i) names.push_back("user" + std::to_string(i) + "@host");
    prober_.results[share] = StandInProber::Users(names);
  }
  // The table file a stop at kMorning writes, in the directory of `program`.
  std::string MorningFile(const std::string& program = "program") const {
    return ReadFile(program + "/list_08.12.2026_9.05.07.txt");
  }
};

TEST_F(window_polling_test, start_builds_the_columns_keeps_the_rows_and_waits_one_second) {
  logic_.Table().AddColumn("old");
  logic_.Table().AddRow("earlier row");
  view_.page = core::WindowPage::kChart;
  Start({"docs", "pub"});
  EXPECT_EQ(Table().Columns(), (Texts{kTime, "docs", "pub"}));
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(view_.page, core::WindowPage::kTable);
  EXPECT_EQ(waits_.running, 1000u);
  EXPECT_EQ(logic_.Run().PollIntervalMs(), 1800000);
  EXPECT_TRUE(view_.running);
}

TEST_F(window_polling_test, an_interval_that_is_no_number_leaves_the_run_idle_with_rebuilt_columns) {
  view_.interval = W("полчаса");
  EXPECT_THROW(Start({"docs"}), rtl::ConvertError);
  EXPECT_EQ(Table().Columns(), (Texts{kTime, "docs"}));
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  EXPECT_FALSE(view_.running);
}

TEST_F(window_polling_test, ticks_add_captioned_rows_and_a_removed_entry_shortens_later_ones) {
  Users("docs", 3);
  Users("home", 12);
  Start({"docs", "pub", "home"});
  Tick();
  EXPECT_EQ(waits_.running, 1800000u);
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(19, 35, 0, 0));
  view_.watch_list.entries.Delete(0);
  Tick();
  ASSERT_EQ(Table().RowCount(), 2);
  EXPECT_EQ(Table().RowAt(0), (core::ConnectionTable::Row{"08.12.2026  9:05:07", {"3", "0", "12"}}));
  EXPECT_EQ(Table().RowAt(1), (core::ConnectionTable::Row{"08.12.2026  19:35:00", {"0", "12"}}));
  EXPECT_EQ(Table().Columns(), (Texts{kTime, "docs", "pub", "home"}));
}

TEST_F(window_polling_test, an_empty_watch_list_adds_no_row) {
  Start({});
  Tick();
  EXPECT_EQ(Table().RowCount(), 0);
}

TEST_F(window_polling_test, a_probe_without_a_report_ends_the_tick_with_the_values_so_far) {
  Users("docs", 2);
  prober_.results["pub"] = StandInProber::Outcome(ProbeOutcome::kNotStarted, "cannot start pub");
  Start({"docs", "pub", "home"});
  Tick();
  ASSERT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(Table().RowAt(0).values, Texts{"2"});
  EXPECT_EQ(view_.boxes, Boxes{"error: cannot start pub"});
  EXPECT_TRUE(logic_.PollTimer().Enabled());
  // A failure at the first share leaves no row.
  view_.watch_list.entries = {"pub"};
  Tick();
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_EQ(view_.boxes.size(), 2u);
}

TEST_F(window_polling_test, stop_writes_the_table_file_of_the_example_name) {
  Users("docs", 3);
  Start({"docs"});
  Tick();
  logic_.StartStop();
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  EXPECT_FALSE(waits_.running);
  EXPECT_FALSE(view_.running);
  EXPECT_EQ(MorningFile(), kTime + ",docs\r\n08.12.2026  9:05:07,3\r\n");
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(window_polling_test, stop_before_the_first_tick_writes_the_table_without_new_rows) {
  Start({"docs"});
  logic_.StartStop();
  EXPECT_EQ(MorningFile(), kTime + ",docs\r\n");
}

// A regional date with "/" named a file in directories that do not exist; the run was lost.
TEST_F(window_polling_test, a_slash_date_format_still_names_a_file_and_captions_keep_the_regional_text) {
  rtl::RegionalSettings us = rtl::RussianRegionalSettings();
  us.short_date_format = "M/d/yyyy";
  us.date_separator = '/';
  us.long_time_format = rtl::BuildLongTimeFormat(false, true, false);
  rtl::SetRegionalSettings(us);
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(21, 5, 7, 0));
  Users("docs", 1);
  Start({"docs"});
  Tick();
  logic_.StartStop();
  EXPECT_EQ(ReadFile("program/list_12.8.2026_9.05.07 PM.txt"), kTime + ",docs\r\n12/8/2026  \"9:05:07 PM\",1\r\n");
}

TEST_F(window_polling_test, a_failed_write_at_stop_keeps_the_table_for_save_table) {
  ShowIn("gone");
  Start({"docs"});
  Tick();
  std::filesystem::remove_all(File("gone"));
  try {
    logic_.StartStop();
    FAIL() << "no error";
  } catch (const rtl::InOutError& error) {
    EXPECT_EQ(error.what(), kDirectoryGone);
  }
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  // Once there is room again, "Сохранить таблицу" writes the file the stop could not.
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 0, 0, 0));
  std::filesystem::create_directory(File("gone"));
  logic_.SaveTable();
  EXPECT_EQ(MorningFile("gone"), kTime + ",docs\r\n08.12.2026  9:05:07,0\r\n");
  EXPECT_TRUE(logic_.Close());  // nothing is left unsaved
  EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(window_polling_test, save_table_writes_under_the_name_a_stop_would_use_now_and_the_run_goes_on) {
  Users("docs", 2);
  Start({"docs"});
  Tick();
  SetClock(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(10, 0, 0, 0));
  logic_.SaveTable();
  EXPECT_EQ(ReadFile("program/list_08.12.2026_10.00.00.txt"), kTime + ",docs\r\n08.12.2026  9:05:07,2\r\n");
  EXPECT_TRUE(logic_.PollTimer().Enabled());
}

// Without the rights to see the connections every probe records 0; the first of a run says
// why, once, so that a column of zeros does not pass for an empty server.
TEST_F(window_polling_test, access_denied_reports_show_the_notice_once_per_run) {
  prober_.results["docs"] = prober_.results["pub"] = StandInProber::Outcome(ProbeOutcome::kAccessDenied);
  const Boxes notice{"notice: " + platform::AccessDeniedAdvice()};
  Start({"docs", "pub"});
  Tick();
  Tick();
  EXPECT_EQ(Table().RowAt(1).values, (Texts{"0", "0"}));
  EXPECT_EQ(view_.boxes, notice);
  logic_.StartStop();
  logic_.StartStop();
  Tick();
  EXPECT_EQ(view_.boxes.size(), 2u);  // a new run says it again
}

// "Очистить" mid-run wrote an empty header above the run's counts, and a loaded table's rows
// went into the run's file under the run's shares.
TEST_F(window_polling_test, a_runs_file_keeps_only_its_rows_under_its_columns_and_clearing_ends_the_run) {
  TemporaryDirectory::WriteBytes(File("t.txt"), "T,docs\r\nd t,5\r\n");
  view_.file_to_open = File("t.txt");
  logic_.OpenTableFile();
  Users("pub", 1);
  Start({"pub"});
  Tick();
  logic_.ClearWatchList();
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  EXPECT_EQ(MorningFile(), kTime + ",pub\r\n08.12.2026  9:05:07,1\r\n");
}

// Each failed tick of an unattended run opened one more box inside the last one, and the rows
// lived in memory only.
TEST_F(window_polling_test, ticks_failing_while_a_box_is_open_are_told_in_one_more_box_and_rows_are_written) {
  Users("docs", 3);
  prober_.results["pub"] = StandInProber::Outcome(ProbeOutcome::kNotStarted, "cannot start pub");
  Start({"docs", "pub"});
  view_.while_box_open = [&] {
    for (int tick = 0; tick < 3; ++tick) Tick();
    const std::string row = "08.12.2026  9:05:07,3\r\n";
    EXPECT_EQ(MorningFile(), kTime + ",docs,pub\r\n" + row + row + row + row);
  };
  Tick();
  const std::string told = core::WindowLogic::kTicksFailedMeanwhile + std::string("3. Последняя ошибка: ");
  EXPECT_EQ(view_.boxes, (Boxes{"error: cannot start pub", "error: " + told + "cannot start pub"}));
}

// --- closing ------------------------------------------------------------------------------

// Closing mid-run ended the program without the table file, losing every row of the run.
TEST_F(window_polling_test, closing_while_running_writes_the_table_as_a_stop_would) {
  Users("docs", 4);
  Start({"docs"});
  Tick();
  EXPECT_TRUE(logic_.Close());
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  EXPECT_EQ(MorningFile(), kTime + ",docs\r\n08.12.2026  9:05:07,4\r\n");
}

TEST_F(window_polling_test, closing_while_idle_writes_no_table) {
  EXPECT_TRUE(logic_.Close());
  EXPECT_FALSE(std::filesystem::exists(File("program/list_08.12.2026_9.05.07.txt")));
}

// A stop that could not write keeps its table unsaved: closing tries the same file again.
TEST_F(window_polling_test, closing_after_a_failed_stop_tries_the_table_again) {
  ShowIn("gone");
  Start({"docs"});
  std::filesystem::remove_all(File("gone"));
  EXPECT_THROW(logic_.StartStop(), rtl::InOutError);
  std::filesystem::create_directory(File("gone"));
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(MorningFile("gone"), kTime + ",docs\r\n");
}

// A run's file holds its own rows only, so the rows of a stop that could not write them are
// written before a new run starts, or the run does not start.
TEST_F(window_polling_test, a_start_after_a_failed_stop_writes_that_table_first) {
  ShowIn("gone");
  Start({"docs"});
  std::filesystem::remove_all(File("gone"));
  EXPECT_THROW(logic_.StartStop(), rtl::InOutError);
  EXPECT_THROW(logic_.StartStop(), rtl::InOutError);
  EXPECT_FALSE(view_.running);
  std::filesystem::create_directory(File("gone"));
  logic_.StartStop();
  EXPECT_TRUE(view_.running);
  EXPECT_EQ(MorningFile("gone"), kTime + ",docs\r\n");
}

// A run lost on a full disk used to end without a word: now the window stays open with the
// error shown, so the user can free space; closing again gives the table up.
TEST_F(window_polling_test, a_table_that_cannot_be_written_keeps_the_window_open_once) {
  ShowIn("gone");
  Start({"docs"});
  Tick();
  std::filesystem::remove_all(File("gone"));
  EXPECT_FALSE(logic_.Close());
  EXPECT_EQ(view_.boxes, Boxes{"error: " + kDirectoryGone});
  EXPECT_FALSE(logic_.PollTimer().Enabled());
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_TRUE(logic_.Close());
  // No second try of the table; the watch list beside it cannot be written either.
  EXPECT_EQ(view_.boxes, (Boxes{"error: " + kDirectoryGone, "notice: Ошибка сохранения списка"}));
}

// --- the timer ----------------------------------------------------------------------------

// The first run's first tick comes after one second, later runs' after the interval left from
// before; each run's first tick takes over the typed interval.
TEST_F(window_polling_test, the_first_tick_takes_over_the_typed_interval) {
  view_.interval = "1";
  Start({"docs"});
  EXPECT_EQ(waits_.running, 1000u);
  Tick();
  EXPECT_EQ(waits_.running, 60000u);
  logic_.StartStop();
  // Wrapped to a negative number, taken as a long unsigned interval, waited for in parts.
  view_.interval = "35792";
  Start({"docs"});
  EXPECT_EQ(waits_.running, 60000u);
  Tick();
  EXPECT_EQ(logic_.PollTimer().Interval(), 2147520000u);
  EXPECT_EQ(waits_.running, 0x7FFFFFFFu);
  logic_.StartStop();
  // Zero gives this run's one tick and no more; since only a tick changes the interval, a
  // later run never ticks, whatever is typed.
  view_.interval = "0";
  Start({"docs"});
  WaitPasses();
  Tick();
  EXPECT_FALSE(waits_.running);
  logic_.StartStop();
  view_.interval = "1";
  Start({"docs"});
  EXPECT_FALSE(waits_.running);
  EXPECT_EQ(Table().RowCount(), 3);
}

// --- probes off the window's thread --------------------------------------------------------

// The window used to freeze for a whole tick; now Стоп is handled while the probe still
// blocks, and the stop writes the table at once. The probe's late answer is not applied.
TEST_F(window_polling_test, stop_while_a_probe_blocks_writes_at_once_and_drops_the_late_result) {
  prober_.results["docs"] = StandInProber::Users({"late11"});
  prober_.held = {"docs"};
  prober_.heed_cancel = false;
  Start({"docs", "pub"});
  WaitPasses();
  ASSERT_TRUE(poster_.RunUntil([&] { return prober_.Entered() == 1; }));
  logic_.StartStop();
  EXPECT_EQ(MorningFile(), kTime + ",docs,pub\r\n");
  prober_.Release();
  // The worker takes jobs in order, so the next run's tick comes after the late answer.
  Start({"docs", "pub"});
  Tick();
  EXPECT_EQ(Table().RowCount(), 1);
  EXPECT_TRUE(view_.boxes.empty());
}

// A share whose query hangs no longer holds the window: closing cancels it and writes what the
// run has.
TEST_F(window_polling_test, closing_during_a_hung_probe_cancels_it_and_writes_the_table) {
  Users("docs", 2);
  prober_.held = {"hang"};
  Start({"docs", "hang"});
  WaitPasses();
  ASSERT_TRUE(poster_.RunUntil([&] { return Table().RowCount() == 1; }));
  EXPECT_TRUE(logic_.Close());
  EXPECT_EQ(MorningFile(), kTime + ",docs,hang\r\n08.12.2026  9:05:07,2\r\n");
}

// A tick that falls due while the last one still probes runs once that one ends, not twice.
TEST_F(window_polling_test, ticks_that_fall_due_during_a_probe_give_one_more_row) {
  prober_.held = {"docs"};
  Start({"docs"});
  WaitPasses();
  ASSERT_TRUE(poster_.RunUntil([&] { return prober_.Entered() == 1; }));
  WaitPasses();
  WaitPasses();
  prober_.Release();
  ASSERT_TRUE(poster_.RunUntil([&] { return prober_.Entered() == 2 && !logic_.Run().Probing(); }));
  EXPECT_EQ(Table().RowCount(), 2);
}

// --- the users view ------------------------------------------------------------------------

TEST_F(window_polling_test, users_lists_every_name_gathered_then_the_shares_and_empties_the_list) {
  logic_.Users().Add({"first1", "first2"});  // what two polling probes gathered
  logic_.Users().Add({"second"});
  prober_.results["team docs"] = StandInProber::Users({"alice@10.0.0.2"});
  view_.watch_list.entries = {"public", "team docs"};
  view_.watch_list.selected = 1;
  logic_.ShowUsers();
  EXPECT_EQ(view_.page, core::WindowPage::kSharesAndUsers);
  ASSERT_TRUE(poster_.RunUntil([&] { return !view_.users_list.entries.Empty(); }));
  EXPECT_EQ(view_.users_list.entries, (rtl::StringList{"first1", "first2", "second", "alice@10.0.0.2"}));
  EXPECT_EQ(logic_.Users().Count(), 0u);
  // Right after, only the new probe's names.
  logic_.ShowUsers();
  EXPECT_TRUE(view_.users_list.entries.Empty());
  ASSERT_TRUE(poster_.RunUntil([&] { return !view_.users_list.entries.Empty(); }));
  EXPECT_EQ(view_.users_list.entries, (rtl::StringList{"alice@10.0.0.2"}));
  EXPECT_TRUE(view_.boxes.empty());
}

TEST_F(window_polling_test, users_without_a_selection_empties_the_view_and_shows_the_page_first) {
  view_.watch_list.entries = {"public"};
  view_.users_list.entries = {"stale1"};
  logic_.Users().Add({"kept11"});
  EXPECT_THROW(logic_.ShowUsers(), rtl::ListIndexError);
  EXPECT_TRUE(view_.users_list.entries.Empty());
  EXPECT_EQ(view_.page, core::WindowPage::kSharesAndUsers);
  EXPECT_EQ(logic_.Users().Take(), (rtl::StringList{"kept11"}));
}

TEST_F(window_polling_test, users_of_a_probe_without_a_report_shows_the_error_and_leaves_the_view_empty) {
  prober_.results[W("Отчеты")] = StandInProber::Outcome(ProbeOutcome::kNotStarted, "no netshare");
  view_.watch_list.entries = {W("Отчеты")};
  view_.watch_list.selected = 0;
  logic_.ShowUsers();
  ASSERT_TRUE(poster_.RunUntil([&] { return !view_.boxes.empty(); }));
  EXPECT_EQ(view_.boxes, Boxes{"error: no netshare"});
  EXPECT_TRUE(view_.users_list.entries.Empty());
}

// An empty users view said nothing when the names could not be read; now it says why: in a run
// once, as the ticks do, and at every request outside one.
TEST_F(window_polling_test, users_of_an_access_denied_report_show_the_notice_once_per_run) {
  prober_.results["docs"] = StandInProber::Outcome(ProbeOutcome::kAccessDenied);
  const auto ask_users = [&] {
    logic_.Users().Add({"marker"});  // shows once the answer is in
    view_.watch_list.selected = 0;
    logic_.ShowUsers();
    ASSERT_TRUE(poster_.RunUntil([&] { return !view_.users_list.entries.Empty(); }));
    poster_.RunPending();
  };
  view_.watch_list.entries = {"docs"};
  ask_users();
  ask_users();
  EXPECT_EQ(view_.boxes, Boxes(2, "notice: " + platform::AccessDeniedAdvice()));
  Start({"docs"});
  Tick();
  ask_users();
  EXPECT_EQ(view_.boxes.size(), 3u);
  logic_.StartStop();
  logic_.StartStop();
  ask_users();
  Tick();
  EXPECT_EQ(view_.boxes.size(), 4u);
}

// A tick or a tab reads "Сеансы и файлы" while it is shown; hidden, neither does. Its reading
// thread keeps order, so the first reading to come is the first asked. Before any reading its
// lists show their columns.
TEST_F(window_polling_test, ticks_and_tabs_read_the_sessions_page_only_while_it_is_shown) {
  using core::WindowCommand;
  for (const auto* list : {&view_.server_page.sessions, &view_.server_page.open_files}) {
    ASSERT_NE(list->rows, nullptr);
    EXPECT_GT(list->rows->ColumnCount(), 0);
    EXPECT_EQ(list->rows->RowCount(), 0);
  }
  const auto readings = [&](std::size_t count) {
    return poster_.RunUntil([&] { return view_.server_page.statuses.size() == count; });
  };
  Start({"docs"});
  Tick();
  logic_.Execute(WindowCommand::kPageChanged);
  logic_.Execute(WindowCommand::kChooseOpenFilesShare);  // the open files only
  ASSERT_TRUE(readings(1));
  EXPECT_EQ(reader_.sessions_read, 0);
  view_.current_page = core::WindowPage::kSessionsAndFiles;
  logic_.Execute(WindowCommand::kPageChanged);
  ASSERT_TRUE(readings(2));
  Tick();
  ASSERT_TRUE(readings(3));
  logic_.Execute(WindowCommand::kRefreshServerPage);
  ASSERT_TRUE(readings(4));
  EXPECT_EQ(reader_.sessions_read, 3);
  view_.server_page.sessions.clicked = 1;
  view_.server_page.open_files.clicked = 2;
  logic_.Execute(WindowCommand::kSortSessions);
  logic_.Execute(WindowCommand::kSortOpenFiles);
  EXPECT_EQ(view_.server_page.sessions.sort_column, 1);
  EXPECT_EQ(view_.server_page.open_files.sort_column, 2);
}

}  // namespace
