#include "platform/status_service/request_intake.h"

#include <algorithm>
#include <map>

#include "platform/status_service/status_protocol.h"

namespace status_service {
namespace {

// Why the waiting ended without a request; "" when a request came.
std::string RefusalOf(ReceiveEnd end, const std::string& received) {
  if (end == ReceiveEnd::TooLarge || ProgressOf(received) == RequestProgress::TooLong) return "request too long";
  if (end == ReceiveEnd::TimedOut) return "no complete request within " + std::to_string(kRequestTimeLimit.count()) + " ms";
  if (end == ReceiveEnd::Closed) return "connection closed before the request ended";
  if (end == ReceiveEnd::Failed) return "the request could not be read";
  return "";
}

}  // namespace

std::optional<ArrivedRequest> RequestIntake::Add(Descriptor connection, Clock::time_point now) {
  const Peer peer = PeerOf(connection.Get());
  waiting_.push_back({std::move(connection), peer, now + kRequestTimeLimit, ""});
  if (waiting_.size() <= kMaxWaitingRequests) return std::nullopt;
  return PushOutOneOfTheMost();
}

ArrivedRequest RequestIntake::PushOutOneOfTheMost() {
  std::map<uid_t, std::size_t> held;
  for (const auto& waiting : waiting_) ++held[waiting.peer.uid];
  const uid_t most = std::max_element(held.begin(), held.end(), [](const auto& a, const auto& b) {
                       return a.second < b.second;
                     })->first;
  const auto oldest = std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.peer.uid == most; });
  ArrivedRequest pushed{std::move(oldest->connection), oldest->peer, "", kTooManyConnections};
  waiting_.erase(oldest);
  return pushed;
}

void RequestIntake::AppendWatch(std::vector<pollfd>& watch) const {
  for (const auto& waiting : waiting_) watch.push_back({waiting.connection.Get(), POLLIN, 0});
}

ArrivedRequest RequestIntake::Arrived(Waiting& waiting, ReceiveEnd end) {
  ArrivedRequest arrived{std::move(waiting.connection), waiting.peer, "", RefusalOf(end, waiting.received), RequestKind::kReport};
  if (!arrived.refusal.empty()) return arrived;
  auto parsed = ParseRequest(waiting.received);
  arrived.share_name = std::move(parsed.share_name);
  arrived.refusal = std::move(parsed.refusal);
  arrived.kind = parsed.kind;
  return arrived;
}

std::vector<ArrivedRequest> RequestIntake::Collect(std::span<const pollfd> polled, Clock::time_point now) {
  std::vector<ArrivedRequest> arrived;
  std::size_t index = 0;
  for (auto waiting = waiting_.begin(); waiting != waiting_.end(); ++index) {
    const bool ready = index < polled.size() && polled[index].revents != 0;
    // A deadline already passed makes Receive take what is there without waiting for more.
    const auto end = ready || now >= waiting->deadline
                         ? Receive(waiting->connection.Get(), waiting->received, kMaxRequestBytes, now,
                                   [](std::string_view bytes) { return ProgressOf(bytes) != RequestProgress::Incomplete; })
                         : ReceiveEnd::TimedOut;
    if (end == ReceiveEnd::TimedOut && now < waiting->deadline) {
      ++waiting;
      continue;
    }
    arrived.push_back(Arrived(*waiting, end));
    waiting = waiting_.erase(waiting);
  }
  return arrived;
}

RequestIntake::Clock::time_point RequestIntake::NextDeadline() const {
  // The oldest connection came first, so its deadline is the earliest.
  return waiting_.empty() ? Clock::time_point::max() : waiting_.front().deadline;
}

}  // namespace status_service
