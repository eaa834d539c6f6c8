// The connections whose request is still coming in, read side by side by the service's accept
// loop: a client slow to send holds a descriptor for at most kRequestTimeLimit and never a
// thread. At most kMaxWaitingRequests wait at once; one more pushes out the oldest connection
// of the peer user who holds the most, so one user's crowd cannot keep the others out.
#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/status_service/refusal_log.h"
#include "platform/status_service/socket_io.h"
#include "platform/status_service/status_protocol.h"

namespace status_service {

// The request is one line: a client that has connected sends it at once.
inline constexpr std::chrono::milliseconds kRequestTimeLimit{1000};
inline constexpr std::size_t kMaxWaitingRequests = 512;
// The refusal of a connection beyond what the service gives one user or all of them.
inline constexpr char kTooManyConnections[] = "too many connections";

// A connection whose waiting has ended: with a request to answer, or a reason to refuse it.
struct ArrivedRequest {
  Descriptor connection;
  Peer peer;
  std::string share_name;
  std::string refusal;  // "" for a request to answer
  RequestKind kind = RequestKind::kReport;
};

class RequestIntake {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts waiting for connection's request. When that passes the limit, the connection
  // pushed out to make room is returned, to be refused.
  std::optional<ArrivedRequest> Add(Descriptor connection, Clock::time_point now = Clock::now());
  // Appends what poll() should watch for the waiting connections, in their order.
  void AppendWatch(std::vector<pollfd>& watch) const;
  // Reads what has arrived where polled (exactly the entries AppendWatch gave, with their
  // revents: nothing may be added in between) and returns, oldest first, the connections whose
  // request is whole, cannot become one, or did not come within the time limit.
  std::vector<ArrivedRequest> Collect(std::span<const pollfd> polled, Clock::time_point now = Clock::now());
  // The earliest time limit of a waiting connection; Clock::time_point::max() when none waits.
  Clock::time_point NextDeadline() const;
  std::size_t Size() const { return waiting_.size(); }

 private:
  struct Waiting {
    Descriptor connection;
    Peer peer;
    Clock::time_point deadline;
    std::string received;
  };
  ArrivedRequest PushOutOneOfTheMost();
  static ArrivedRequest Arrived(Waiting& waiting, ReceiveEnd end);

  std::list<Waiting> waiting_;  // oldest first
};

}  // namespace status_service
