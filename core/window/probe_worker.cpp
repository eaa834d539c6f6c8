#include "core/window/probe_worker.h"

namespace core {

void ProbeWorker::Submit(Job job) {
  thread_.Submit([job = std::move(job)](const platform::CancelSignal& cancel, const JobThread::Deliver& deliver) {
    Probe(job, cancel, deliver);
  });
}

void ProbeWorker::Probe(const Job& job, const platform::CancelSignal& cancel, const JobThread::Deliver& deliver) {
  for (const rtl::Text& share : job.shares) {
    if (cancel.Cancelled()) break;
    ProbeResult result = job.prober->Probe(share, cancel);
    const bool ends = result.EndsTick();
    deliver([handler = job.on_result, result = std::move(result)] { handler(result); });
    if (ends) break;
  }
  if (job.on_done) deliver(job.on_done);
}

}  // namespace core
