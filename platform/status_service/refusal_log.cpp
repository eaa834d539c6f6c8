#include "platform/status_service/refusal_log.h"

#include <sys/socket.h>

namespace status_service {

Peer PeerOf(int fd) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return {};
  return {true, credentials.uid, credentials.gid, credentials.pid};
}

std::string DescribePeer(const Peer& peer) {
  if (!peer.known) return "an unknown peer";
  return "uid " + std::to_string(peer.uid) + " gid " + std::to_string(peer.gid) + " pid " + std::to_string(peer.pid);
}

void RefusalLog::Note(const Peer& peer, const std::string& reason, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const auto [entry, first] = peers_.try_emplace(peer.uid);
  Counted& counted = entry->second;
  if (first || (counted.count == 0 && now - counted.logged_at >= kInterval)) {
    write_("refused a request from " + DescribePeer(peer) + ": " + reason);
    counted.logged_at = now;
    return;
  }
  ++counted.count;
  counted.last_peer = peer;
  counted.last_reason = reason;
}

void RefusalLog::WriteCount(uid_t uid, Counted& counted, Clock::time_point now) {
  const std::string who = counted.last_peer.known ? "uid " + std::to_string(uid) : "unknown peers";
  write_("refused " + std::to_string(counted.count) + " more request" + (counted.count == 1 ? "" : "s") + " from " +
         who + " since the last line, the last from " + DescribePeer(counted.last_peer) + ": " + counted.last_reason);
  counted.count = 0;
  counted.logged_at = now;
}

void RefusalLog::Flush(Clock::time_point now, bool all) {
  std::lock_guard lock(mutex_);
  for (auto entry = peers_.begin(); entry != peers_.end();) {
    Counted& counted = entry->second;
    const bool due = all || now - counted.logged_at >= kInterval;
    if (due && counted.count > 0) WriteCount(entry->first, counted, now);
    // A peer quiet for a second is forgotten: its next refusal is logged at once.
    entry = due && counted.count == 0 && now - counted.logged_at >= kInterval ? peers_.erase(entry) : std::next(entry);
  }
}

std::optional<RefusalLog::Clock::time_point> RefusalLog::NextFlush() {
  std::lock_guard lock(mutex_);
  std::optional<Clock::time_point> next;
  for (const auto& [uid, counted] : peers_) {
    const auto due = counted.logged_at + kInterval;
    if (!next || due < *next) next = due;
  }
  return next;
}

}  // namespace status_service
