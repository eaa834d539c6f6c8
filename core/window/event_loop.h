// The two services of the window's event loop the window logic needs: running a closure on the
// window's thread (a probe's result, a box that must not open inside a run) and one wait of a
// timer. A shell implements them over its loop (a queued call and a QTimer, a posted message
// and SetTimer).
#pragma once

#include <cstdint>
#include <functional>

namespace core {

class Poster {
 public:
  virtual ~Poster() = default;
  // Runs `closure` later on the window's thread, from its event loop, in the order posted.
  // May be called from any thread.
  virtual void Post(std::function<void()> closure) = 0;
};

class WaitTimer {
 public:
  // The longest wait a shell's timer takes at once (QTimer's int, SetTimer's limit).
  static constexpr std::uint32_t kLongestWaitMs = 0x7FFFFFFF;

  virtual ~WaitTimer() = default;
  // Starts one wait of `ms` milliseconds (1 .. kLongestWaitMs), replacing a wait that runs.
  // When it has passed, the shell tells the logic once, from its event loop
  // (WindowLogic::TimerWaitEnded).
  virtual void StartWait(std::uint32_t ms) = 0;
  // The wait that runs ends without being reported.
  virtual void StopWait() = 0;
};

}  // namespace core
