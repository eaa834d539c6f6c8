// The window's event loop without a toolkit, for the window logic's tests and benchmarks: the
// poster's queue, turned by hand on the caller's thread while the logic's threads post to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "core/window/event_loop.h"

class HandTurnedPoster : public core::Poster {
 public:
  void Post(std::function<void()> closure) override {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(closure));
    posted_.notify_all();
  }
  // Runs what comes until `done` holds, which may also turn true on another thread; false when
  // it does not within a minute (a hang).
  bool RunUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (queue_.empty()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        posted_.wait_for(lock, std::chrono::milliseconds(5));
        continue;
      }
      RunFirst(lock);
    }
    return true;
  }
  // Runs everything posted so far and what that posts.
  void RunPending() {
    std::unique_lock lock(mutex_);
    while (!queue_.empty()) RunFirst(lock);
  }

 private:
  void RunFirst(std::unique_lock<std::mutex>& lock) {
    const std::function<void()> closure = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    closure();
    lock.lock();
  }

  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};
