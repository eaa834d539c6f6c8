// Unix stream sockets with deadlines, as the status service and its clients both use them:
// an owned descriptor, the address of a socket path, sending and receiving until a deadline.
// Nothing here raises SIGPIPE or blocks past its deadline.
#pragma once

#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace status_service {

using Clock = std::chrono::steady_clock;

// Owns one file descriptor and closes it when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor();
  Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release();

 private:
  int fd_;
};

// The address of a socket at path; nothing when the path does not fit (108 bytes with its NUL).
std::optional<sockaddr_un> UnixAddress(const std::string& path);

// Milliseconds from now to deadline for poll(), 0 once it has passed.
int MillisecondsUntil(Clock::time_point deadline);

// Sends every byte before deadline (MSG_NOSIGNAL: a peer that went away gives EPIPE, not a
// signal). False when the peer went away, on an error, or at the deadline.
bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline);

enum class ReceiveEnd {
  Enough,    // enough(received) said so
  Closed,    // the peer closed its side
  TimedOut,  // the deadline came first
  TooLarge,  // more than limit bytes arrived
  Failed,    // the socket reported an error
};

// Appends what arrives to received until enough(received) holds, the peer closes, more than
// limit bytes have arrived, or the deadline passes.
ReceiveEnd Receive(int fd, std::string& received, std::size_t limit, Clock::time_point deadline,
                   const std::function<bool(std::string_view)>& enough);

}  // namespace status_service
