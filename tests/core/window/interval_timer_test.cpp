// The poll timer's periods, parts and restarts, over a stand-in for the shell's single waits.
#include "core/window/interval_timer.h"

#include <gtest/gtest.h>

#include "window_standins.h"

namespace {

using Waits = std::vector<std::uint32_t>;

TEST(interval_timer_test, enabling_waits_one_interval_and_a_zero_interval_never_waits) {
  window_test::StandInWaits waits;
  core::IntervalTimer timer(waits);
  timer.SetEnabled(true);
  EXPECT_EQ(waits.started, Waits{1000});
  timer.SetInterval(0);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_FALSE(waits.running);
  EXPECT_FALSE(timer.WaitEnded());  // a stale report
  timer.SetEnabled(false);
  timer.SetInterval(20);
  EXPECT_EQ(waits.started, Waits{1000});
}

TEST(interval_timer_test, each_period_ends_in_one_tick_and_the_next_begins_at_once) {
  window_test::StandInWaits waits;
  core::IntervalTimer timer(waits);
  timer.SetInterval(20);
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.WaitEnded());
  EXPECT_TRUE(timer.WaitEnded());
  EXPECT_EQ(waits.started, (Waits{20, 20, 20}));
  timer.SetEnabled(false);
  EXPECT_FALSE(waits.running);
  EXPECT_FALSE(timer.WaitEnded());
}

// A different interval starts a new period at once; the same one leaves the period running.
TEST(interval_timer_test, only_a_different_interval_restarts_the_period) {
  window_test::StandInWaits waits;
  core::IntervalTimer timer(waits);
  timer.SetInterval(150);
  timer.SetEnabled(true);
  timer.SetInterval(150);
  timer.SetInterval(120);
  EXPECT_EQ(waits.started, (Waits{150, 120}));
}

// Intervals beyond the longest single wait are waited for in parts, ticking only at the end.
TEST(interval_timer_test, long_intervals_are_waited_for_in_parts) {
  struct Case {
    std::uint32_t longest, interval;
    Waits period;
  };
  const Case cases[] = {
      {core::WaitTimer::kLongestWaitMs, 0x80000005u, {0x7FFFFFFFu, 6}},
      {core::WaitTimer::kLongestWaitMs, 0xFFFFFFFFu, {0x7FFFFFFFu, 0x7FFFFFFFu, 1}},
      {10, 25, {10, 10, 5}},
  };
  for (const Case& c : cases) {
    window_test::StandInWaits waits;
    core::IntervalTimer timer(waits, c.longest);
    timer.SetInterval(c.interval);
    timer.SetEnabled(true);
    for (std::size_t part = 1; part < c.period.size(); ++part) EXPECT_FALSE(timer.WaitEnded()) << c.interval;
    EXPECT_TRUE(timer.WaitEnded()) << c.interval;
    Waits expected = c.period;
    expected.push_back(c.period.front());  // the next period's first part
    EXPECT_EQ(waits.started, expected) << c.interval;
  }
}

}  // namespace
