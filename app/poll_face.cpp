#include "app/poll_face.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMetaObject>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/data_directory.h"
#include "app/metrics_server.h"
#include "app/version.h"
#include "core/command_faces.h"
#include "core/headless_run.h"
#include "core/share_metrics.h"
#include "platform/stop_signals.h"

namespace {

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
             "every tick, and a new one begins at local midnight. The first tick comes at once. SIGTERM,\n"
             "SIGINT or SIGHUP ends the run and writes its file. Log lines go to standard error.\n"
             "Metrics (Prometheus text format) are served at http://HOST:PORT/metrics.\n"
             "The data directory is the program's own directory in a build tree; an installed copy uses the\n"
             "user's data directory (~/.local/share/sharemon).\n");
}

void DeclareOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(QStringLiteral("Polls the watched shares without a window and serves metrics."));
  parser.addOption({QStringLiteral("poll"), QStringLiteral("Run the polling run without a window.")});
  parser.addOption({QStringLiteral("watch"), QStringLiteral("The watch list file (default: splist.txt in the data directory)."),
                    QStringLiteral("FILE")});
  parser.addOption({QStringLiteral("interval"), QStringLiteral("Minutes between ticks, at least 1 (default 30)."),
                    QStringLiteral("N"), QStringLiteral("30")});
  parser.addOption({QStringLiteral("out"), QStringLiteral("Directory of the table files (default: the data directory)."),
                    QStringLiteral("DIR")});
  parser.addOption({QStringLiteral("metrics"),
                    QStringLiteral("Address of the metrics endpoint (default %1).").arg(MetricsServer::kDefaultAddress),
                    QStringLiteral("HOST:PORT"), QString::fromLatin1(MetricsServer::kDefaultAddress)});
  parser.addOption({QStringLiteral("no-metrics"), QStringLiteral("Serve no metrics.")});
  parser.addHelpOption();
}

}  // namespace

QString PollOptionsHelp() {
  QCommandLineParser parser;
  DeclareOptions(parser);
  const QString help = HelpText(parser);
  const qsizetype options = help.indexOf(QStringLiteral("Options:\n"));
  return options < 0 ? help : help.mid(options + 9);
}

namespace {

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
  core::PollOptionTexts texts;
  if (parser.isSet(QStringLiteral("watch"))) texts.watch_list_file = parser.value(QStringLiteral("watch")).toStdString();
  if (parser.isSet(QStringLiteral("out"))) texts.output_directory = parser.value(QStringLiteral("out")).toStdString();
  texts.interval_minutes = rtl::Windows1251FromUtf8(parser.value(QStringLiteral("interval")).toStdString());
  // The data directory is asked for only by a default: with --watch and --out given (as by the
  // service unit, whose user's home may be read-only) none is made.
  const QString program_directory = QCoreApplication::applicationDirPath();
  const bool defaults = !texts.watch_list_file || !texts.output_directory;
  const QString directory = defaults ? ProgramDataDirectory(program_directory) : program_directory;
  try {
    options.settings = core::PollSettings(texts, directory.toStdString());
  } catch (const rtl::Exception& error) {
    Fail(QString::fromStdString(rtl::Utf8FromWindows1251(error.what())));
    return std::nullopt;
  }
  options.metrics = !parser.isSet(QStringLiteral("no-metrics"));
  QString error;
  if (options.metrics && !ParseListenAddress(parser.value(QStringLiteral("metrics")), options.address, options.port, error)) {
    Fail(QStringLiteral("--metrics: ") + error);
    return std::nullopt;
  }
  return options;
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
    StandardErrorLog log;
    status = core::PollUntilStopped(options->settings, stop, metrics, log);
    QMetaObject::invokeMethod(&application, [] { QCoreApplication::exit(); }, Qt::QueuedConnection);
  });
  application.exec();
  poller.join();
  return status;
}
