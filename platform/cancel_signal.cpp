#include "platform/cancel_signal.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#endif

namespace platform {

#ifdef _WIN32

CancelSignal::CancelSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void CancelSignal::Cancel() { SetEvent(event_.Get()); }

bool CancelSignal::Cancelled() const { return WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0; }

void CancelSignal::Reset() { ResetEvent(event_.Get()); }

bool CancelSignal::WaitFor(std::chrono::milliseconds duration) const {
  const auto milliseconds = duration.count() < 0 ? 0 : duration.count();
  return WaitForSingleObject(event_.Get(), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

#else

CancelSignal::CancelSignal() {
  int ends[2];
  // Non-blocking both ways: Cancel() never blocks on a full pipe, Reset() never on an empty one.
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot create the cancel pipe");
  read_end_ = Descriptor(ends[0]);
  write_end_ = Descriptor(ends[1]);
}

void CancelSignal::Cancel() {
  const char byte = 1;
  // A full pipe already holds a cancel; nothing more to say.
  while (write(write_end_.Get(), &byte, 1) < 0 && errno == EINTR) {
  }
}

bool CancelSignal::Cancelled() const { return WaitFor(std::chrono::milliseconds(0)); }

void CancelSignal::Reset() {
  char buffer[64];
  while (read(read_end_.Get(), buffer, sizeof buffer) > 0 || errno == EINTR) {
  }
}

bool CancelSignal::WaitFor(std::chrono::milliseconds duration) const {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd watch{read_end_.Get(), POLLIN, 0};
    // poll() takes an int of milliseconds; a longer wait goes round the loop again.
    const auto timeout = std::clamp<std::int64_t>(left.count(), 0, 1 << 30);
    const int ready = poll(&watch, 1, static_cast<int>(timeout));
    if (ready > 0) return true;
    if (ready == 0 && left.count() <= 0) return false;
    if (ready < 0 && errno != EINTR) return false;
  }
}

#endif

}  // namespace platform
