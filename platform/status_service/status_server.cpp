#include "platform/status_service/status_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

#include "platform/netshare/share_status.h"
#include "platform/standard_streams.h"
#include "platform/status_service/listening_socket.h"
#include "platform/status_service/snapshot_cache.h"
#include "platform/status_service/status_protocol.h"

namespace status_service {
namespace {

int signal_pipe_write = -1;

void OnStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto ignored = write(signal_pipe_write, &byte, 1);
  errno = saved;
}

// A pipe that becomes readable when a stop signal arrives, so the accept loop can poll it.
Descriptor StopSignalPipe() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return Descriptor();
  signal_pipe_write = ends[1];
  struct sigaction action{};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal_number, &action, nullptr);
  return Descriptor(ends[0]);
}

std::string PeerOf(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return "an unknown peer";
  return "uid " + std::to_string(peer.uid) + " gid " + std::to_string(peer.gid) + " pid " + std::to_string(peer.pid);
}

void Refuse(int fd, const std::string& reason, Clock::time_point deadline) {
  Log("refused a request from " + PeerOf(fd) + ": " + reason);
  SendAll(fd, EncodeRefusal(reason), deadline);
}

// Why the received bytes are no request to answer; "" when they are one.
std::string RefusalOf(ReceiveEnd end, const std::string& received, std::chrono::milliseconds time_limit) {
  if (end == ReceiveEnd::TooLarge || ProgressOf(received) == RequestProgress::TooLong) return "request too long";
  if (end == ReceiveEnd::TimedOut) return "no complete request within " + std::to_string(time_limit.count()) + " ms";
  if (end == ReceiveEnd::Closed) return "connection closed before the request ended";
  if (end == ReceiveEnd::Failed) return "the request could not be read";
  return ParseRequest(received).refusal;
}

void Serve(int fd, SnapshotCache& cache, std::chrono::milliseconds time_limit) {
  std::string received;
  const auto end = Receive(fd, received, kMaxRequestBytes, Clock::now() + time_limit,
                           [](std::string_view bytes) { return ProgressOf(bytes) != RequestProgress::Incomplete; });
  if (const auto refusal = RefusalOf(end, received, time_limit); !refusal.empty()) {
    return Refuse(fd, refusal, Clock::now() + time_limit);
  }
  const auto reply = netshare::ReplyFor(*cache.Current(), ParseRequest(received).share_name);
  // A client that has gone meanwhile only loses its reply.
  SendAll(fd, EncodeReport(reply.exit_code, reply.report), Clock::now() + time_limit);
}

// The connection threads under way, counted so that a stop can wait for them.
struct Connections {
  std::mutex mutex;
  std::condition_variable ended;
  int active = 0;
};

// What the accept loop and the connection threads share; it lives while any of them runs.
struct Shared {
  Shared(SnapshotCache::Reader reader, std::chrono::milliseconds time_limit)
      : cache(std::move(reader), kSnapshotLifetime), client_time_limit(time_limit) {}
  SnapshotCache cache;
  Connections connections;
  const std::chrono::milliseconds client_time_limit;
};

void ServeInThread(std::shared_ptr<Shared> shared, Descriptor connection) {
  {
    std::lock_guard lock(shared->connections.mutex);
    if (shared->connections.active >= kMaxConnections) {
      return Refuse(connection.Get(), "too many connections", Clock::now());
    }
    ++shared->connections.active;
  }
  try {
    std::thread([shared, connection = std::move(connection)]() mutable {
      try {
        Serve(connection.Get(), shared->cache, shared->client_time_limit);
      } catch (const std::exception& error) {
        Refuse(connection.Get(), std::string("internal error: ") + error.what(), Clock::now() + shared->client_time_limit);
      }
      connection = Descriptor();
      std::lock_guard lock(shared->connections.mutex);
      --shared->connections.active;
      shared->connections.ended.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard lock(shared->connections.mutex);
    --shared->connections.active;
  }
}

std::shared_ptr<Shared> MakeShared(const ServiceOptions& options) {
  const auto tool_time_limit = options.tool_time_limit;
  auto reader = [tool_time_limit] {
    auto snapshot = netshare::ReadStatusSnapshot(tool_time_limit);
    if (!snapshot.problem.empty()) Log("reload failed: " + snapshot.problem);
    return snapshot;
  };
  return std::make_shared<Shared>(reader, options.client_time_limit);
}

void AcceptWaiting(int listening, const std::shared_ptr<Shared>& shared) {
  for (;;) {
    Descriptor connection(accept4(listening, nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.IsOpen()) {
      // Out of descriptors: the waiting client stays queued, so give the others time to end
      // instead of polling round and round.
      if (errno == EMFILE || errno == ENFILE) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return;  // otherwise none left (EAGAIN), or a client that gave up meanwhile
    }
    ServeInThread(shared, std::move(connection));
  }
}

void AcceptUntilStopped(int listening, int stop_signal, const std::shared_ptr<Shared>& shared) {
  for (;;) {
    pollfd watch[2] = {{listening, POLLIN, 0}, {stop_signal, POLLIN, 0}};
    if (poll(watch, 2, -1) < 0 && errno != EINTR) return;
    if (watch[1].revents != 0) return;
    if (watch[0].revents != 0) AcceptWaiting(listening, shared);
  }
}

std::string StartLine(const ServiceOptions& options, gid_t gid) {
  std::string line = "serving share reports on " + options.socket_path + " for group " + options.socket_group + " (gid " +
                     std::to_string(gid) + "); Samba tool time limit " + std::to_string(options.tool_time_limit.count()) +
                     " ms, request time limit " + std::to_string(options.client_time_limit.count()) + " ms";
  if (geteuid() != 0) line += "; not running as root, so every report is access denied";
  return line;
}

}  // namespace

void Log(const std::string& line) { platform::WriteErrorLine("sharemond: " + line); }

int RunStatusService(const ServiceOptions& options) {
  const auto cannot_start = [](const std::string& problem) {
    Log("cannot start: " + problem);
    return 1;
  };
  const auto gid = GroupId(options.socket_group);
  if (!gid) return cannot_start("no group " + options.socket_group);
  const Descriptor stop_signal = StopSignalPipe();
  if (!stop_signal.IsOpen()) return cannot_start("no pipe for the stop signals");
  auto opened = OpenListeningSocket(options.socket_path, *gid);
  if (auto* problem = std::get_if<std::string>(&opened)) return cannot_start(*problem);
  const auto& listening = std::get<ListeningSocket>(opened);
  const auto shared = MakeShared(options);
  Log(StartLine(options, *gid));
  AcceptUntilStopped(listening.descriptor.Get(), stop_signal.Get(), shared);
  RemoveSocketFile(options.socket_path, listening);
  std::unique_lock lock(shared->connections.mutex);
  shared->connections.ended.wait(lock, [&] { return shared->connections.active == 0; });
  Log("stopped");
  return 0;
}

}  // namespace status_service
