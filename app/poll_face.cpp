#include "app/poll_face.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/metrics_server.h"
#include "app/version.h"
#include "core/headless_run.h"
#include "core/share_metrics.h"
#include "platform/stop_signals.h"

namespace {

const char kTestIntervalVariable[] = "SHAREMON_TEST_INTERVAL_MS";

struct PollOptions {
  core::HeadlessSettings settings;
  bool metrics = true;
  QHostAddress address;
  quint16 port = 0;
};

class StandardErrorLog final : public core::RunLog {
 public:
  void Line(const std::string& utf8_line) override {
    std::fprintf(stderr, "%s\n", utf8_line.c_str());
    std::fflush(stderr);
  }
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
  void TickEnded(const core::TickSummary& summary) override {
    const std::lock_guard lock(mutex_);
    metrics_.TickEnded(summary);
  }

  mutable std::mutex mutex_;
  core::ShareMetrics metrics_;
};

void Fail(const QString& message) { std::fprintf(stderr, "sharemon --poll: %s\n", qUtf8Printable(message)); }

QString HelpText(QCommandLineParser& parser) {
  return parser.helpText() +
         QStringLiteral(
             "\nThe table files are named list_<date>_<time>.txt after the start of their run, written again after\n"
             "every tick, and a new one begins at local midnight. The first tick comes at once. SIGTERM or\n"
             "SIGINT ends the run and writes its file. Log lines go to standard error.\n"
             "Metrics (Prometheus text format) are served at http://HOST:PORT/metrics.\n");
}

void DeclareOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("Polls the watched shares without a window and serves metrics."));
  parser.addOption({QStringLiteral("poll"), QStringLiteral("Run the polling run without a window.")});
  parser.addOption({QStringLiteral("watch"), QStringLiteral("The watch list file (default: splist.txt beside the program)."),
                    QStringLiteral("FILE")});
  parser.addOption({QStringLiteral("interval"), QStringLiteral("Minutes between ticks, at least 1 (default 30)."),
                    QStringLiteral("N"), QStringLiteral("30")});
  parser.addOption({QStringLiteral("out"), QStringLiteral("Directory of the table files (default: beside the program)."),
                    QStringLiteral("DIR")});
  parser.addOption({QStringLiteral("metrics"),
                    QStringLiteral("Address of the metrics endpoint (default %1).").arg(MetricsServer::kDefaultAddress),
                    QStringLiteral("HOST:PORT"), QString::fromLatin1(MetricsServer::kDefaultAddress)});
  parser.addOption({QStringLiteral("no-metrics"), QStringLiteral("Serve no metrics.")});
  parser.addHelpOption();
}

std::optional<std::chrono::milliseconds> ReadInterval(const QString& text) {
  try {
    const std::chrono::milliseconds interval = core::PollMinutes(rtl::Windows1251FromUtf8(text.toStdString()));
    bool number = false;
    const qlonglong test_interval = qEnvironmentVariable(kTestIntervalVariable).toLongLong(&number);
    if (number && test_interval > 0) return std::chrono::milliseconds(test_interval);
    return interval;
  } catch (const rtl::Exception& error) {
    Fail(QStringLiteral("--interval: ") + QString::fromStdString(rtl::Utf8FromWindows1251(error.what())));
    return std::nullopt;
  }
}

// The options, or nothing after a message on standard error (or the help on standard output).
std::optional<PollOptions> ReadOptions(const QStringList& arguments, bool& help) {
  QCommandLineParser parser;
  DeclareOptions(parser);
  if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
    Fail(parser.errorText().isEmpty() ? QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().join(u' '))
                                      : parser.errorText());
    return std::nullopt;
  }
  if ((help = parser.isSet(QStringLiteral("help")))) {
    std::fputs(qUtf8Printable(HelpText(parser)), stdout);
    return std::nullopt;
  }
  PollOptions options;
  const QDir beside(QCoreApplication::applicationDirPath());
  options.settings.watch_list_file = parser.isSet(QStringLiteral("watch")) ? parser.value(QStringLiteral("watch")).toStdString()
                                                                            : beside.filePath(QStringLiteral("splist.txt")).toStdString();
  options.settings.output_directory = parser.isSet(QStringLiteral("out")) ? parser.value(QStringLiteral("out")).toStdString()
                                                                          : beside.path().toStdString();
  const auto interval = ReadInterval(parser.value(QStringLiteral("interval")));
  if (!interval) return std::nullopt;
  options.settings.interval = *interval;
  options.metrics = !parser.isSet(QStringLiteral("no-metrics"));
  QString error;
  if (options.metrics && !ParseListenAddress(parser.value(QStringLiteral("metrics")), options.address, options.port, error)) {
    Fail(QStringLiteral("--metrics: ") + error);
    return std::nullopt;
  }
  return options;
}

// The polling thread's work: the loop until the stop request; the exit code.
int PollUntilStopped(const core::HeadlessSettings& settings, platform::CancelSignal& stop, core::RunListener& listener) {
  core::SystemClock clock;
  core::ConsoleShareProber prober;
  core::SignalPause pause(stop);
  StandardErrorLog log;
  try {
    core::HeadlessRun(settings, {clock, prober, stop, pause, listener, log}).Run();
    return 0;
  } catch (const std::exception& error) {
    Fail(QString::fromStdString(rtl::Utf8FromWindows1251(error.what())));
    return 1;
  }
}

// Lives as long as the process: a stop request may come at any moment, even during exit.
platform::CancelSignal& StopSignal() {
  static auto* stop = new platform::CancelSignal;
  return *stop;
}

}  // namespace

int RunPoll(int argc, char* argv[]) {
  platform::CancelSignal& stop = StopSignal();
  platform::CancelOnStopRequests(stop);
  QCoreApplication application(argc, argv);
  bool help = false;
  const std::optional<PollOptions> options = ReadOptions(QCoreApplication::arguments(), help);
  if (!options) return help ? 0 : 2;

  SharedMetrics metrics;
  MetricsServer server([&metrics] { return metrics.Page(); });
  if (options->metrics) {
    QString error;
    if (!server.Listen(options->address, options->port, error)) {
      Fail(QStringLiteral("--metrics: %1").arg(error));
      return 1;
    }
    const QString host = options->address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(options->address.toString())
                             : options->address.toString();
    StandardErrorLog().Line(core::LogTimeText(rtl::Now()) + " metrics at http://" + host.toStdString() + ":" +
                            std::to_string(server.Port()) + "/metrics");
  }
  int status = 0;
  std::thread poller([&] {
    status = PollUntilStopped(options->settings, stop, metrics);
    QMetaObject::invokeMethod(&application, [] { QCoreApplication::exit(); }, Qt::QueuedConnection);
  });
  application.exec();
  poller.join();
  return status;
}
