#include "core/polling_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "rtl/errors.h"
#include "tests/support/windows1251_text.h"

namespace {

using core::ProbeOutcome;
using core::ProbeResult;

// Gives the queued readings in turn, then keeps giving the last one.
class FakeClock : public core::Clock {
 public:
  explicit FakeClock(std::deque<rtl::DateTime> readings) : readings_(std::move(readings)) {}
  rtl::DateTime Now() override {
    const rtl::DateTime value = readings_.front();
    if (readings_.size() > 1) readings_.pop_front();
    return value;
  }
  void Set(std::deque<rtl::DateTime> readings) { readings_ = std::move(readings); }

 private:
  std::deque<rtl::DateTime> readings_;
};

ProbeResult CountedUsers(std::vector<rtl::Text> users) {
  ProbeResult result;
  result.users = std::move(users);
  result.count = static_cast<std::int32_t>(result.users.size());
  return result;
}

ProbeResult Outcome(ProbeOutcome outcome) {
  ProbeResult result;
  result.outcome = outcome;
  if (!result.HasReport()) result.error = "error of " + std::to_string(static_cast<int>(outcome));
  return result;
}

// Answers each share with its prepared result (a count of 0 when none was prepared).
class FakeProber : public core::ShareProber {
 public:
  std::map<rtl::Text, ProbeResult> results;
  std::vector<rtl::Text> probed;
  ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal&) override {
    probed.push_back(share);
    const auto found = results.find(share);
    return found != results.end() ? found->second : CountedUsers({});
  }
};

class RecordingListener : public core::RunListener {
 public:
  std::vector<std::string> events;
  std::vector<core::TickSummary> ticks;
  std::function<void()> on_value;  // runs inside ValueAppended

  void RowAdded(int row) override { events.push_back("row " + std::to_string(row)); }
  void ValueAppended(const rtl::Text& share, const ProbeResult& result, int row) override {
    events.push_back("value " + share + "=" + std::to_string(result.count) + " in " + std::to_string(row));
    if (on_value) on_value();
  }
  void UsersSeen(const rtl::Text& share, const std::vector<rtl::Text>& names) override {
    events.push_back("users " + share + " " + std::to_string(names.size()));
  }
  void ProbeFailed(const rtl::Text& share, const ProbeResult& result) override {
    events.push_back("failed " + share + " " + std::to_string(static_cast<int>(result.outcome)));
  }
  void TimerIntervalChanged(std::uint32_t interval_ms) override {
    events.push_back("interval " + std::to_string(interval_ms));
  }
  void TickEnded(const core::TickSummary& summary) override { ticks.push_back(summary); }
};

const rtl::DateTime kFirstReading = rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0);

class polling_run_test : public ::testing::Test {
 protected:
  void SetUp() override { rtl::SetRegionalSettings(rtl::RussianRegionalSettings()); }

  std::vector<rtl::Text> Values(int row) const { return table_.RowAt(row).values; }

  // Applies the prober's results for the whole tick, as a shell would.
  std::optional<core::Tick> ProbeAll(const core::Tick& tick, const std::vector<rtl::Text>& watch_list) {
    return core::ProbeTick(run_, tick, prober_, never_, watch_list);
  }

  core::ConnectionTable table_;
  FakeClock clock_{{kFirstReading}};
  RecordingListener listener_;
  FakeProber prober_;
  platform::CancelSignal never_;
  core::PollingRun run_{table_, clock_, listener_};
};

TEST_F(polling_run_test, start_builds_the_columns_keeps_the_rows_and_reads_the_interval) {
  table_.AddColumn("old");
  table_.AddRow("earlier row");
  run_.Start({"docs", "pub"}, "30");
  EXPECT_EQ(table_.Columns(), (std::vector<rtl::Text>{W("Время"), "docs", "pub"}));
  EXPECT_EQ(table_.RowCount(), 1);
  EXPECT_TRUE(run_.Active());
  EXPECT_EQ(run_.PollIntervalMs(), 1800000);
  EXPECT_EQ(run_.TimerInterval(), 1000u);  // the first tick one second after the start
}

