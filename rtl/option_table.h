// A program's command line read by one table of its options, and its usage line and option
// help printed from the same table, so that every name, value and text is written once and
// every program of the project refuses a wrong command line in the same words. Arguments and
// texts are UTF-8.
//
// An option is "--name VALUE" or "--name=VALUE" (a short name only as "-h"); of an option
// given twice the last counts; "--" is no end of options. What is wrong comes back as one
// problem text: "unknown option --x", "missing value after --watch", "unexpected value after
// --help", "invalid value for --size: 0x10", "unexpected argument x", "missing NAME" (an
// operand) or "missing --share NAME" (a required option).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rtl {

// What a usage line shows of an option: "[--watch FILE]", " | --no-metrics" inside the brackets
// of the option before it, "--share NAME" (which must be given), or nothing.
enum class OptionUsage { kOptional, kAlternative, kRequired, kHidden };

// The part of a table entry that reading and printing need, whatever the options fill.
struct OptionName {
  std::string_view name;        // "--watch"
  std::string_view short_name;  // "-h", or ""
  std::string_view value_name;  // "FILE"; "" for an option without a value
  std::string help;             // sentences, the default named in them; "" leaves it out of the help
  OptionUsage usage = OptionUsage::kOptional;
};

// The operands (arguments that are no option) a command line takes: NAME, at least `least` and
// at most `most` of them.
struct Operands {
  std::string_view name;
  std::size_t least = 0;
  std::size_t most = 0;
};

// One entry: its names and what taking its value does to the options read (`Target`); `take`
// returns false for a value it refuses.
template <typename Target>
struct Option {
  OptionName name;
  bool (*take)(Target& target, std::string_view value);
};

// The options read into `Target`, and the operands in their order.
template <typename Target>
struct ReadArguments {
  Target options;
  std::vector<std::string> operands;
};

// The steps of ReadOptions below that need no `Target`.
namespace detail {

// One argument read at `at`: the index of the option it names (or none, for an operand), its
// value, and where the next argument starts; or the problem.
struct ArgumentRead {
  std::size_t option = 0;
  bool is_option = false;
  std::string_view value;
  std::size_t next = 0;
};
std::variant<ArgumentRead, std::string> ReadArgument(std::span<const OptionName> names,
                                                     const std::vector<std::string>& arguments, std::size_t at);

// The problem with the operands and required options found, or "" when there is none.
std::string CountProblem(std::span<const OptionName> names, const std::vector<bool>& given,
                         const std::vector<std::string>& operands, const Operands& wanted);

}  // namespace detail

template <typename Target>
std::vector<OptionName> NamesOf(const std::vector<Option<Target>>& table) {
  std::vector<OptionName> names;
  for (const Option<Target>& option : table) names.push_back(option.name);
  return names;
}

// Reads `arguments` (what follows the program's name and the face's own option) by the table,
// starting from `options`.
template <typename Target>
std::variant<ReadArguments<Target>, std::string> ReadOptions(const std::vector<Option<Target>>& table,
                                                             const std::vector<std::string>& arguments,
                                                             const Operands& wanted, Target options = {}) {
  const std::vector<OptionName> names = NamesOf(table);
  ReadArguments<Target> read{std::move(options), {}};
  std::vector<bool> given(table.size(), false);
  for (std::size_t at = 0; at < arguments.size();) {
    const auto step = detail::ReadArgument(names, arguments, at);
    if (const auto* problem = std::get_if<std::string>(&step)) return *problem;
    const detail::ArgumentRead& argument = std::get<detail::ArgumentRead>(step);
    at = argument.next;
    if (!argument.is_option) {
      read.operands.emplace_back(argument.value);
    } else if (!table[argument.option].take(read.options, argument.value)) {
      return "invalid value for " + std::string(names[argument.option].name) + ": " + std::string(argument.value);
    } else {
      given[argument.option] = true;
    }
  }
  std::string problem = detail::CountProblem(names, given, read.operands, wanted);
  if (!problem.empty()) return problem;
  return read;
}

// "[--watch FILE] [--interval N] [--metrics HOST:PORT | --no-metrics]": the options as a usage
// line shows them, after the operands' name when there is one.
std::string UsageOf(std::span<const OptionName> names, const Operands& operands = {});

// One option a line or more: two spaces, the names and value ("-h, --help", "--watch <FILE>",
// padded to one column for all), a space, and the help wrapped by words within 79
// characters. An option without help is left out.
std::string OptionsHelp(std::span<const OptionName> names);

}  // namespace rtl
