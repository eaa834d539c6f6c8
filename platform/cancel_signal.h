// A request to stop, passed from the thread that decides (a window, a signal handler) to the
// thread that waits (a running console command, the headless run's sleep). Cancel() may come
// from any thread at any moment, also from a signal handler on Linux; once given it stays
// given until Reset(). Linux keeps it in a pipe, so a waiter can poll it beside its own file
// descriptors; Windows keeps it in a manual-reset event, which a waiter can wait on beside a
// process handle. Neither needs the standard library's threads, which the Windows build lacks.
#pragma once

#include <chrono>

#include "platform/owned_handle.h"

namespace platform {

class CancelSignal {
 public:
  CancelSignal();
  CancelSignal(const CancelSignal&) = delete;
  CancelSignal& operator=(const CancelSignal&) = delete;

  // Thread-safe; on Linux also async-signal-safe (one write to a pipe).
  void Cancel();
  bool Cancelled() const;
  // Withdraws a Cancel(), for a signal reused between runs. Call it only while no one waits.
  void Reset();
  // Waits up to `duration`; true as soon as the signal is given (at once if it was given).
  bool WaitFor(std::chrono::milliseconds duration) const;

#ifdef _WIN32
  // The event a waiter watches beside its own handles.
  void* Event() const { return event_.Get(); }
#else
  // A file descriptor that is readable once the signal is given, for a waiter's poll().
  int ReadableWhenCancelled() const { return read_end_.Get(); }
#endif

 private:
#ifdef _WIN32
  Handle event_;
#else
  Descriptor read_end_;
  Descriptor write_end_;
#endif
};

}  // namespace platform
