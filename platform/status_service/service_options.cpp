#include "platform/status_service/service_options.h"

#include <charconv>

#include "platform/status_service/status_protocol.h"

namespace status_service {
namespace {

// 1 ms to one day: anything else is a typing error.
bool ReadMilliseconds(const std::string& text, std::chrono::milliseconds& value) {
  long long count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > 86'400'000) return false;
  value = std::chrono::milliseconds(count);
  return true;
}

// Stores the value of one option that takes one; false when it is not valid.
bool Take(ServiceOptions& options, const std::string& name, const std::string& value) {
  if (name == "--socket") options.socket_path = value;
  else if (name == "--socket-group") options.socket_group = value;
  else if (name == "--tool-time-limit") return ReadMilliseconds(value, options.tool_time_limit);
  else if (name == "--client-time-limit") return ReadMilliseconds(value, options.client_time_limit);
  return !value.empty();
}

bool TakesValue(const std::string& name) {
  return name == "--socket" || name == "--socket-group" || name == "--tool-time-limit" ||
         name == "--client-time-limit";
}

}  // namespace

std::variant<ServiceOptions, std::string> ParseServiceOptions(const std::vector<std::string>& arguments) {
  ServiceOptions options;
  options.socket_path = StatusSocketPath();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help") {
      options.help = true;
    } else if (!TakesValue(name)) {
      return "unknown argument: " + name;
    } else if (i + 1 == arguments.size()) {
      return name + " needs a value";
    } else if (!Take(options, name, arguments[++i])) {
      return "invalid value for " + name + ": " + arguments[i];
    }
  }
  return options;
}

std::string ServiceUsage() {
  return "Usage: sharemond [--socket PATH] [--socket-group NAME] [--tool-time-limit MS] [--client-time-limit MS]\n"
         "Answers the share reports of netshare, and the sessions and open files sharemon asks for,\n"
         "for the members of a group, on a Unix socket\n"
         "(default: SHAREMON_STATUS_SOCKET, else " +
         std::string(kDefaultSocketPath) +
         "; group " + std::string(kDefaultSocketGroup) + ").\n"
         "Runs as root; the Samba configuration is SHAREMON_SMB_CONF, else Samba's default.\n";
}

}  // namespace status_service
