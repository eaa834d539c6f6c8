// TTimer: the window timer the polling run relies on. Ticks arrive through the message loop
// while it is enabled; an interval of 0 gives no ticks at all; the interval is an unsigned
// 32-bit count of milliseconds, honoured in full (up to about 49.7 days) although QTimer
// takes at most 2^31 - 1 ms at once; setting a different interval, or enabling, starts a new
// period from that moment.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

class TTimer : public QObject {
  Q_OBJECT
 public:
  // The longest single QTimer wait; a longer interval is waited for in several parts.
  static constexpr std::uint32_t kLongestSingleWaitMs = 0x7FFFFFFF;

  // Disabled, interval 1000 ms. `longest_single_wait_ms` (>= 1) lets tests see the waits chained.
  explicit TTimer(QObject* parent = nullptr, std::uint32_t longest_single_wait_ms = kLongestSingleWaitMs);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  // Stores only a different value; while enabled, the period then starts anew.
  void SetInterval(std::uint32_t interval_ms);

  // Milliseconds of the current period not yet waited for in earlier parts plus the part now
  // running; 0 when no tick is pending (disabled or interval 0).
  std::uint64_t PendingMs() const;

 signals:
  // One tick (OnTimer). Only one is ever pending: a tick that comes while the handler of the
  // last one still runs is not queued twice.
  void Timer();

 private:
  void Restart();
  void WaitNextPart();
  void PartEnded();

  QTimer wait_;
  bool enabled_ = false;
  std::uint32_t interval_ = 1000;
  std::uint32_t longest_single_wait_ms_;
  std::uint64_t left_after_this_part_ = 0;
};
