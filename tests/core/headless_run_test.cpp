// The headless loop with a fake clock, a fake prober and a pause that moves the clock instead
// of sleeping: the files it leaves after every tick, the midnight rollover, a stop in the
// middle of a tick, each kind of probe failure, the watch list and interval rules.
#include "core/headless_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <memory>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/share_metrics.h"
#include "core/watch_list_file.h"
#include "rtl/errors.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/windows1251_text.h"

namespace {

using namespace std::chrono_literals;
using core::ProbeOutcome;
using core::ProbeResult;

constexpr long long kMillisecondsPerDay = 24LL * 60 * 60 * 1000;

// Counts whole milliseconds, so midnight is reached exactly.
class SteppingClock : public core::Clock {
 public:
  explicit SteppingClock(rtl::DateTime start) : ms_(std::llround(start * kMillisecondsPerDay)) {}
  rtl::DateTime Now() override { return static_cast<double>(ms_) / kMillisecondsPerDay; }
  void Advance(std::chrono::milliseconds step) { ms_ += step.count(); }

 private:
  long long ms_;
};

// Moves the clock by each wait, and stops the loop after the given number of waits.
class SteppingPause : public core::Pause {
 public:
  SteppingPause(SteppingClock& clock, platform::CancelSignal& stop) : clock_(clock), stop_(stop) {}
  std::vector<long long> waits;
  std::function<void()> after_tick;  // runs at each wait that follows a tick
  int stop_at_wait = 1;              // 1 = the first wait stops

  bool Wait(std::chrono::milliseconds duration) override {
    if (after_tick && (waits.empty() || last_tick_checked_ != ticks)) after_tick();
    last_tick_checked_ = ticks;
    waits.push_back(duration.count());
    if (static_cast<int>(waits.size()) >= stop_at_wait) {
      stop_.Cancel();
      return true;
    }
    clock_.Advance(duration);
    return false;
  }
  int ticks = 0;  // counted by the listener

 private:
  SteppingClock& clock_;
  platform::CancelSignal& stop_;
  int last_tick_checked_ = -1;
};

ProbeResult Counted(int users) {
  ProbeResult result;
  for (int i = 0; i < users; ++i) result.users.push_back("user" + std::to_string(i) + "@host");
  result.count = users;
  result.duration = 120ms;
  return result;
}

ProbeResult Failed(ProbeOutcome outcome) {
  ProbeResult result;
  result.outcome = outcome;
  result.duration = 3s;
  if (!result.HasReport()) result.error = W("Ошибка выполнения или компиляции: \n\rnetshare x");
  return result;
}

// Answers each share from its queue of results (the last one repeats); each probe takes the
// next of the probe times (the last one repeats) of the clock. A share named in `cancel_on`
// gives the stop signal while it is probed.
class ScriptedProber : public core::ShareProber {
 public:
  ScriptedProber(SteppingClock& clock, platform::CancelSignal& stop) : clock_(clock), stop_(stop) {}
  std::map<rtl::Text, std::deque<ProbeResult>> results;
  std::deque<std::chrono::milliseconds> probe_times{2s};
  rtl::Text cancel_on;
  std::vector<rtl::Text> probed;

  ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal& cancel) override {
    probed.push_back(share);
    clock_.Advance(probe_times.front());
    if (probe_times.size() > 1) probe_times.pop_front();
    if (share == cancel_on) stop_.Cancel();
    if (cancel.Cancelled()) return Failed(ProbeOutcome::kCancelled);
    auto& queue = results[share];
    if (queue.empty()) return Counted(0);
    ProbeResult result = queue.front();
    if (queue.size() > 1) queue.pop_front();
    return result;
  }

 private:
  SteppingClock& clock_;
  platform::CancelSignal& stop_;
};

class Lines : public core::RunLog {
 public:
  std::vector<std::string> lines;
  void Line(const std::string& line) override { lines.push_back(line); }
  int Containing(const std::string& part) const {
    int found = 0;
    for (const auto& line : lines) found += line.find(part) != std::string::npos;
    return found;
  }
};

