#include "app/poll_face.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "app/metrics_server.h"
#include "core/command_faces.h"
#include "core/headless_run.h"
#include "core/share_metrics.h"
#include "core/version.h"
#include "platform/data_directory.h"
#include "platform/server_sessions.h"
#include "platform/standard_streams.h"
#include "platform/stop_signals.h"

namespace {

struct PollOptions {
  core::HeadlessSettings settings;
  bool metrics = true;
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

void Fail(const std::string& message) { platform::WriteErrorLine("sharemon --poll: " + message); }

constexpr char kAfterOptions[] =
    "\nThe table files are named list_<date>_<time>.txt after the start of their run, written again after\n"
    "every tick, and a new one begins at local midnight. The first tick comes at once. SIGTERM,\n"
    "SIGINT or SIGHUP ends the run and writes its file. Log lines go to standard error.\n"
    "Metrics (Prometheus text format) are served at http://HOST:PORT/metrics.\n"
    "The data directory is the program's own directory in a build tree; an installed copy uses the\n"
    "user's data directory (~/.local/share/sharemon).\n";

}  // namespace

std::string PollHelpText() { return core::PollOptionsHelp(core::PollOptionSet::kAll) + kAfterOptions; }

namespace {

// The options, or nothing after a message on standard error (or the help on standard output).
std::optional<PollOptions> ReadOptions(const std::vector<std::string>& arguments, bool& help) {
  const auto read = core::ReadPollArguments(arguments, core::PollOptionSet::kAll);
  if (const auto* problem = std::get_if<std::string>(&read)) {
    Fail(*problem);
    return std::nullopt;
  }
  const auto& given = std::get<core::PollArguments>(read);
  if ((help = given.help)) {
    platform::Write(platform::Stream::kOut, "Usage: sharemon " + core::PollUsageLine(core::PollOptionSet::kAll) +
                                                "\nPolls the watched shares without a window and serves metrics.\n"
                                                "\nOptions:\n" + PollHelpText());
    return std::nullopt;
  }
  PollOptions options;
  // The data directory is asked for only by a default: with --watch and --out given (as by the
  // service unit, whose user's home may be read-only) none is made.
  const std::filesystem::path program_directory = platform::ProgramDirectory();
  const bool defaults = !given.texts.watch_list_file || !given.texts.output_directory;
  try {
    options.settings = core::PollSettings(
        given.texts, defaults ? platform::ProgramDataDirectory(program_directory) : program_directory);
  } catch (const rtl::Exception& error) {
    Fail(rtl::Utf8FromWindows1251(error.what()));
    return std::nullopt;
  }
  options.metrics = given.metrics;
  QString error;
  if (options.metrics &&
      !ParseListenAddress(QString::fromStdString(given.metrics_address), options.address, options.port, error)) {
    Fail("--metrics: " + error.toStdString());
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
  const std::optional<PollOptions> options = ReadOptions(std::vector<std::string>(argv + 1, argv + argc), help);
  if (!options) return help ? 0 : 2;

  SharedMetrics metrics;
  MetricsServer server([&metrics] { return metrics.Page(); });
  if (options->metrics) {
    QString error;
    if (!server.Listen(options->address, options->port, error)) {
      Fail("--metrics: " + error.toStdString());
      return 1;
    }
    const QString host = options->address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(options->address.toString())
                             : options->address.toString();
    core::StandardErrorLog().Line(core::LogTimeText(rtl::Now()) + " metrics at http://" + host.toStdString() + ":" +
                            std::to_string(server.Port()) + "/metrics");
  }
  int status = 0;
  std::thread poller([&] {
    core::StandardErrorLog log;
    status = core::PollUntilStopped(options->settings, stop, metrics, log);
    QMetaObject::invokeMethod(&application, [] { QCoreApplication::exit(); }, Qt::QueuedConnection);
  });
  application.exec();
  poller.join();
  return status;
}
