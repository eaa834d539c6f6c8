// Unix stream sockets with deadlines, as the status service and its clients both use them:
// the address of a socket path, sending and receiving until a deadline, on descriptors owned
// by platform::Descriptor. Nothing here raises SIGPIPE or blocks past its deadline.
#pragma once

#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/owned_handle.h"

namespace status_service {

using Clock = std::chrono::steady_clock;

// The service's sockets and pipes are owned as every descriptor of the program is.
using platform::Descriptor;

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
