// netshare's reading of the server's status: "smbstatus --json" for N connections read into
// connections by share, and the report of one share (a quarter of them) made from it, as
// netshare and the status service do after the tool has printed. Arguments: N, and 1 for
// the records Samba 4.17 prints (about 790 bytes a connection, so the 16 MiB tool output
// limit holds some 21 000 of them) or 0 for only the members the reader takes.
#include <benchmark/benchmark.h>

#include "platform/netshare/share_status.h"
#include "tests/support/smbstatus_json.h"

namespace {

void BM_NetshareStatus(benchmark::State& state) {
  const GeneratedStatus status = GenerateSmbstatusJson(static_cast<int>(state.range(0)), state.range(1) != 0);
  netshare::StatusSnapshot snapshot;
  snapshot.shares = std::vector<platform::SambaShare>{{"share 0", "/srv/0", ""}, {"share 1", "/srv/1", ""}};
  snapshot.state = netshare::ConnectionState::Read;
  std::size_t report_bytes = 0;
  for (auto _ : state) {
    auto connections = netshare::ConnectionsFromJson(status.json);
    if (!connections) {
      state.SkipWithError("the report did not read");
      return;
    }
    snapshot.connections = std::move(*connections);
    const netshare::ShareReply reply = netshare::ReplyFor(snapshot, "share 0");
    report_bytes = reply.report.size();
    benchmark::DoNotOptimize(reply.report.data());
  }
  state.counters["json_bytes"] = static_cast<double>(status.json.size());
  state.counters["report_bytes"] = static_cast<double>(report_bytes);
}
BENCHMARK(BM_NetshareStatus)
    ->ArgsProduct({{12500, 25000, 50000, 100000}, {0}})
    ->Args({12500, 1})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
