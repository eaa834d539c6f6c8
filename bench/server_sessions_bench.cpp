// Reading who holds which files open. Generated reports of Samba of 10,000 and 100,000 opens
// (the reader should take about ten times as long for ten times the opens), and, with 1,000
// files held open on the lab server, the open files as a client gets them from the status
// service against "smbstatus --json -L" alone. The service's reading lives a second, so each
// round waits that out first: every answer comes from a fresh reading.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/child_process.h"
#include "platform/server_sessions.h"
#include "platform/status_service/samba_sessions.h"
#include "samba_bench_lab.h"

namespace {

constexpr int kHeldFiles = 1000;

// One open as Samba 4.17 lists it, in a file of its own.
std::string OpenEntry(int index) {
  const std::string id = std::to_string(index);
  return "\"/srv/docs/dir/file" + id + ".txt\":{\"service_path\":\"/srv/docs\",\"filename\":\"dir/file" + id +
         ".txt\",\"fileid\":{\"devid\":65024,\"inode\":" + id + ",\"extid\":0},\"num_pending_deletes\":0,"
         "\"opens\":{\"" + std::to_string(1000 + index % 10) + "/" + id + "\":{\"server_id\":{\"pid\":\"" +
         std::to_string(1000 + index % 10) + "\",\"task_id\":\"0\",\"vnn\":\"4294967295\",\"unique_id\":\"1\"},"
         "\"uid\":1001,\"share_file_id\":\"" + id + "\",\"sharemode\":{\"hex\":\"0x00000003\",\"READ\":true,"
         "\"WRITE\":true,\"DELETE\":false,\"text\":\"RW\"},\"access_mask\":{\"hex\":\"0x00000003\",\"READ_DATA\":true,"
         "\"WRITE_DATA\":true,\"APPEND_DATA\":false,\"DELETE\":false,\"text\":\"RW\"},\"caching\":{\"READ\":false,"
         "\"WRITE\":false,\"HANDLE\":false,\"hex\":\"0x00000000\",\"text\":\"\"},\"oplock\":{},\"lease\":{},"
         "\"opened_at\":\"2026-12-10T03:17:10.045874+00:00\"}}}";
}

std::string GeneratedReport(int opens) {
  std::string report = "{\"timestamp\":\"2026-12-10T03:17:10.8+0000\",\"sessions\":{";
  for (int pid = 1000; pid < 1010; ++pid) {
    report += pid == 1000 ? "\"" : ",\"";
    report += std::to_string(pid) + "\":{\"session_id\":\"" + std::to_string(pid) +
              "\",\"server_id\":{\"pid\":\"" + std::to_string(pid) +
              "\"},\"uid\":1001,\"username\":\"bob\",\"remote_machine\":\"10.0.0.1\",\"session_dialect\":\"SMB3_11\"}";
  }
  report += "},\"tcons\":{},\"open_files\":{";
  for (int i = 0; i < opens; ++i) {
    report += i == 0 ? "" : ",";
    report += OpenEntry(i);
  }
  return report + "}}";
}

void BM_OpenFilesReading(benchmark::State& state) {
  const int opens = static_cast<int>(state.range(0));
  const std::string report = GeneratedReport(opens);
  const std::vector<platform::SambaShare> shares{{"docs", "/srv/docs", ""}};
  for (auto _ : state) {
    const auto reading = status_service::OpenFilesFromStatus(report, shares, "");
    if (reading.records.size() != static_cast<std::size_t>(opens)) state.SkipWithError("the report did not read whole");
    benchmark::DoNotOptimize(reading.records.data());
  }
  state.counters["report_bytes"] = static_cast<double>(report.size());
  state.SetItemsProcessed(state.iterations() * opens);
}
BENCHMARK(BM_OpenFilesReading)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The lab with its files held open, or false after skipping the case with the reason.
bool LabWithHeldFiles(benchmark::State& state) {
  SambaBenchLab& lab = SambaBenchLab::Instance();
  if (!lab.Running()) state.SkipWithError(("no Samba server: " + lab.WhyNot()).c_str());
  if (lab.Running() && !lab.HoldFiles(kHeldFiles)) state.SkipWithError("the lab's files could not be held open");
  return lab.Running() && lab.HoldFiles(kHeldFiles);
}

void WaitOutTheServiceReading(benchmark::State& state) {
  state.PauseTiming();
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  state.ResumeTiming();
}

void BM_OpenFilesAnswer_Service(benchmark::State& state) {
  if (!LabWithHeldFiles(state)) return;
  const std::string& socket = SambaBenchLab::Instance().ServiceSocket();
  if (socket.empty()) return state.SkipWithError("the status service did not start");
  setenv("SHAREMON_STATUS_SOCKET", socket.c_str(), 1);
  for (auto _ : state) {
    WaitOutTheServiceReading(state);
    const auto reading = platform::ReadOpenFiles("");
    if (reading.records.size() < kHeldFiles) state.SkipWithError(("not every held file read: " + reading.error).c_str());
  }
  unsetenv("SHAREMON_STATUS_SOCKET");
}
BENCHMARK(BM_OpenFilesAnswer_Service)->Name("BM_OpenFilesAnswer/Service")->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenFilesAnswer_Smbstatus(benchmark::State& state) {
  if (!LabWithHeldFiles(state)) return;
  const std::vector<std::string> command{"smbstatus", "-s", SambaBenchLab::Instance().ConfigFile(), "--json", "-L"};
  for (auto _ : state) {
    WaitOutTheServiceReading(state);
    if (!platform::CaptureToolOutput(command).Succeeded()) state.SkipWithError("smbstatus failed");
  }
}
BENCHMARK(BM_OpenFilesAnswer_Smbstatus)->Name("BM_OpenFilesAnswer/Smbstatus")->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
