#include "platform/status_service/service_options.h"

#include <charconv>
#include <string_view>

#include "platform/status_service/status_protocol.h"
#include "rtl/option_table.h"

namespace status_service {
namespace {

using Value = std::string_view;

// 1 ms to one day: anything else is a typing error.
bool ReadMilliseconds(Value text, std::chrono::milliseconds& value) {
  long long count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > 86'400'000) return false;
  value = std::chrono::milliseconds(count);
  return true;
}

bool TakeText(std::string& field, Value value) {
  field = value;
  return !value.empty();
}

const std::vector<rtl::Option<ServiceOptions>>& Options() {
  using rtl::OptionUsage;
  static const std::vector<rtl::Option<ServiceOptions>> options = {
      {{"--socket", "", "PATH", ""}, [](ServiceOptions& o, Value v) { return TakeText(o.socket_path, v); }},
      {{"--socket-group", "", "NAME", ""}, [](ServiceOptions& o, Value v) { return TakeText(o.socket_group, v); }},
      {{"--tool-time-limit", "", "MS", ""},
       [](ServiceOptions& o, Value v) { return ReadMilliseconds(v, o.tool_time_limit); }},
      {{"--client-time-limit", "", "MS", ""},
       [](ServiceOptions& o, Value v) { return ReadMilliseconds(v, o.client_time_limit); }},
      {{"--help", "", "", "", OptionUsage::kHidden}, [](ServiceOptions& o, Value) {
         o.help = true;
         return true;
       }},
  };
  return options;
}

}  // namespace

std::variant<ServiceOptions, std::string> ParseServiceOptions(const std::vector<std::string>& arguments) {
  ServiceOptions defaults;
  defaults.socket_path = StatusSocketPath();
  auto read = rtl::ReadOptions(Options(), arguments, {}, std::move(defaults));
  if (auto* problem = std::get_if<std::string>(&read)) return std::move(*problem);
  return std::move(std::get<rtl::ReadArguments<ServiceOptions>>(read).options);
}

std::string ServiceUsage() {
  return "Usage: sharemond " + rtl::UsageOf(rtl::NamesOf(Options())) +
         "\n"
         "Answers the share reports of netshare, and the sessions and open files sharemon asks for,\n"
         "for the members of a group, on a Unix socket\n"
         "(default: SHAREMON_STATUS_SOCKET, else " +
         std::string(kDefaultSocketPath) + "; group " + std::string(kDefaultSocketGroup) +
         ").\n"
         "Runs as root; the Samba configuration is SHAREMON_SMB_CONF, else Samba's default.\n";
}

}  // namespace status_service
