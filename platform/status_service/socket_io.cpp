#include "platform/status_service/socket_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace status_service {

std::optional<sockaddr_un> UnixAddress(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

namespace {

// Waits until fd is ready for events; false at the deadline or on an error.
bool WaitReady(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd watch{fd, events, 0};
    const int ready = poll(&watch, 1, MillisecondsUntil(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

}  // namespace

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
  while (!bytes.empty()) {
    if (!WaitReady(fd, POLLOUT, deadline)) return false;
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

ReceiveEnd Receive(int fd, std::string& received, std::size_t limit, Clock::time_point deadline,
                   const std::function<bool(std::string_view)>& enough) {
  char buffer[4096];
  for (;;) {
    if (enough(received)) return ReceiveEnd::Enough;
    if (received.size() > limit) return ReceiveEnd::TooLarge;
    if (!WaitReady(fd, POLLIN, deadline)) return Clock::now() >= deadline ? ReceiveEnd::TimedOut : ReceiveEnd::Failed;
    const ssize_t count = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (count < 0) return ReceiveEnd::Failed;
    if (count == 0) return ReceiveEnd::Closed;
    received.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace status_service
