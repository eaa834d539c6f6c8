#include "platform/status_service/snapshot_cache.h"

namespace status_service {

SnapshotCache::Snapshot SnapshotCache::Current() {
  std::unique_lock lock(mutex_);
  if (IsFresh()) return snapshot_;
  if (!reading_) return ReadAnew(lock);
  const std::uint64_t awaited = readings_ + 1;
  reading_ended_.wait(lock, [&] { return readings_ >= awaited || !reading_; });
  if (readings_ >= awaited) return snapshot_;
  return ReadAnew(lock);  // that reading failed: try ourselves
}

SnapshotCache::Snapshot SnapshotCache::ReadAnew(std::unique_lock<std::mutex>& lock) {
  reading_ = true;
  lock.unlock();
  Snapshot fresh;
  try {
    fresh = std::make_shared<const netshare::StatusSnapshot>(reader_());
  } catch (...) {
    lock.lock();
    reading_ = false;
    reading_ended_.notify_all();
    throw;
  }
  lock.lock();
  snapshot_ = fresh;
  read_at_ = Clock::now();
  reading_ = false;
  ++readings_;
  reading_ended_.notify_all();
  return fresh;
}

}  // namespace status_service
