#include "core/window/job_thread.h"

namespace core {

JobThread::JobThread(Poster& poster) : poster_(poster), thread_([this] { Loop(); }) {}

JobThread::~JobThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  CancelAll();
  wake_.notify_all();
  thread_.join();
}

void JobThread::Submit(Job job) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({std::move(job), generation_->load()});
  }
  wake_.notify_all();
}

void JobThread::CancelAll() {
  std::lock_guard lock(mutex_);
  queue_.clear();
  ++*generation_;
  cancel_.Cancel();
}

void JobThread::Loop() {
  Queued next;
  while (NextJob(next)) {
    next.job(cancel_, [this, generation = next.generation](std::function<void()> handler) {
      Post(generation, std::move(handler));
    });
  }
}

bool JobThread::NextJob(Queued& next) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (stopping_) return false;
  next = std::move(queue_.front());
  queue_.pop_front();
  // Under the lock, so a CancelAll() from now on is not lost: it gives the signal again.
  cancel_.Reset();
  return true;
}

void JobThread::Post(int generation, std::function<void()> handler) {
  poster_.Post([current = generation_, generation, handler = std::move(handler)] {
    if (generation == current->load()) handler();
  });
}

}  // namespace core
