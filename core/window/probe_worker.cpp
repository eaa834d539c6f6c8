#include "core/window/probe_worker.h"

namespace core {

ProbeWorker::ProbeWorker(Poster& poster) : poster_(poster), thread_([this] { Loop(); }) {}

ProbeWorker::~ProbeWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  CancelAll();
  wake_.notify_all();
  thread_.join();
}

void ProbeWorker::Submit(Job job) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({std::move(job), generation_->load()});
  }
  wake_.notify_all();
}

void ProbeWorker::CancelAll() {
  std::lock_guard lock(mutex_);
  queue_.clear();
  ++*generation_;
  cancel_.Cancel();
}

void ProbeWorker::Loop() {
  Queued next;
  while (NextJob(next)) RunJob(next);
}

bool ProbeWorker::NextJob(Queued& next) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (stopping_) return false;
  next = std::move(queue_.front());
  queue_.pop_front();
  // Under the lock, so a CancelAll() from now on is not lost: it gives the signal again.
  cancel_.Reset();
  return true;
}

void ProbeWorker::RunJob(const Queued& queued) {
  for (const rtl::Text& share : queued.job.shares) {
    if (cancel_.Cancelled()) break;
    ProbeResult result = queued.job.prober->Probe(share, cancel_);
    const bool ends = result.EndsTick();
    Deliver(queued.generation, [handler = queued.job.on_result, result = std::move(result)] { handler(result); });
    if (ends) break;
  }
  if (queued.job.on_done) Deliver(queued.generation, queued.job.on_done);
}

void ProbeWorker::Deliver(int generation, std::function<void()> handler) {
  poster_.Post([current = generation_, generation, handler = std::move(handler)] {
    if (generation == current->load()) handler();
  });
}

}  // namespace core
