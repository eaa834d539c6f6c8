// The one status snapshot the service answers from. It is read anew at most once per max_age,
// so a polling tick over many shares costs one reading; callers that arrive while a reading is
// under way wait for that reading and take it. Thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/netshare/share_status.h"

namespace status_service {

// How long one snapshot answers every request.
inline constexpr std::chrono::milliseconds kSnapshotLifetime{1000};

class SnapshotCache {
 public:
  using Snapshot = std::shared_ptr<const netshare::StatusSnapshot>;
  using Reader = std::function<netshare::StatusSnapshot()>;

  SnapshotCache(Reader reader, std::chrono::milliseconds max_age) : reader_(std::move(reader)), max_age_(max_age) {}

  // The snapshot whose reading ended less than max_age ago; otherwise a new reading, by this
  // caller or by the one already reading. An exception of the reader reaches the caller that
  // ran it; the others then read themselves.
  Snapshot Current();

 private:
  using Clock = std::chrono::steady_clock;

  bool IsFresh() const { return snapshot_ && Clock::now() - read_at_ < max_age_; }
  Snapshot ReadAnew(std::unique_lock<std::mutex>& lock);

  const Reader reader_;
  const std::chrono::milliseconds max_age_;
  std::mutex mutex_;
  std::condition_variable reading_ended_;
  Snapshot snapshot_;
  Clock::time_point read_at_;
  bool reading_ = false;
  std::uint64_t readings_ = 0;  // finished readings, so a waiter knows when its reading is in
};

}  // namespace status_service
