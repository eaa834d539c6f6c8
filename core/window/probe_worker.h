// Probes off the window's thread: a thread of its own runs one job at a time, in the order
// given, and every result comes back on the window's thread through the poster, in probe
// order. So the window keeps repainting and reacting while a share query runs, and a hung
// query can be cancelled at once instead of waited for.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/share_probe.h"
#include "core/window/event_loop.h"
#include "platform/cancel_signal.h"
#include "rtl/text.h"

namespace core {

class ProbeWorker {
 public:
  struct Job {
    ShareProber* prober = nullptr;  // outlives the job
    std::vector<rtl::Text> shares;  // probed in order until one gives no report
    std::function<void(const ProbeResult&)> on_result;  // once per share probed
    std::function<void()> on_done;  // once the job's probing is over
  };

  // Delivers through `poster`, which outlives the worker.
  explicit ProbeWorker(Poster& poster);
  // Cancels everything and waits for the thread (at most the time a cancelled command takes
  // to end its process tree). Deliveries still queued in the poster then do nothing.
  ~ProbeWorker();
  ProbeWorker(const ProbeWorker&) = delete;
  ProbeWorker& operator=(const ProbeWorker&) = delete;

  // Queues a job. Call on the window's thread.
  void Submit(Job job);
  // Cancels the job that runs and drops the queued ones; none of their handlers runs after
  // this returns. Call on the window's thread.
  void CancelAll();

 private:
  struct Queued {
    Job job;
    int generation;
  };

  void Loop();
  bool NextJob(Queued& next);
  void RunJob(const Queued& queued);
  // Runs `handler` on the window's thread unless the generation has moved on by then.
  void Deliver(int generation, std::function<void()> handler);

  Poster& poster_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Queued> queue_;
  bool stopping_ = false;
  // Shared with the deliveries, which may outlive the worker in the poster's queue.
  std::shared_ptr<std::atomic<int>> generation_ = std::make_shared<std::atomic<int>>(0);
  platform::CancelSignal cancel_;
  std::thread thread_;
};

}  // namespace core
