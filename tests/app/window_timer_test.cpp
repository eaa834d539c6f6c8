// The window timer's semantics, with short real intervals.
#include "app/window_timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "qt_application.h"

namespace {

class WindowTimerTest : public testing::Test {
 protected:
  void SetUp() override { TestApplication(); }

  // Counts ticks and the time of each from the start of the test.
  void Watch(TTimer& timer) {
    QObject::connect(&timer, &TTimer::Timer, [this] { tick_times_.push_back(clock_.elapsed()); });
    clock_.start();
  }

  QElapsedTimer clock_;
  std::vector<qint64> tick_times_;
};

TEST_F(WindowTimerTest, StartsDisabledWithOneSecond) {
  TTimer timer;
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_EQ(timer.PendingMs(), 0u);
}

TEST_F(WindowTimerTest, TicksEveryIntervalWhileEnabled) {
  TTimer timer;
  Watch(timer);
  timer.SetInterval(20);
  timer.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return tick_times_.size() >= 3; }, 2000));
  EXPECT_GE(tick_times_[0], 15);
  timer.SetEnabled(false);
  const size_t ticks = tick_times_.size();
  QTest::qWait(60);
  EXPECT_EQ(tick_times_.size(), ticks);
}

// QTimer with 0 fires on every pass of the event loop; the window timer never fires.
TEST_F(WindowTimerTest, ZeroIntervalGivesNoTicks) {
  TTimer timer;
  Watch(timer);
  timer.SetInterval(0);
  timer.SetEnabled(true);
  QTest::qWait(50);
  EXPECT_TRUE(tick_times_.empty());
  EXPECT_EQ(timer.PendingMs(), 0u);
  EXPECT_TRUE(timer.Enabled());
}

TEST_F(WindowTimerTest, IntervalAboveSignedRangeIsHonouredInFull) {
  TTimer timer;
  timer.SetInterval(0x80000005u);
  timer.SetEnabled(true);
  EXPECT_GT(timer.PendingMs(), 0x80000000u - 1000);
  EXPECT_LE(timer.PendingMs(), 0x80000005u);
  timer.SetInterval(0xFFFFFFFFu);
  EXPECT_GT(timer.PendingMs(), 0xFFFFFFFFull - 1000);
}

// With parts of at most 10 ms, a 60 ms interval must still tick only after 60 ms.
TEST_F(WindowTimerTest, LongIntervalsAreWaitedForInParts) {
  TTimer timer(nullptr, 10);
  Watch(timer);
  timer.SetInterval(60);
  timer.SetEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return tick_times_.size() >= 2; }, 2000));
  EXPECT_GE(tick_times_[0], 55);
  EXPECT_GE(tick_times_[1] - tick_times_[0], 50);
}

TEST_F(WindowTimerTest, ChangingTheIntervalRestartsThePeriod) {
  TTimer timer;
  Watch(timer);
  timer.SetInterval(150);
  timer.SetEnabled(true);
  QTest::qWait(100);
  timer.SetInterval(120);  // a new period of 120 ms from now, not 20 ms left of the old one
  const qint64 changed_at = clock_.elapsed();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !tick_times_.empty(); }, 2000));
  EXPECT_GE(tick_times_[0] - changed_at, 110);
}

TEST_F(WindowTimerTest, SettingTheSameIntervalKeepsThePeriod) {
  TTimer timer;
  Watch(timer);
  timer.SetInterval(300);
  timer.SetEnabled(true);
  QTest::qWait(200);
  timer.SetInterval(300);  // a restart would put the tick at 500 ms or later
  ASSERT_TRUE(QTest::qWaitFor([&] { return !tick_times_.empty(); }, 2000));
  EXPECT_LT(tick_times_[0], 450);
}

TEST_F(WindowTimerTest, HandlerChangingTheIntervalTakesEffectFromItsTick) {
  TTimer timer;
  Watch(timer);
  QObject::connect(&timer, &TTimer::Timer, [&timer] { timer.SetInterval(0); });
  timer.SetInterval(10);
  timer.SetEnabled(true);
  QTest::qWait(80);
  EXPECT_EQ(tick_times_.size(), 1u);
}

}  // namespace
