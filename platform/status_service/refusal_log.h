// The service's lines about refused requests, at most one a second per peer user: the first
// refusal after a quiet second is logged as it is, the ones that follow within the second are
// counted and logged as one line once the second has passed. So a user who floods the service
// with bad or surplus connections costs the log a line a second, not a line a connection.
// Thread-safe.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace status_service {

// The user, group and process of a connection's other end (SO_PEERCRED); `known` is false
// when the system could not tell.
struct Peer {
  bool known = false;
  uid_t uid = static_cast<uid_t>(-1);
  gid_t gid = static_cast<gid_t>(-1);
  pid_t pid = 0;
};

Peer PeerOf(int fd);
// "uid 1000 gid 100 pid 4242", or "an unknown peer".
std::string DescribePeer(const Peer& peer);

class RefusalLog {
 public:
  using Clock = std::chrono::steady_clock;
  using Writer = std::function<void(const std::string& line)>;

  // How often each peer user may cost a line.
  static constexpr std::chrono::seconds kInterval{1};

  explicit RefusalLog(Writer write) : write_(std::move(write)) {}

  // A request of peer was refused for reason: logged now, or counted for a later line.
  void Note(const Peer& peer, const std::string& reason, Clock::time_point now = Clock::now());
  // Logs the counts whose second has passed (all counts when `all`).
  void Flush(Clock::time_point now = Clock::now(), bool all = false);
  // When the next count falls due; nothing when none waits.
  std::optional<Clock::time_point> NextFlush();

 private:
  struct Counted {
    Clock::time_point logged_at;  // of the last line
    int count = 0;                // refusals since that line
    Peer last_peer;
    std::string last_reason;
  };
  void WriteCount(uid_t uid, Counted& counted, Clock::time_point now);

  const Writer write_;
  std::mutex mutex_;
  std::map<uid_t, Counted> peers_;  // the users refused within the last second
};

}  // namespace status_service
