// The options of the headless run ("sharemon --poll") in one table, by which the Linux program
// and the Windows console program both read their arguments and print their help, so that the
// names, defaults and texts are the same on both. The Windows program serves no metrics and
// offers the table without the metrics options. Arguments and texts are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/polling_run.h"
#include "platform/contracts.h"
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
  std::string metrics_address = kDefaultMetricsAddress;  // --metrics HOST:PORT, as given
  bool metrics = true;                                   // false with --no-metrics
  bool help = false;                                     // -h or --help
};

// What a usage line shows of an option.
enum class PollUsage { kHead, kOptional, kAlternative, kNone };

struct PollOption {
  std::string_view name;        // "--watch"
  std::string_view short_name;  // "-h", or ""
  std::string_view value_name;  // "FILE"; "" for an option without a value
  std::string help;             // one sentence, the default named in it
  bool metrics;                 // offered only by a program that serves metrics
  PollUsage usage;              // kAlternative: in the brackets of the option before it
  void (*take)(PollArguments& arguments, std::string_view value);
};

enum class PollOptionSet { kAll, kWithoutMetrics };

// Every option, in help order.
const std::vector<PollOption>& PollOptions();

// Reads a program's arguments after its name ("--poll" among them) by the table: "--name VALUE"
// or "--name=VALUE"; of an option given twice the last counts. The arguments, or what is wrong:
// "unknown option --x", "missing value after --watch", "unexpected value after --help" or
// "unexpected argument x".
std::variant<PollArguments, std::string> ReadPollArguments(const std::vector<std::string>& arguments,
                                                           PollOptionSet set);

// "--poll [--watch FILE] [--interval N] [--out DIR] [--metrics HOST:PORT | --no-metrics]".
std::string PollUsageLine(PollOptionSet set);

// One option a line or more: two spaces, the names and value (padded to one column for all),
// a space, and the help wrapped by words within 79 characters, the layout of Qt's
// command-line parser.
std::string PollOptionsHelp(PollOptionSet set);

}  // namespace core