// Counts ticks for the pause and passes everything on to the metrics.
class TickCounter : public core::RunListener {
 public:
  TickCounter(SteppingPause& pause, core::ShareMetrics& metrics) : pause_(pause), metrics_(metrics) {}
  void ValueAppended(const rtl::Text& share, const ProbeResult& result, int row) override {
    metrics_.ValueAppended(share, result, row);
  }
  void ProbeFailed(const rtl::Text& share, const ProbeResult& result) override { metrics_.ProbeFailed(share, result); }
  void TickEnded(const core::TickSummary& summary) override {
    ++pause_.ticks;
    metrics_.TickEnded(summary);
  }

 private:
  SteppingPause& pause_;
  core::ShareMetrics& metrics_;
};

const rtl::DateTime kMorning = rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0);

class headless_run_test : public ::testing::Test {
 protected:
  void SetUp() override {
    rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
    WatchList("docs\r\nteam docs\r\n");
  }

  void WatchList(const std::string& bytes) { TemporaryDirectory::WriteBytes(directory_.File("splist.txt"), bytes); }
  std::string File(const std::string& name) { return TemporaryDirectory::ReadBytes(directory_.File(name)); }
  bool Exists(const std::string& name) { return std::filesystem::exists(directory_.File(name)); }

  void Run(rtl::DateTime start, std::chrono::milliseconds interval = 30min) {
    stop_.Reset();
    clock_ = std::make_unique<SteppingClock>(start);
    pause_ = std::make_unique<SteppingPause>(*clock_, stop_);
    prober_ = std::make_unique<ScriptedProber>(*clock_, stop_);
    if (prepare_) prepare_();
    TickCounter counter(*pause_, metrics_);
    core::HeadlessRun run({directory_.File("splist.txt"), directory_.Path(), interval},
                          {*clock_, *prober_, stop_, *pause_, counter, log_});
    run.Run();
  }

  std::string Metrics() const { return metrics_.ExpositionText({"1.3", "6.4.2"}); }

  TemporaryDirectory directory_;
  platform::CancelSignal stop_;
  std::unique_ptr<SteppingClock> clock_;
  std::unique_ptr<SteppingPause> pause_;
  std::unique_ptr<ScriptedProber> prober_;
  std::function<void()> prepare_;  // runs once the fakes exist, before the loop
  core::ShareMetrics metrics_{[] { return 1765183507.5; }};
  Lines log_;
};

TEST_F(headless_run_test, the_file_is_named_at_the_start_and_rewritten_after_every_tick) {
  std::vector<std::string> after_each_tick;
  prepare_ = [&] {
    prober_->results["docs"] = {Counted(2), Counted(3), Counted(1)};
    prober_->results[W("team docs")] = {Counted(0), Counted(4)};
    pause_->stop_at_wait = 3;
    pause_->after_tick = [&] { after_each_tick.push_back(File("list_08.12.2026_9.05.07.txt")); };
  };
  Run(kMorning);
  // The first tick at once; the caption is the time of the first count, 2 s into the tick;
  // the next tick 30 minutes after the previous one began.
  const std::string header = "\xC2\xF0\xE5\xEC\xFF,docs,\"team docs\"\r\n";
  ASSERT_EQ(after_each_tick.size(), 3u);
  EXPECT_EQ(after_each_tick[0], header + "08.12.2026  9:05:09,2,0\r\n");
  EXPECT_EQ(after_each_tick[1], header + "08.12.2026  9:05:09,2,0\r\n08.12.2026  9:35:09,3,4\r\n");
  EXPECT_EQ(after_each_tick[2], after_each_tick[1] + "08.12.2026  10:05:09,1,4\r\n");
  // Each wait runs to the next tick: the interval less the 4 s the tick's probes took.
  EXPECT_EQ(pause_->waits, (std::vector<long long>{1796000, 1796000, 1796000}));
  EXPECT_EQ(File("list_08.12.2026_9.05.07.txt"), after_each_tick[2]);  // the stop writes it once more
  EXPECT_EQ(log_.Containing("tick: 2 of 2 shares probed, 0 failed"), 3);
  EXPECT_EQ(log_.Containing("run stopped: 3 rows written"), 1);
}

