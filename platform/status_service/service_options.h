// The command line of sharemond: where its socket lies, which group may use it, and the time
// limits of the Samba tools and of a client taking its reply.
#pragma once

#include <chrono>
#include <string>
#include <variant>
#include <vector>

#include "platform/samba_config.h"
#include "platform/status_service/status_protocol.h"

namespace status_service {

struct ServiceOptions {
  std::string socket_path;            // --socket, else SHAREMON_STATUS_SOCKET, else the default path
  std::string socket_group{kDefaultSocketGroup};           // --socket-group: a group name or number
  std::chrono::milliseconds tool_time_limit = platform::kToolTimeLimit;  // --tool-time-limit MS
  std::chrono::milliseconds client_time_limit{5000};       // --client-time-limit MS: to take the reply
  bool help = false;                                       // --help
};

// The options of arguments (argv without the program name), or what is wrong, in the words
// of rtl/option_table.h.
std::variant<ServiceOptions, std::string> ParseServiceOptions(const std::vector<std::string>& arguments);

// How to call sharemond.
std::string ServiceUsage();

}  // namespace status_service
