// Probes off the window's thread: jobs of probes on a JobThread of their own, every result
// back on the window's thread in probe order. A hung share query is cancelled at once.
#pragma once

#include <functional>
#include <vector>

#include "core/share_probe.h"
#include "core/window/event_loop.h"
#include "core/window/job_thread.h"
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

  // Delivers through `poster`, which outlives the worker. The destructor cancels everything
  // and waits as JobThread's does.
  explicit ProbeWorker(Poster& poster) : thread_(poster) {}

  // Queues a job. Call on the window's thread.
  void Submit(Job job);
  // Cancels the job that runs and drops the queued ones; none of their handlers runs after
  // this returns. Call on the window's thread.
  void CancelAll() { thread_.CancelAll(); }

 private:
  static void Probe(const Job& job, const platform::CancelSignal& cancel, const JobThread::Deliver& deliver);

  JobThread thread_;
};

}  // namespace core