TEST_F(headless_run_test, at_midnight_the_run_ends_and_a_new_one_starts_with_a_new_file_and_table) {
  prepare_ = [&] {
    prober_->results["docs"] = {Counted(1), Counted(2), Counted(5)};
    pause_->stop_at_wait = 3;
  };
  WatchList("docs");
  Run(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(23, 10, 0, 0));
  const std::string header = "\xC2\xF0\xE5\xEC\xFF,docs\r\n";
  EXPECT_EQ(File("list_08.12.2026_23.10.00.txt"),
            header + "08.12.2026  23:10:02,1\r\n08.12.2026  23:40:02,2\r\n");
  // The day's last wait ends at midnight, not at the tick due at 0:10; the new run ticks at once.
  EXPECT_EQ(pause_->waits[1], 20 * 60 * 1000 - 2000);
  EXPECT_EQ(File("list_09.12.2026_0.00.00.txt"), header + "09.12.2026  0:00:02,5\r\n");
  EXPECT_EQ(pause_->waits[2], 30 * 60 * 1000 - 2000);
  EXPECT_EQ(log_.Containing("run ended at midnight: 2 rows written"), 1);
  EXPECT_EQ(log_.Containing("run started"), 2);
}

TEST_F(headless_run_test, a_watch_list_changed_during_the_day_takes_effect_at_midnight) {
  prepare_ = [&] {
    pause_->stop_at_wait = 2;
    pause_->after_tick = [&] { WatchList("docs\nprint$"); };
  };
  WatchList("docs");
  Run(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(23, 50, 0, 0));
  EXPECT_EQ(File("list_08.12.2026_23.50.00.txt"), "\xC2\xF0\xE5\xEC\xFF,docs\r\n08.12.2026  23:50:02,0\r\n");
  EXPECT_EQ(File("list_09.12.2026_0.00.00.txt"), "\xC2\xF0\xE5\xEC\xFF,docs,print$\r\n09.12.2026  0:00:02,0,0\r\n");
}

TEST_F(headless_run_test, a_watch_list_unreadable_at_midnight_keeps_the_previous_one) {
  prepare_ = [&] {
    pause_->stop_at_wait = 2;
    pause_->after_tick = [&] { std::filesystem::remove(directory_.File("splist.txt")); };
  };
  WatchList("docs");
  Run(rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(23, 50, 0, 0));
  EXPECT_EQ(File("list_09.12.2026_0.00.00.txt"), "\xC2\xF0\xE5\xEC\xFF,docs\r\n09.12.2026  0:00:02,0\r\n");
  EXPECT_EQ(log_.Containing("watch list kept as it was: Cannot open file"), 1);
}

TEST_F(headless_run_test, a_stop_during_a_tick_writes_the_rows_of_the_whole_ticks_only) {
  prepare_ = [&] {
    prober_->results["docs"] = {Counted(2), Counted(5)};
    pause_->after_tick = [&] { prober_->cancel_on = W("team docs"); };
    pause_->stop_at_wait = 100;
  };
  Run(kMorning);
  EXPECT_EQ(File("list_08.12.2026_9.05.07.txt"), "\xC2\xF0\xE5\xEC\xFF,docs,\"team docs\"\r\n08.12.2026  9:05:09,2,0\r\n");
  EXPECT_EQ(pause_->waits.size(), 1u);
  EXPECT_EQ(log_.Containing("failed"), 1);  // the whole tick's "0 failed": a cancelled probe is no failure
  EXPECT_EQ(log_.Containing("run stopped: 1 rows written"), 1);
}

