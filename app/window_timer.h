// Timer1's waits in the window: one precise single-shot QTimer. The poll timer's logic
// (core::IntervalTimer: enabled, interval, periods, intervals longer than one wait) lives in
// the window logic; this only waits, and its timeout is the window's timer event.
#pragma once

#include <QTimer>
#include <cstdint>

#include "core/window/event_loop.h"

class WindowTimer : public QTimer, public core::WaitTimer {
 public:
  explicit WindowTimer(QObject* parent = nullptr);

  void StartWait(std::uint32_t ms) override { start(static_cast<int>(ms)); }
  void StopWait() override { stop(); }
};
