#include "app/window_timer.h"

#include <algorithm>

TTimer::TTimer(QObject* parent, std::uint32_t longest_single_wait_ms)
    : QObject(parent), longest_single_wait_ms_(std::max<std::uint32_t>(1, longest_single_wait_ms)) {
  wait_.setSingleShot(true);
  // A coarse timer may fire a little early; a poll interval is a promise about spacing.
  wait_.setTimerType(Qt::PreciseTimer);
  connect(&wait_, &QTimer::timeout, this, &TTimer::PartEnded);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TTimer::SetInterval(std::uint32_t interval_ms) {
  if (interval_ms == interval_) return;
  interval_ = interval_ms;
  Restart();
}

std::uint64_t TTimer::PendingMs() const {
  if (!wait_.isActive()) return 0;
  return left_after_this_part_ + static_cast<std::uint64_t>(std::max(0, wait_.remainingTime()));
}

void TTimer::Restart() {
  wait_.stop();
  left_after_this_part_ = 0;
  // A zero interval would make QTimer fire on every pass of the event loop; the window
  // timer this stands for simply never ticks.
  if (!enabled_ || interval_ == 0) return;
  left_after_this_part_ = interval_;
  WaitNextPart();
}

void TTimer::WaitNextPart() {
  const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(left_after_this_part_, longest_single_wait_ms_));
  left_after_this_part_ -= part;
  wait_.start(static_cast<int>(part));
}

void TTimer::PartEnded() {
  if (left_after_this_part_ > 0) {
    WaitNextPart();
    return;
  }
  // The next period runs from now, whatever the handler does; a handler that changes the
  // interval or disables the timer restarts or stops it through the setters.
  left_after_this_part_ = interval_;
  WaitNextPart();
  emit Timer();
}
