// Probes off the GUI thread: a thread of its own runs one job at a time, in the order given,
// and every result comes back on the thread that owns the worker (the GUI thread), through
// its event loop, in probe order. So the window keeps repainting and reacting while a share
// query runs, and a hung query can be cancelled at once instead of waited for.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/share_probe.h"
#include "platform/cancel_signal.h"
#include "rtl/text.h"

class ProbeWorker : public QObject {
  Q_OBJECT
 public:
  struct Job {
    core::ShareProber* prober = nullptr;  // outlives the job
    std::vector<rtl::Text> shares;        // probed in order until one gives no report
    std::function<void(const core::ProbeResult&)> on_result;  // once per share probed
    std::function<void()> on_done;        // once the job's probing is over
  };

  explicit ProbeWorker(QObject* parent = nullptr);
  // Cancels everything and waits for the thread (at most the time a cancelled command takes
  // to end its process tree).
  ~ProbeWorker() override;

  // Queues a job. Call on the owner's thread.
  void Submit(Job job);
  // Cancels the job that runs and drops the queued ones; none of their handlers runs after
  // this returns. Call on the owner's thread.
  void CancelAll();

 private:
  struct Queued {
    Job job;
    int generation;
  };

  void Loop();
  bool NextJob(Queued& next);
  void RunJob(const Queued& queued);
  // Runs `handler` on the owner's thread unless the generation has moved on by then.
  void Deliver(int generation, std::function<void()> handler);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Queued> queue_;
  bool stopping_ = false;
  std::atomic<int> generation_{0};
  platform::CancelSignal cancel_;
  std::thread thread_;
};