TEST_F(headless_run_test, each_kind_of_failure_is_logged_counted_and_leaves_no_users_value) {
  struct Case {
    ProbeOutcome outcome;
    bool has_report;  // a report still puts its 0 into the table; without one the tick ends there
  };
  const Case cases[] = {
      {ProbeOutcome::kNoUsersSection, true}, {ProbeOutcome::kAccessDenied, true}, {ProbeOutcome::kNotStarted, false},
      {ProbeOutcome::kTimedOut, false},      {ProbeOutcome::kReportTooLarge, false},
  };
  for (const Case& c : cases) {
    const std::string reason = core::ProbeOutcomeName(c.outcome);
    SCOPED_TRACE(reason);
    metrics_ = core::ShareMetrics([] { return 1765183507.5; });
    log_.lines.clear();
    std::filesystem::remove_all(directory_.Path());
    std::filesystem::create_directories(directory_.Path());
    WatchList("good\r\nbad\r\nlast\r\n");
    prepare_ = [&] {
      prober_->results["good"] = {Counted(2)};
      prober_->results["bad"] = {Counted(1), Failed(c.outcome), Failed(c.outcome), Counted(7)};
      prober_->results["last"] = {Counted(3)};
      pause_->stop_at_wait = 4;
      pause_->after_tick = [&] {
        const std::string text = Metrics();
        const bool bad_has_users = text.find("sharemon_share_users{share=\"bad\"}") != std::string::npos;
        // Only the first and the fourth tick count "bad" for real.
        EXPECT_EQ(bad_has_users, pause_->ticks == 1 || pause_->ticks == 4) << "after tick " << pause_->ticks;
        const bool last_has_users = text.find("sharemon_share_users{share=\"last\"} 3") != std::string::npos;
        EXPECT_EQ(last_has_users, c.has_report || pause_->ticks == 1 || pause_->ticks == 4) << pause_->ticks;
      };
    };
    Run(kMorning);
    EXPECT_EQ(log_.Containing("probe of \"bad\" failed: " + reason), 2);
    EXPECT_EQ(log_.Containing(c.has_report ? "tick: 3 of 3 shares probed, 1 failed" : "tick: 2 of 3 shares probed, 1 failed"),
              2);
    const std::string text = Metrics();
    EXPECT_NE(text.find("sharemon_share_probe_failures_total{share=\"bad\",reason=\"" + reason + "\"} 2\n"),
              std::string::npos);
    EXPECT_NE(text.find("sharemon_share_users{share=\"bad\"} 7\n"), std::string::npos);
    const std::string rows = File("list_08.12.2026_9.05.07.txt");
    const std::string failed_row = c.has_report ? "08.12.2026  9:35:09,2,0,3\r\n" : "08.12.2026  9:35:09,2\r\n";
    EXPECT_NE(rows.find(failed_row), std::string::npos) << rows;
  }
}

