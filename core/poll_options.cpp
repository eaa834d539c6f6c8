#include "core/poll_options.h"

#include <algorithm>
#include <initializer_list>

#include "rtl/file_name.h"

namespace core {
namespace {

constexpr std::size_t kHelpWidth = 79;

// Pieces appended one by one: GCC 12 at -O3 takes "literal" + string for an overlapping copy.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string joined;
  for (const std::string_view piece : pieces) joined += piece;
  return joined;
}

std::vector<PollOption> MakeOptions() {
  using Arguments = PollArguments;
  using Value = std::string_view;
  return {
      {"--poll", "", "", "Run the polling run without a window.", false, PollUsage::kHead, [](Arguments&, Value) {}},
      {"--watch", "", "FILE", "The watch list file (default: splist.txt in the data directory).", false,
       PollUsage::kOptional, [](Arguments& a, Value v) { a.texts.watch_list_file = rtl::PathFromUtf8(v); }},
      {"--interval", "", "N", Joined({"Minutes between ticks, at least 1 (default ", kDefaultIntervalMinutes, ")."}),
       false, PollUsage::kOptional,
       [](Arguments& a, Value v) { a.texts.interval_minutes = rtl::Windows1251FromUtf8(std::string(v)); }},
      {"--out", "", "DIR", "Directory of the table files (default: the data directory).", false, PollUsage::kOptional,
       [](Arguments& a, Value v) { a.texts.output_directory = rtl::PathFromUtf8(v); }},
      {"--metrics", "", "HOST:PORT", Joined({"Address of the metrics endpoint (default ", kDefaultMetricsAddress, ")."}),
       true, PollUsage::kOptional, [](Arguments& a, Value v) { a.metrics_address = v; }},
      {"--no-metrics", "", "", "Serve no metrics.", true, PollUsage::kAlternative,
       [](Arguments& a, Value) { a.metrics = false; }},
      {"--help", "-h", "", "Displays help on commandline options.", false, PollUsage::kNone,
       [](Arguments& a, Value) { a.help = true; }},
  };
}

bool Offered(const PollOption& option, PollOptionSet set) { return set == PollOptionSet::kAll || !option.metrics; }

const PollOption* Find(std::string_view name, PollOptionSet set) {
  for (const PollOption& option : PollOptions()) {
    if ((option.name == name || (!option.short_name.empty() && option.short_name == name)) && Offered(option, set)) {
      return &option;
    }
  }
  return nullptr;
}

// "-h, --help", "--watch <FILE>".
std::string NamesOf(const PollOption& option) {
  const std::string_view comma = option.short_name.empty() ? "" : ", ";
  if (option.value_name.empty()) return Joined({option.short_name, comma, option.name});
  return Joined({option.short_name, comma, option.name, " <", option.value_name, ">"});
}

// Whole words on lines of at most `width` characters (a longer word alone on its line).
std::vector<std::string> WrappedWords(std::string_view text, std::size_t width) {
  std::vector<std::string> lines(1);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) lines.emplace_back();
    if (!lines.back().empty()) lines.back() += ' ';
    lines.back() += word;
    start = end + 1;
  }
  return lines;
}

}  // namespace

const std::vector<PollOption>& PollOptions() {
  static const std::vector<PollOption> options = MakeOptions();
  return options;
}

std::variant<PollArguments, std::string> ReadPollArguments(const std::vector<std::string>& arguments,
                                                           PollOptionSet set) {
  PollArguments read;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (!argument.starts_with('-')) return Joined({"unexpected argument ", argument});
    const std::size_t equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    const PollOption* option = Find(name, set);
    if (option == nullptr) return Joined({"unknown option ", name});
    std::string_view value;
    if (equals != std::string_view::npos) {
      if (option->value_name.empty()) return Joined({"unexpected value after ", name});
      value = argument.substr(equals + 1);
    } else if (!option->value_name.empty()) {
      if (i + 1 == arguments.size()) return Joined({"missing value after ", name});
      value = arguments[++i];
    }
    option->take(read, value);
  }
  return read;
}

std::string PollUsageLine(PollOptionSet set) {
  std::string line;
  for (const PollOption& option : PollOptions()) {
    if (!Offered(option, set) || option.usage == PollUsage::kNone) continue;
    const std::string_view space = option.value_name.empty() ? "" : " ";
    const std::string shown = Joined({option.name, space, option.value_name});
    if (option.usage == PollUsage::kHead) line += shown;
    if (option.usage == PollUsage::kOptional) line += Joined({" [", shown, "]"});
    if (option.usage == PollUsage::kAlternative) line.insert(line.size() - 1, Joined({" | ", shown}));
  }
  return line;
}

std::string PollOptionsHelp(PollOptionSet set) {
  std::size_t column = 0;
  for (const PollOption& option : PollOptions()) {
    if (Offered(option, set)) column = std::max(column, NamesOf(option).size() + 1);
  }
  std::string help;
  for (const PollOption& option : PollOptions()) {
    if (!Offered(option, set)) continue;
    std::string names = NamesOf(option);
    for (const std::string& line : WrappedWords(option.help, kHelpWidth - (2 + column + 1))) {
      names.resize(column, ' ');
      help += Joined({"  ", names, " ", line, "\n"});
      names.clear();
    }
  }
  return help;
}

}  // namespace core
