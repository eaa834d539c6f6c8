// Work off the window's thread: a thread of its own runs one job at a time, in the order given,
// and what a job hands back runs on the window's thread through the poster, in the order handed.
// So the window keeps repainting while a share query or a server reading runs, and a job that
// hangs can be cancelled at once instead of waited for. The probes and the page "Сеансы и файлы"
// each own one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/window/event_loop.h"
#include "platform/cancel_signal.h"

namespace core {

class JobThread {
 public:
  // Runs a handler on the window's thread, unless CancelAll came after its job was submitted.
  using Deliver = std::function<void(std::function<void()> handler)>;
  // Runs on the job thread; `cancel` is given by CancelAll, which the job may heed early.
  using Job = std::function<void(const platform::CancelSignal& cancel, const Deliver& deliver)>;

  // Delivers through `poster`, which outlives the thread.
  explicit JobThread(Poster& poster);
  // Cancels everything and waits for the job that runs (at most the time a cancelled job takes
  // to return). Deliveries still queued in the poster then do nothing.
  ~JobThread();
  JobThread(const JobThread&) = delete;
  JobThread& operator=(const JobThread&) = delete;

  // Queues a job. Call on the window's thread.
  void Submit(Job job);
  // Cancels the job that runs and drops the queued ones; no handler of theirs runs after this
  // returns. Call on the window's thread.
  void CancelAll();

 private:
  struct Queued {
    Job job;
    int generation;
  };

  void Loop();
  bool NextJob(Queued& next);
  void Post(int generation, std::function<void()> handler);

  Poster& poster_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Queued> queue_;
  bool stopping_ = false;
  // Shared with the deliveries, which may outlive the thread in the poster's queue.
  std::shared_ptr<std::atomic<int>> generation_ = std::make_shared<std::atomic<int>>(0);
  platform::CancelSignal cancel_;
  std::thread thread_;
};

}  // namespace core
