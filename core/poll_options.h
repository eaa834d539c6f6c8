// The options of the headless run ("sharemon --poll") in one table, by which both programs read
// their arguments and print their help, so that the names, defaults and texts are the same on
// Linux and Windows. Arguments and texts are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/polling_run.h"
#include "platform/contracts.h"
#include "rtl/option_table.h"
#include "rtl/text.h"

namespace core {

// Where the metrics are served without --metrics.
inline constexpr const char* kDefaultMetricsAddress = platform::contracts::kMetricsAddress;

// The run's options as a face read them: a path or program text each, or nothing when the
// option was not given.
struct PollOptionTexts {
  std::optional<std::filesystem::path> watch_list_file;   // --watch FILE
  std::optional<std::filesystem::path> output_directory;  // --out DIR
  rtl::Text interval_minutes = kDefaultIntervalMinutes;   // --interval N
};

struct PollArguments {
  PollOptionTexts texts;
  std::optional<std::string> metrics_address;  // --metrics HOST:PORT, as given
  bool metrics = true;                         // false with --no-metrics
  bool help = false;                           // -h or --help
};

// Every option, in help order.
const std::vector<rtl::Option<PollArguments>>& PollOptions();

// Reads the arguments after "--poll" by the table; the problem in the table's words otherwise.
std::variant<PollArguments, std::string> ReadPollArguments(const std::vector<std::string>& arguments);

// "--poll [--watch FILE] [--interval N] [--out DIR] [--metrics HOST:PORT | --no-metrics]".
std::string PollUsageLine();

// The options' help (rtl::OptionsHelp), then what the run does with them: its files, its
// stop and its log, on each system.
std::string PollHelp();

}  // namespace core
