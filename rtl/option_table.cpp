#include "rtl/option_table.h"

#include <algorithm>
#include <initializer_list>

namespace rtl {
namespace {

constexpr std::size_t kHelpWidth = 79;

// Pieces appended one by one: GCC 12 at -O3 takes "literal" + string for an overlapping copy.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string joined;
  for (const std::string_view piece : pieces) joined += piece;
  return joined;
}

std::size_t Find(std::span<const OptionName> names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].name == name || (!names[i].short_name.empty() && names[i].short_name == name)) return i;
  }
  return names.size();
}

// "-h, --help", "--watch <FILE>".
std::string HelpNames(const OptionName& option) {
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

namespace detail {

std::variant<ArgumentRead, std::string> ReadArgument(std::span<const OptionName> names,
                                                     const std::vector<std::string>& arguments, std::size_t at) {
  const std::string_view argument = arguments[at];
  if (!argument.starts_with('-') || argument == "-") return ArgumentRead{0, false, argument, at + 1};
  const std::size_t equals = argument.find('=');
  const std::string_view name = argument.substr(0, equals);
  const std::size_t option = Find(names, name);
  if (option == names.size()) return Joined({"unknown option ", name});
  if (equals != std::string_view::npos) {
    if (names[option].value_name.empty()) return Joined({"unexpected value after ", name});
    return ArgumentRead{option, true, argument.substr(equals + 1), at + 1};
  }
  if (names[option].value_name.empty()) return ArgumentRead{option, true, {}, at + 1};
  if (at + 1 == arguments.size()) return Joined({"missing value after ", name});
  return ArgumentRead{option, true, arguments[at + 1], at + 2};
}

std::string CountProblem(std::span<const OptionName> names, const std::vector<bool>& given,
                         const std::vector<std::string>& operands, const Operands& wanted) {
  if (operands.size() > wanted.most) return Joined({"unexpected argument ", operands[wanted.most]});
  if (operands.size() < wanted.least) return Joined({"missing ", wanted.name});
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].usage == OptionUsage::kRequired && !given[i]) {
      return Joined({"missing ", names[i].name, " ", names[i].value_name});
    }
  }
  return "";
}

}  // namespace detail

std::string UsageOf(std::span<const OptionName> names, const Operands& operands) {
  std::string line(operands.least > 0 || operands.name.empty() ? operands.name : Joined({"[", operands.name, "]"}));
  for (const OptionName& option : names) {
    const std::string_view space = option.value_name.empty() ? "" : " ";
    const std::string shown = Joined({option.name, space, option.value_name});
    const std::string_view gap = line.empty() ? "" : " ";
    if (option.usage == OptionUsage::kRequired) line += Joined({gap, shown});
    if (option.usage == OptionUsage::kOptional) line += Joined({gap, "[", shown, "]"});
    if (option.usage == OptionUsage::kAlternative) line.insert(line.size() - 1, Joined({" | ", shown}));
  }
  return line;
}

std::string OptionsHelp(std::span<const OptionName> names) {
  std::size_t column = 0;
  for (const OptionName& option : names) {
    if (!option.help.empty()) column = std::max(column, HelpNames(option).size() + 1);
  }
  std::string help;
  for (const OptionName& option : names) {
    if (option.help.empty()) continue;
    std::string shown = HelpNames(option);
    for (const std::string& line : WrappedWords(option.help, kHelpWidth - (2 + column + 1))) {
      shown.resize(column, ' ');
      help += Joined({"  ", shown, " ", line, "\n"});
      shown.clear();
    }
  }
  return help;
}

}  // namespace rtl
