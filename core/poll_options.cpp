#include "core/poll_options.h"

#include <string_view>

#include "rtl/file_name.h"

namespace core {
namespace {

using rtl::OptionUsage;
using Value = std::string_view;

constexpr char kAfterOptions[] =
    "\n"
    "The data directory is the program's own folder; an installed copy uses the user's data\n"
    "directory (~/.local/share/sharemon on Linux, %APPDATA%\\sharemon on Windows). The table files\n"
    "are named list_<date>_<time>.txt after the start of their run, written again after every\n"
    "tick, and a new one begins at local midnight. The first tick comes at once. SIGTERM, SIGINT or\n"
    "SIGHUP on Linux, Ctrl+C, Ctrl+Break or closing the console on Windows, ends the run and writes\n"
    "its file. Log lines go to standard error. Metrics (Prometheus text format) are served at\n"
    "http://HOST:PORT/metrics on Linux; the Windows program serves none.\n";

std::vector<rtl::Option<PollArguments>> MakeOptions() {
  using Arguments = PollArguments;
  return {
      {{"--watch", "", "FILE", "The watch list file (default: splist.txt in the data directory)."},
       [](Arguments& a, Value v) { a.texts.watch_list_file = rtl::PathFromUtf8(v);
         return true; }},
      {{"--interval", "", "N", std::string("Minutes between ticks, at least 1 (default ") + kDefaultIntervalMinutes + ")."},
       [](Arguments& a, Value v) { a.texts.interval_minutes = rtl::Windows1251FromUtf8(v);
         return true; }},
      {{"--out", "", "DIR", "Directory of the table files (default: the data directory)."},
       [](Arguments& a, Value v) { a.texts.output_directory = rtl::PathFromUtf8(v);
         return true; }},
      {{"--metrics", "", "HOST:PORT",
        std::string("Address of the metrics endpoint, Linux only (default ") + kDefaultMetricsAddress + ")."},
       [](Arguments& a, Value v) { a.metrics_address = std::string(v);
         return true; }},
      {{"--no-metrics", "", "", "Serve no metrics.", OptionUsage::kAlternative},
       [](Arguments& a, Value) { a.metrics = false;
         return true; }},
      {{"--help", "-h", "", "Displays help on commandline options.", OptionUsage::kHidden},
       [](Arguments& a, Value) { a.help = true;
         return true; }},
  };
}

}  // namespace

const std::vector<rtl::Option<PollArguments>>& PollOptions() {
  static const std::vector<rtl::Option<PollArguments>> options = MakeOptions();
  return options;
}

std::variant<PollArguments, std::string> ReadPollArguments(const std::vector<std::string>& arguments) {
  auto read = rtl::ReadOptions(PollOptions(), arguments, {});
  if (auto* problem = std::get_if<std::string>(&read)) return std::move(*problem);
  return std::move(std::get<rtl::ReadArguments<PollArguments>>(read).options);
}

std::string PollUsageLine() { return "--poll " + rtl::UsageOf(rtl::NamesOf(PollOptions())); }

std::string PollHelp() { return rtl::OptionsHelp(rtl::NamesOf(PollOptions())) + kAfterOptions; }

}  // namespace core