TEST_F(headless_run_test, a_failure_without_a_report_is_logged_on_one_line_with_its_error_text) {
  prepare_ = [&] {
    prober_->results["docs"] = {Failed(ProbeOutcome::kTimedOut)};
    pause_->stop_at_wait = 1;
  };
  Run(kMorning);
  const std::string expected = "2026-12-08 09:05:09 probe of \"docs\" failed: timed_out: "
                               "Ошибка выполнения или компиляции:   netshare x";
  EXPECT_EQ(log_.Containing(expected), 1);
  for (const auto& line : log_.lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
}

TEST_F(headless_run_test, a_slow_tick_is_followed_at_once_and_a_clock_set_back_delays_by_at_most_one_interval) {
  prepare_ = [&] {
    // The first tick takes 80 s of a 60 s interval; after the second the clock goes back an hour.
    prober_->probe_times = {40s, 40s, 2s};
    pause_->stop_at_wait = 2;
    pause_->after_tick = [&] {
      if (pause_->ticks == 2) clock_->Advance(-60min);
    };
  };
  Run(kMorning, 1min);
  EXPECT_EQ(File("list_08.12.2026_9.05.07.txt"),
            "\xC2\xF0\xE5\xEC\xFF,docs,\"team docs\"\r\n08.12.2026  9:05:47,0,0\r\n08.12.2026  9:06:29,0,0\r\n");
  // No wait between the first two ticks; after the clock went back, a whole interval from then.
  EXPECT_EQ(pause_->waits, (std::vector<long long>{56000, 60000}));
}

TEST_F(headless_run_test, an_output_that_cannot_be_written_fails_the_start_and_later_only_logs) {
  core::HeadlessSettings settings{directory_.File("splist.txt"), directory_.Path() / "missing", 30min};
  SteppingClock clock(kMorning);
  SteppingPause pause(clock, stop_);
  ScriptedProber prober(clock, stop_);
  core::HeadlessRun run(settings, {clock, prober, stop_, pause, metrics_, log_});
  try {
    run.Run();
    FAIL() << "no error";
  } catch (const core::TableFileNotWrittenError& error) {
    EXPECT_EQ(std::string(error.what()), "table file not written: " +
                                             (directory_.Path() / "missing" / "list_08.12.2026_9.05.07.txt").string() +
                                             ": File not found");
  }
  EXPECT_TRUE(prober.probed.empty());

  // Later, a name taken by a directory refuses the write; the ticks go on.
  prepare_ = [&] {
    pause_->stop_at_wait = 3;
    pause_->after_tick = [&] {
      std::filesystem::remove(directory_.File("list_08.12.2026_9.05.07.txt"));
      std::filesystem::create_directory(directory_.File("list_08.12.2026_9.05.07.txt"));
    };
  };
  Run(kMorning);
  EXPECT_EQ(log_.Containing("table file not written"), 3);  // two ticks and the stop
  EXPECT_EQ(log_.Containing("tick: 2 of 2"), 3);
}

TEST_F(headless_run_test, a_watch_list_entry_that_names_no_share_is_left_out_with_a_log_line) {
  WatchList("pub=C:\\\r\ndocs\r\n/delete\r\n");
  Run(kMorning);
  EXPECT_EQ(prober_->probed, std::vector<rtl::Text>{"docs"});
  EXPECT_EQ(File("list_08.12.2026_9.05.07.txt"), "\xC2\xF0\xE5\xEC\xFF,docs\r\n08.12.2026  9:05:09,0\r\n");
  EXPECT_EQ(log_.Containing("watch list entry left out: Недопустимое имя общего ресурса \"pub=C:\\\""), 1);
  EXPECT_EQ(log_.Containing("watch list entry left out: Недопустимое имя общего ресурса \"/delete\""), 1);
}

TEST_F(headless_run_test, a_missing_watch_list_fails_the_start) {
  std::filesystem::remove(directory_.File("splist.txt"));
  try {
    Run(kMorning);
    FAIL() << "no error";
  } catch (const rtl::FileOpenError& error) {
    EXPECT_NE(std::string(error.what()).find("splist.txt"), std::string::npos);
  }
  EXPECT_TRUE(prober_->probed.empty());
  EXPECT_TRUE(std::filesystem::is_empty(directory_.Path()));
}

TEST(headless_interval_test, minutes_are_read_by_the_window_rules_and_at_least_one) {
  struct Case {
    const char* text;
    int minutes;  // 0: refused as too short, -1: not a number
  };
  const Case cases[] = {
      {"30", 30}, {"  5", 5}, {"+2", 2}, {"$1E", 30}, {"0x3c", 60}, {"1", 1}, {"2147483647", 2147483647},
      {"0", 0},   {"-5", 0},  {"$FFFFFFFF", 0},                 // hexadecimal all ones is -1
      {"", -1},   {"1.5", -1}, {"30 ", -1}, {"полчаса", -1}, {"2147483648", -1},
  };
  for (const Case& c : cases) {
    const rtl::Text text = W(c.text);
    try {
      EXPECT_EQ(core::PollMinutes(text).count(), c.minutes) << c.text;
    } catch (const core::IntervalTooShortError& error) {
      EXPECT_EQ(c.minutes, 0) << c.text;
      EXPECT_EQ(std::string(error.what()), "The interval must be at least 1 minute, not '" + text + "'");
    } catch (const rtl::ConvertError& error) {
      EXPECT_EQ(c.minutes, -1) << c.text;
      EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid integer value");
    }
  }
}

TEST(watch_list_file_test, lines_end_at_crlf_lf_or_cr_and_the_text_at_nul) {
  struct Case {
    std::string bytes;
    std::vector<rtl::Text> entries;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r\n\r\nc", {"a", "b", "", "c"}},
      {"team docs\n\xCE\xF2\xF7\xE5\xF2\xFB\n", {"team docs", "\xCE\xF2\xF7\xE5\xF2\xFB"}},
      {std::string("a\nb\0c\n", 6), {"a", "b"}},
      {"", {}},
  };
  TemporaryDirectory directory;
  for (const Case& c : cases) {
    TemporaryDirectory::WriteBytes(directory.File("splist.txt"), c.bytes);
    EXPECT_EQ(core::ReadWatchListFile(directory.File("splist.txt")).Entries(), c.entries);
  }
  EXPECT_THROW(core::ReadWatchListFile(directory.File("none.txt")), rtl::FileOpenError);
}

}  // namespace
