// The window's poll timer: while enabled it ticks once every interval; the interval is an
// unsigned 32-bit count of milliseconds, honoured in full (up to about 49.7 days) although a
// shell's timer waits at most 2^31 - 1 ms at once, so a longer interval is waited for in
// parts; an interval of 0 gives no ticks at all; setting a different interval, or enabling,
// starts a new period from that moment. Only one tick is ever pending.
#pragma once

#include <cstdint>

#include "core/window/event_loop.h"

namespace core {

class IntervalTimer {
 public:
  // Disabled, interval 1000 ms, waiting through `waits`, which outlives it. Waits last at most
  // `longest_wait_ms` (>= 1; tests make it short to see the parts).
  explicit IntervalTimer(WaitTimer& waits, std::uint32_t longest_wait_ms = WaitTimer::kLongestWaitMs);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  // Stores only a different value; while enabled, the period then starts anew.
  void SetInterval(std::uint32_t interval_ms);

  // The wait has passed. True when that ended the period: a tick is due, and the next period
  // has already begun (a handler that changes the interval or disables the timer restarts or
  // stops it through the setters). False for a part of a longer interval or a stale report.
  bool WaitEnded();

 private:
  void Restart();
  void WaitNextPart();

  WaitTimer& waits_;
  std::uint32_t longest_wait_ms_;
  bool enabled_ = false;
  std::uint32_t interval_ = 1000;
  bool waiting_ = false;
  std::uint64_t left_after_this_part_ = 0;
};

}  // namespace core
