#include "platform/status_service/status_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <variant>
#include <vector>

#include "platform/netshare/share_status.h"
#include "platform/standard_streams.h"
#include "platform/status_service/listening_socket.h"
#include "platform/status_service/record_replies.h"
#include "platform/status_service/refusal_log.h"
#include "platform/status_service/request_intake.h"
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

// The connections being answered, each by a thread of its own: at most kMaxConnections in
// all and kMaxConnectionsPerPeer of one user, so that no user takes the others' turn.
class AnswerSlots {
 public:
  bool Take(uid_t uid) {
    std::lock_guard lock(mutex_);
    const auto peer = per_peer_.find(uid);
    if (active_ >= kMaxConnections || (peer != per_peer_.end() && peer->second >= kMaxConnectionsPerPeer)) return false;
    ++active_;
    ++per_peer_[uid];
    return true;
  }
  void Give(uid_t uid) {
    std::lock_guard lock(mutex_);
    --active_;
    if (--per_peer_[uid] == 0) per_peer_.erase(uid);
    ended_.notify_all();
  }
  void WaitUntilNone() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [&] { return active_ == 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  int active_ = 0;
  std::map<uid_t, int> per_peer_;
};

// What the accept loop and the connection threads share; it lives while any of them runs.
struct Shared {
  Shared(SnapshotCache::Reader reader, std::chrono::milliseconds time_limit)
      : cache(std::move(reader), kSnapshotLifetime), refusals(Log), client_time_limit(time_limit) {}
  SnapshotCache cache;
  AnswerSlots slots;
  RefusalLog refusals;
  const std::chrono::milliseconds client_time_limit;
};

void Refuse(Shared& shared, const ArrivedRequest& request, const std::string& reason, Clock::time_point deadline) {
  shared.refusals.Note(request.peer, reason);
  SendAll(request.connection.Get(), EncodeRefusal(reason), deadline);
}

std::string ReplyTo(const ArrivedRequest& request, const netshare::StatusSnapshot& snapshot) {
  if (request.kind != RequestKind::kReport) return EncodeReport(0, RecordsReply(snapshot, request.kind, request.share_name));
  const auto reply = netshare::ReplyFor(snapshot, request.share_name);
  return EncodeReport(reply.exit_code, reply.report);
}

// Answers on a thread of its own: the answer may wait for a reading of Samba.
void Answer(std::shared_ptr<Shared> shared, ArrivedRequest request) {
  const uid_t uid = request.peer.uid;
  try {
    std::thread([shared, request = std::move(request)]() mutable {
      const auto deadline = [&] { return Clock::now() + shared->client_time_limit; };
      try {
        // A client that has gone meanwhile only loses its reply.
        SendAll(request.connection.Get(), ReplyTo(request, *shared->cache.Current()), deadline());
      } catch (const std::exception& error) {
        Refuse(*shared, request, std::string("internal error: ") + error.what(), deadline());
      }
      const uid_t uid = request.peer.uid;
      request.connection = Descriptor();
      shared->slots.Give(uid);
    }).detach();
  } catch (const std::system_error&) {
    shared->slots.Give(uid);
  }
}

// A connection whose waiting ended: answered when its user has a slot left, refused otherwise.
// Refusals go out at once: a short line into an empty socket buffer.
void Dispatch(const std::shared_ptr<Shared>& shared, ArrivedRequest request) {
  if (!request.refusal.empty()) return Refuse(*shared, request, request.refusal, Clock::now());
  if (!shared->slots.Take(request.peer.uid)) return Refuse(*shared, request, kTooManyConnections, Clock::now());
  Answer(shared, std::move(request));
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

void AcceptWaiting(int listening, RequestIntake& intake, const std::shared_ptr<Shared>& shared) {
  for (;;) {
    Descriptor connection(accept4(listening, nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.IsOpen()) {
      // Out of descriptors: the waiting client stays queued, so give the others time to end
      // instead of polling round and round.
      if (errno == EMFILE || errno == ENFILE) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return;  // otherwise none left (EAGAIN), or a client that gave up meanwhile
    }
    if (auto pushed_out = intake.Add(std::move(connection))) Dispatch(shared, std::move(*pushed_out));
  }
}

// Until a stop signal: reads the requests of all waiting connections side by side, hands each
// whole one to a thread, and logs the refusal counts as they fall due.
void ServeUntilStopped(int listening, int stop_signal, const std::shared_ptr<Shared>& shared) {
  RequestIntake intake;
  for (;;) {
    std::vector<pollfd> watch{{listening, POLLIN, 0}, {stop_signal, POLLIN, 0}};
    intake.AppendWatch(watch);
    const auto wake = std::min(intake.NextDeadline(), shared->refusals.NextFlush().value_or(Clock::time_point::max()));
    const int timeout = wake == Clock::time_point::max() ? -1 : MillisecondsUntil(wake);
    if (poll(watch.data(), watch.size(), timeout) < 0 && errno != EINTR) return;
    if (watch[1].revents != 0) return;
    const auto now = Clock::now();
    for (auto& request : intake.Collect(std::span(watch).subspan(2), now)) Dispatch(shared, std::move(request));
    if (watch[0].revents != 0) AcceptWaiting(listening, intake, shared);
    shared->refusals.Flush(now);
  }
}

std::string StartLine(const ServiceOptions& options, gid_t gid) {
  std::string line = "serving share reports on " + options.socket_path + " for group " + options.socket_group + " (gid " +
                     std::to_string(gid) + "); Samba tool time limit " + std::to_string(options.tool_time_limit.count()) +
                     " ms, request time limit " + std::to_string(kRequestTimeLimit.count()) + " ms, reply time limit " +
                     std::to_string(options.client_time_limit.count()) + " ms";
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
  ServeUntilStopped(listening.descriptor.Get(), stop_signal.Get(), shared);
  RemoveSocketFile(options.socket_path, listening);
  shared->slots.WaitUntilNone();
  shared->refusals.Flush(Clock::now(), true);
  Log("stopped");
  return 0;
}

}  // namespace status_service
