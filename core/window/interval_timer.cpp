#include "core/window/interval_timer.h"

#include <algorithm>

namespace core {

IntervalTimer::IntervalTimer(WaitTimer& waits, std::uint32_t longest_wait_ms)
    : waits_(waits), longest_wait_ms_(std::clamp<std::uint32_t>(longest_wait_ms, 1, WaitTimer::kLongestWaitMs)) {}

void IntervalTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void IntervalTimer::SetInterval(std::uint32_t interval_ms) {
  if (interval_ms == interval_) return;
  interval_ = interval_ms;
  Restart();
}

bool IntervalTimer::WaitEnded() {
  if (!waiting_) return false;
  if (left_after_this_part_ > 0) {
    WaitNextPart();
    return false;
  }
  left_after_this_part_ = interval_;
  WaitNextPart();
  return true;
}

void IntervalTimer::Restart() {
  if (waiting_) waits_.StopWait();
  waiting_ = false;
  left_after_this_part_ = 0;
  // The window timer this stands for never ticks with a zero interval.
  if (!enabled_ || interval_ == 0) return;
  left_after_this_part_ = interval_;
  WaitNextPart();
}

void IntervalTimer::WaitNextPart() {
  const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(left_after_this_part_, longest_wait_ms_));
  left_after_this_part_ -= part;
  waiting_ = true;
  waits_.StartWait(part);
}

}  // namespace core