TEST_F(polling_run_test, a_bad_interval_rebuilds_the_columns_and_leaves_the_run_idle) {
  try {
    run_.Start({"docs"}, W("полчаса"));
    FAIL() << "no error";
  } catch (const rtl::ConvertError& error) {
    EXPECT_EQ(error.what(), W("'полчаса' is not a valid integer value"));
  }
  EXPECT_EQ(table_.Columns(), (std::vector<rtl::Text>{W("Время"), "docs"}));
  EXPECT_FALSE(run_.Active());
  EXPECT_FALSE(run_.TimerFired({"docs"}));
}

TEST(poll_interval_test, minutes_become_wrapping_milliseconds) {
  EXPECT_EQ(core::PollIntervalFromMinutes("30"), 1800000);
  EXPECT_EQ(core::PollIntervalFromMinutes("0"), 0);
  EXPECT_EQ(core::PollIntervalFromMinutes(" $10"), 960000);
  EXPECT_EQ(core::PollIntervalFromMinutes("-1"), -60000);
  EXPECT_EQ(core::PollIntervalFromMinutes("35791"), 2147460000);
  EXPECT_EQ(core::PollIntervalFromMinutes("35792"), -2147447296);  // 2 147 520 000 wrapped
  EXPECT_THROW(core::PollIntervalFromMinutes("30 min"), rtl::ConvertError);
}

// Wrapped, 1360073 minutes ticked every 1.376 s and -1360072 every 58.6 s.
TEST(poll_interval_test, milliseconds_beyond_32_bits_are_refused) {
  EXPECT_EQ(core::PollIntervalFromMinutes("71582"), -47296);  // 4 294 920 000 as the timer takes it
  EXPECT_EQ(core::PollIntervalFromMinutes("-35791"), -2147460000);
  for (const char* minutes : {"71583", "1360073", "-35792", "-1360072", "2147483647"}) {
    EXPECT_THROW(core::PollIntervalFromMinutes(minutes), core::IntervalTooLongError) << minutes;
  }
}

// A table loaded, cleared or given rows beside a run: each count stays under its share.
TEST_F(polling_run_test, the_run_table_keeps_its_columns_and_only_its_rows) {
  table_.AddRow("loaded");
  run_.Start({"pub"}, "30");
  ProbeAll(*run_.TimerFired({"pub"}), {"pub"});
  table_.ClearColumns();
  table_.AddRow("loaded later");
  table_.SetRowCaption(1, "edited");
  ProbeAll(*run_.TimerFired({"pub"}), {"pub"});
  const core::ConnectionTable own = run_.RunTable();
  EXPECT_EQ(own.Columns(), (std::vector<rtl::Text>{W("Время"), "pub"}));
  ASSERT_EQ(own.RowCount(), 2);
  EXPECT_EQ(own.RowAt(0), (core::ConnectionTable::Row{"edited", {"0"}}));
}

TEST_F(polling_run_test, a_tick_adds_one_captioned_row_of_counts_in_watch_list_order) {
  prober_.results = {{"docs", CountedUsers({"alice1", "bob123", "carol1"})}, {"home", CountedUsers({"dave11"})}};
  run_.Start({"docs", "pub", "home"}, "30");
  const auto tick = run_.TimerFired({"docs", "pub", "home"});
  ASSERT_TRUE(tick);
  EXPECT_TRUE(run_.Probing());
  EXPECT_FALSE(ProbeAll(*tick, {"docs", "pub", "home"}));
  EXPECT_FALSE(run_.Probing());
  EXPECT_EQ(prober_.probed, (std::vector<rtl::Text>{"docs", "pub", "home"}));
  ASSERT_EQ(table_.RowCount(), 1);
  EXPECT_EQ(table_.RowAt(0).caption, "08.12.2026  9:05:07");
  EXPECT_EQ(Values(0), (std::vector<rtl::Text>{"3", "0", "1"}));
  EXPECT_EQ(listener_.events, (std::vector<std::string>{"interval 1800000", "users docs 3", "row 0", "value docs=3 in 0",
                                                        "users pub 0", "value pub=0 in 0", "users home 1",
                                                        "value home=1 in 0"}));
  ASSERT_EQ(listener_.ticks.size(), 1u);
  EXPECT_EQ(listener_.ticks[0].probed, 3);
  EXPECT_EQ(listener_.ticks[0].failures, 0);
  EXPECT_FALSE(listener_.ticks[0].cut);
}

