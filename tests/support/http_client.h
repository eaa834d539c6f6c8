// Sockets on 127.0.0.1 for tests and benchmarks that talk to a real server: a free port, and a
// plain HTTP/1.1 client, one request per connection ("Connection: close"), the answer read up
// to its Content-Length or to the end. Blocking POSIX sockets, so it runs on any thread
// without an event loop.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>

struct HttpResponse {
  int status = 0;  // 0: no answer (refused, closed, timed out)
  std::string headers;
  std::string body;
};

// A port on 127.0.0.1 nobody listens on right now, chosen by the system.
inline int FreeLocalPort() {
  const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

// A connected socket to 127.0.0.1:port whose reads give up after `timeout`, or -1.
inline int ConnectLocal(int port, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  timeval limit{static_cast<time_t>(timeout.count() / 1000), static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

inline bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t count = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    sent += static_cast<std::size_t>(count);
  }
  return true;
}

// Reads one answer from a connection that has sent its request.
inline HttpResponse ReadResponse(int fd) {
  HttpResponse response;
  std::string data;
  char buffer[65536];
  std::size_t header_end = std::string::npos;
  std::size_t wanted = std::string::npos;
  for (;;) {
    if (header_end == std::string::npos && (header_end = data.find("\r\n\r\n")) != std::string::npos) {
      response.headers = data.substr(0, header_end + 2);
      const std::size_t length = response.headers.find("\ncontent-length:") != std::string::npos
                                     ? response.headers.find("\ncontent-length:")
                                     : response.headers.find("\nContent-Length:");
      if (length != std::string::npos) wanted = header_end + 4 + std::strtoul(response.headers.c_str() + length + 16, nullptr, 10);
    }
    if (wanted != std::string::npos && data.size() >= wanted) break;
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    data.append(buffer, static_cast<std::size_t>(count));
  }
  if (header_end == std::string::npos || data.compare(0, 9, "HTTP/1.1 ") != 0) return {};
  response.status = std::atoi(data.c_str() + 9);
  response.body = data.substr(header_end + 4);
  return response;
}

inline HttpResponse HttpRequest(int port, const std::string& method, const std::string& target) {
  const int fd = ConnectLocal(port);
  if (fd < 0) return {};
  HttpResponse response;
  if (SendAll(fd, method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")) {
    response = ReadResponse(fd);
  }
  close(fd);
  return response;
}

inline HttpResponse HttpGet(int port, const std::string& target) { return HttpRequest(port, "GET", target); }

// True when the peer closes the connection (an end of stream or a reset) within `within`;
// whatever it sends before is read and dropped.
inline bool ClosedByPeer(int fd, std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{fd, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t count = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) return true;
  }
}
