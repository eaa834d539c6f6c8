#include "app/poll_face.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/metrics_server.h"
#include "core/command_faces.h"
#include "core/program_faces.h"
#include "core/headless_run.h"
#include "core/share_metrics.h"
#include "core/version.h"
#include "platform/server_sessions.h"
#include "platform/standard_streams.h"
#include "platform/stop_signals.h"

namespace {

struct MetricsAddress {
  QHostAddress address;
  quint16 port = 0;
};

// The run's metrics, fed on the polling thread and read on the HTTP thread under one lock.
class SharedMetrics final : public core::RunListener {
 public:
  std::string Page() const {
    const std::lock_guard lock(mutex_);
    return metrics_.ExpositionText({kProgramVersion, qVersion()});
  }

 private:
  void ValueAppended(const rtl::Text& share, const core::ProbeResult& result, int row) override {
    const std::lock_guard lock(mutex_);
    metrics_.ValueAppended(share, result, row);
  }
  void ProbeFailed(const rtl::Text& share, const core::ProbeResult& result) override {
    const std::lock_guard lock(mutex_);
    metrics_.ProbeFailed(share, result);
  }
  // Who is connected and what is open are read once a tick, after it, outside the lock: the
  // service may take its time, and a scrape meanwhile gets the previous tick's values.
  void TickEnded(const core::TickSummary& summary) override {
    const auto sessions = platform::ReadSessions();
    const auto files = platform::ReadOpenFiles("");
    const std::lock_guard lock(mutex_);
    metrics_.TickEnded(summary);
    metrics_.ServerRead(sessions, files);
  }

  mutable std::mutex mutex_;
  core::ShareMetrics metrics_;
};

void Fail(const std::string& message) { platform::WriteErrorLine(core::FaceLine("--poll", message)); }

// Where the metrics are served, or nothing after a message on standard error.
std::optional<MetricsAddress> ReadMetricsAddress(const core::PollArguments& arguments) {
  MetricsAddress read;
  QString error;
  const std::string given = arguments.metrics_address.value_or(core::kDefaultMetricsAddress);
  if (!ParseListenAddress(QString::fromStdString(given), read.address, read.port, error)) {
    Fail("--metrics: " + error.toStdString());
    return std::nullopt;
  }
  return read;
}

// Lives as long as the process: a stop request may come at any moment, even during exit.
platform::CancelSignal& StopSignal() {
  static auto* stop = new platform::CancelSignal;
  return *stop;
}

}  // namespace

int ServePoll(int argc, char* argv[], const core::HeadlessSettings& settings, const core::PollArguments& arguments) {
  platform::CancelSignal& stop = StopSignal();
  platform::CancelOnStopRequests(stop);
  QCoreApplication application(argc, argv);
  std::optional<MetricsAddress> metrics_address;
  if (arguments.metrics) {
    metrics_address = ReadMetricsAddress(arguments);
    if (!metrics_address) return 2;
  }

  SharedMetrics metrics;
  MetricsServer server([&metrics] { return metrics.Page(); });
  if (metrics_address) {
    QString error;
    if (!server.Listen(metrics_address->address, metrics_address->port, error)) {
      Fail("--metrics: " + error.toStdString());
      return 1;
    }
    const QHostAddress& address = metrics_address->address;
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(address.toString())
                                                                            : address.toString();
    core::StandardErrorLog().Line(core::LogTimeText(rtl::Now()) + " metrics at http://" + host.toStdString() + ":" +
                            std::to_string(server.Port()) + "/metrics");
  }
  int status = 0;
  std::thread poller([&] {
    core::StandardErrorLog log;
    status = core::PollUntilStopped(settings, stop, metrics, log);
    QMetaObject::invokeMethod(&application, [] { QCoreApplication::exit(); }, Qt::QueuedConnection);
  });
  application.exec();
  poller.join();
  return status;
}
