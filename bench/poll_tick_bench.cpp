// One polling tick over S shares of a real Samba server, as the window and the headless run
// probe them, next to one bare "smbstatus --json": the floor a tick over many shares could
// come down to. Direct: each share's netshare runs the Samba tools itself (as root). Service:
// each netshare asks the status service, which reads Samba once a second for everyone.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "core/polling_run.h"
#include "core/share_probe.h"
#include "platform/child_process.h"
#include "platform/samba_config.h"
#include "samba_bench_lab.h"

namespace {

bool SkipWithoutLab(benchmark::State& state) {
  const SambaBenchLab& lab = SambaBenchLab::Instance();
  if (!lab.Running()) state.SkipWithError(("no Samba server: " + lab.WhyNot()).c_str());
  return !lab.Running();
}

std::vector<rtl::Text> WatchList(int shares) {
  std::vector<rtl::Text> watch_list;
  for (const auto& share : SambaBenchLab::Instance().Shares(shares)) watch_list.push_back(rtl::Windows1251FromUtf8(share));
  return watch_list;
}

// Ticks until the benchmark has enough, with netshare asking the service at `socket` (a
// missing socket: netshare runs the tools itself).
void RunTicks(benchmark::State& state, const std::string& socket) {
  setenv("SHAREMON_STATUS_SOCKET", socket.c_str(), 1);
  const std::vector<rtl::Text> watch_list = WatchList(static_cast<int>(state.range(0)));
  core::ConnectionTable table;
  core::SystemClock clock;
  core::RunListener listener;
  core::PollingRun run(table, clock, listener);
  core::ConsoleShareProber prober;
  platform::CancelSignal never;
  run.Start(watch_list, "1");
  for (auto _ : state) {
    const auto tick = run.TimerFired(watch_list);
    core::ProbeTick(run, *tick, prober, never, watch_list);
  }
  if (table.RowCount() > 0 && table.RowAt(0).values.size() != watch_list.size()) state.SkipWithError("a probe failed");
  unsetenv("SHAREMON_STATUS_SOCKET");
}

void BM_PollTick_Direct(benchmark::State& state) {
  if (SkipWithoutLab(state)) return;
  RunTicks(state, "/nonexistent/sharemon-status.sock");
}
BENCHMARK(BM_PollTick_Direct)->Name("BM_PollTick/Direct")->Arg(1)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmbstatusCall(benchmark::State& state) {
  if (SkipWithoutLab(state)) return;
  const std::vector<std::string> command{"smbstatus", "-s", SambaBenchLab::Instance().ConfigFile(), "--json"};
  for (auto _ : state) {
    const auto output = platform::CaptureToolOutput(command);
    if (!output.Succeeded()) state.SkipWithError("smbstatus failed");
  }
}
void BM_PollTick_Service(benchmark::State& state) {
  if (SkipWithoutLab(state)) return;
  const std::string& socket = SambaBenchLab::Instance().ServiceSocket();
  if (socket.empty()) {
    state.SkipWithError("the status service did not start");
    return;
  }
  RunTicks(state, socket);
}
BENCHMARK(BM_PollTick_Service)->Name("BM_PollTick/Service")->Arg(1)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_SmbstatusCall)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