// The caption's date and time come from two readings, the date first, as the window's did.
TEST_F(polling_run_test, the_caption_takes_the_date_and_the_time_from_two_readings) {
  clock_.Set({rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(23, 59, 59, 999), rtl::EncodeDate(2026, 12, 9)});
  run_.Start({"docs"}, "30");
  ProbeAll(*run_.TimerFired({"docs"}), {"docs"});
  EXPECT_EQ(table_.RowAt(0).caption, "08.12.2026  0:00:00");
}

TEST_F(polling_run_test, a_tick_that_falls_due_while_probing_waits_and_only_once) {
  run_.Start({"docs"}, "1");
  const auto first = run_.TimerFired({"docs"});
  ASSERT_TRUE(first);
  EXPECT_FALSE(run_.TimerFired({"docs"}));
  EXPECT_FALSE(run_.TimerFired({"docs"}));  // still one waiting tick, not two
  run_.Apply(first->id, CountedUsers({}));
  const auto second = run_.ProbingEnded(first->id, {"docs", "new"});
  ASSERT_TRUE(second);
  EXPECT_EQ(second->shares, (std::vector<rtl::Text>{"docs", "new"}));  // the watch list of that moment
  EXPECT_NE(second->id, first->id);
  EXPECT_FALSE(ProbeAll(*second, {"docs"}));
  EXPECT_EQ(table_.RowCount(), 2);
  EXPECT_FALSE(run_.Probing());
}

TEST_F(polling_run_test, stop_during_a_tick_keeps_its_values_and_ignores_the_rest) {
  run_.Start({"a", "b", "c"}, "30");
  const auto tick = run_.TimerFired({"a", "b", "c"});
  ASSERT_TRUE(run_.Apply(tick->id, CountedUsers({"alice1"})));
  EXPECT_FALSE(run_.TimerFired({"a"}));  // waits behind the tick
  run_.Stop();
  EXPECT_FALSE(run_.Apply(tick->id, CountedUsers({"bob123"})));
  EXPECT_FALSE(run_.ProbingEnded(tick->id, {"a"}));  // the waiting tick went with the run
  ASSERT_EQ(table_.RowCount(), 1);
  EXPECT_EQ(Values(0), std::vector<rtl::Text>{"1"});
  // A new run's ticks are told apart from the abandoned one's late results.
  run_.Start({"a"}, "30");
  const auto next = run_.TimerFired({"a"});
  ASSERT_TRUE(next);
  EXPECT_FALSE(run_.Apply(tick->id, CountedUsers({"late11"})));
  EXPECT_FALSE(run_.Apply(next->id, CountedUsers({})));
  EXPECT_EQ(table_.RowCount(), 2);
}

TEST_F(polling_run_test, a_watch_list_change_during_a_tick_counts_from_the_next_tick_on) {
  run_.Start({"a", "b"}, "30");
  const auto tick = run_.TimerFired({"a", "b"});
  // The user removes "b" while the tick probes: this tick still probes both.
  EXPECT_FALSE(ProbeAll(*tick, {"a"}));
  EXPECT_EQ(Values(0).size(), 2u);
  ProbeAll(*run_.TimerFired({"a"}), {"a"});
  EXPECT_EQ(Values(1).size(), 1u);  // values no longer line up with the columns; nothing said
}

