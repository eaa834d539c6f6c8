#include "platform/status_service/status_client.h"

#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <variant>

#include "platform/status_service/socket_io.h"
#include "platform/status_service/status_protocol.h"

namespace status_service {
namespace {

using Outcome = ServiceAnswer::Outcome;

ServiceAnswer Failure(std::string problem) { return {Outcome::Failed, 0, "", "", std::move(problem)}; }

// The group that owns the socket file, by name when it has one.
std::string SocketGroup(const std::string& socket_path) {
  struct stat status{};
  if (stat(socket_path.c_str(), &status) != 0) return "";
  group entry{};
  group* found = nullptr;
  char buffer[4096];
  if (getgrgid_r(status.st_gid, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
    return std::to_string(status.st_gid);
  }
  return found->gr_name;
}

// A connected socket, or the answer that says why there is none.
std::variant<Descriptor, ServiceAnswer> Connect(const std::string& socket_path, std::chrono::milliseconds time_limit) {
  const auto address = UnixAddress(socket_path);
  if (!address) return Failure("the socket path is too long: " + socket_path);
  Descriptor socket_fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket_fd.IsOpen()) return Failure(std::string("no socket: ") + std::strerror(errno));
  // A Unix socket's connect waits for room in the service's backlog at most this long.
  const timeval wait{static_cast<time_t>(time_limit.count() / 1000), static_cast<suseconds_t>(time_limit.count() % 1000 * 1000)};
  setsockopt(socket_fd.Get(), SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
  while (connect(socket_fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
    if (errno == EINTR) continue;
    if (errno == ENOENT || errno == ECONNREFUSED || errno == ENOTDIR) return ServiceAnswer{Outcome::NoService, 0, "", "", ""};
    if (errno == EACCES || errno == EPERM) return ServiceAnswer{Outcome::NotMember, 0, "", SocketGroup(socket_path), ""};
    return Failure("cannot connect to " + socket_path + ": " + std::strerror(errno));
  }
  return socket_fd;
}

ServiceAnswer Exchange(int socket_fd, const std::string& request, Clock::time_point deadline) {
  if (!SendAll(socket_fd, request, deadline)) return Failure("the service did not take the request");
  std::string received;
  const auto end = Receive(socket_fd, received, kMaxReplyBytes, deadline, [](std::string_view) { return false; });
  if (end == ReceiveEnd::TimedOut) return Failure("the service did not answer in time");
  if (end != ReceiveEnd::Closed) return Failure("the reply could not be read");
  const auto reply = ParseReply(received);
  if (!reply) return Failure("the reply is malformed or cut short");
  if (reply->refused) return Failure("the service refused the request: " + reply->text);
  return {Outcome::Answered, reply->exit_code, reply->text, "", ""};
}

}  // namespace

ServiceAnswer AskForReport(const std::string& socket_path, std::string_view share_name,
                           std::chrono::milliseconds time_limit) {
  return Ask(socket_path, share_name, RequestKind::kReport, time_limit);
}

ServiceAnswer Ask(const std::string& socket_path, std::string_view share_name, RequestKind kind,
                  std::chrono::milliseconds time_limit) {
  const auto deadline = Clock::now() + time_limit;
  auto connected = Connect(socket_path, time_limit);
  if (auto* answer = std::get_if<ServiceAnswer>(&connected)) return std::move(*answer);
  return Exchange(std::get<Descriptor>(connected).Get(), EncodeRequest(share_name, kind), deadline);
}

}  // namespace status_service
