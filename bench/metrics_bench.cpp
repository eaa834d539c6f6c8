// The metrics endpoint: writing the page for S watched shares, and scrapes over loopback
// against the real server — one scrape, and C scrapes from C clients at once (each client a
// thread that connects, sends GET /metrics and reads the whole answer; the server answers in
// this thread's event loop, as the --poll face's main thread does).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/metrics_server.h"
#include "bench/bench_application.h"
#include "core/share_metrics.h"
#include "tests/support/http_client.h"

namespace {

core::ShareMetrics MetricsOfShares(int shares) {
  core::ShareMetrics metrics([] { return 1765183507.5; });
  for (int i = 0; i < shares; ++i) {
    core::ProbeResult result;
    result.count = i % 7;
    result.duration = std::chrono::milliseconds(130);
    metrics.ValueAppended("share number " + std::to_string(i), result, 0);
  }
  metrics.TickEnded({});
  return metrics;
}

void BM_MetricsPage(benchmark::State& state) {
  const core::ShareMetrics metrics = MetricsOfShares(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = metrics.ExpositionText({"1.3", "6.4.2"});
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MetricsPage)->Arg(30)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_MetricsScrape(benchmark::State& state) {
  EnsureBenchApplication();
  const core::ShareMetrics metrics = MetricsOfShares(30);
  MetricsServer server([&metrics] { return metrics.ExpositionText({"1.3", "6.4.2"}); });
  QString error;
  if (!server.Listen(QHostAddress::LocalHost, 0, error)) {
    state.SkipWithError(error.toStdString().c_str());
    return;
  }
  const int port = server.Port();
  const int clients = static_cast<int>(state.range(0));
  int failures = 0;
  for (auto _ : state) {
    QEventLoop loop;
    std::thread scrapers([&] {
      std::vector<std::future<int>> scrapes;
      for (int i = 0; i < clients; ++i) {
        scrapes.push_back(std::async(std::launch::async, [port] { return HttpGet(port, "/metrics").status; }));
      }
      for (auto& scrape : scrapes) failures += scrape.get() != 200;
      QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    scrapers.join();
  }
  state.counters["failed_scrapes"] = failures;
}
BENCHMARK(BM_MetricsScrape)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