TEST_F(polling_run_test, each_kind_of_failure_is_told_and_only_a_missing_report_ends_the_tick) {
  struct Case {
    ProbeOutcome outcome;
    std::vector<rtl::Text> values;  // of the row, when the second of three shares gave `outcome`
    bool cut;
  };
  const Case cases[] = {
      {ProbeOutcome::kAccessDenied, {"1", "0", "1"}, false},
      {ProbeOutcome::kNoUsersSection, {"1", "0", "1"}, false},
      {ProbeOutcome::kNotStarted, {"1"}, true},
      {ProbeOutcome::kTimedOut, {"1"}, true},
      {ProbeOutcome::kReportTooLarge, {"1"}, true},
  };
  for (const auto& c : cases) {
    core::ConnectionTable table;
    RecordingListener listener;
    core::PollingRun run(table, clock_, listener);
    prober_.results = {{"a", CountedUsers({"alice1"})}, {"b", Outcome(c.outcome)}, {"c", CountedUsers({"carol1"})}};
    run.Start({"a", "b", "c"}, "30");
    core::ProbeTick(run, *run.TimerFired({"a", "b", "c"}), prober_, never_, {});
    const int outcome = static_cast<int>(c.outcome);
    ASSERT_EQ(table.RowCount(), 1) << outcome;
    EXPECT_EQ(table.RowAt(0).values, c.values) << outcome;
    EXPECT_EQ(std::count(listener.events.begin(), listener.events.end(), "failed b " + std::to_string(outcome)), 1)
        << outcome;
    ASSERT_EQ(listener.ticks.size(), 1u) << outcome;
    EXPECT_EQ(listener.ticks[0].failures, 1) << outcome;
    EXPECT_EQ(listener.ticks[0].cut, c.cut) << outcome;
    EXPECT_TRUE(run.Active()) << outcome;  // the next tick tries again
  }
}

TEST_F(polling_run_test, a_first_share_without_a_report_leaves_no_row) {
  prober_.results = {{"a", Outcome(ProbeOutcome::kNotStarted)}};
  run_.Start({"a", "b"}, "30");
  ProbeAll(*run_.TimerFired({"a", "b"}), {"a", "b"});
  EXPECT_EQ(table_.RowCount(), 0);
  EXPECT_EQ(prober_.probed, std::vector<rtl::Text>{"a"});
}

TEST_F(polling_run_test, an_empty_watch_list_gives_a_tick_without_a_row) {
  run_.Start({}, "30");
  EXPECT_FALSE(run_.TimerFired({}));
  EXPECT_EQ(table_.RowCount(), 0);
  EXPECT_FALSE(run_.Probing());
  EXPECT_EQ(listener_.events, std::vector<std::string>{"interval 1800000"});
}

TEST_F(polling_run_test, the_first_tick_gives_the_timer_the_run_interval_once) {
  struct Case {
    const char* minutes;
    std::uint32_t interval;
  };
  // A negative product never equals the unsigned interval and is taken as a long unsigned one.
  const Case cases[] = {{"30", 1800000u}, {"0", 0u}, {"35792", 2147520000u}, {"-1", 4294907296u}};
  for (const auto& c : cases) {
    core::ConnectionTable table;
    RecordingListener listener;
    core::PollingRun run(table, clock_, listener);
    run.Start({}, c.minutes);
    run.TimerFired({});
    run.TimerFired({});
    EXPECT_EQ(run.TimerInterval(), c.interval) << c.minutes;
    EXPECT_EQ(listener.events, std::vector<std::string>{"interval " + std::to_string(c.interval)}) << c.minutes;
  }
}

TEST_F(polling_run_test, a_listener_may_stop_the_run_from_inside_a_result) {
  run_.Start({"a", "b"}, "30");
  listener_.on_value = [this] { run_.Stop(); };
  const auto tick = run_.TimerFired({"a", "b"});
  EXPECT_FALSE(run_.Apply(tick->id, CountedUsers({})));
  EXPECT_FALSE(run_.Active());
  EXPECT_FALSE(run_.Apply(tick->id, CountedUsers({})));
  EXPECT_EQ(Values(0).size(), 1u);
}

TEST_F(polling_run_test, a_cancelled_tick_applies_nothing_more) {
  run_.Start({"a", "b"}, "30");
  platform::CancelSignal cancel;
  cancel.Cancel();
  EXPECT_FALSE(core::ProbeTick(run_, *run_.TimerFired({"a", "b"}), prober_, cancel, {}));
  EXPECT_TRUE(prober_.probed.empty());
  EXPECT_EQ(table_.RowCount(), 0);
}

TEST(table_file_name_test, a_stop_names_the_file_after_two_readings_of_the_clock) {
  rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  FakeClock clock({rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0)});
  EXPECT_EQ(core::TableFileNameNow(clock, "/opt/sharemon"), "/opt/sharemon/list_08.12.2026_9.05.07.txt");
  EXPECT_EQ(core::FileTimeStamp(rtl::EncodeTime(17, 0, 9, 0)), "17.00.09");
}

}  // namespace
