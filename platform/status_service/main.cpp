// sharemond: the status service. Runs as root and answers, on a Unix socket that only one
// group may use, the report of a share that netshare prints, so that the members of the
// group see Samba's connections without root. See README.md beside this file.
#include <string>
#include <variant>
#include <vector>

#include "platform/standard_streams.h"
#include "platform/status_service/service_options.h"
#include "platform/status_service/status_server.h"

int main(int argc, char* argv[]) {
  const auto parsed = status_service::ParseServiceOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* problem = std::get_if<std::string>(&parsed)) {
    platform::WriteErrorLine("sharemond: " + *problem);
    platform::Write(platform::Stream::kError, status_service::ServiceUsage());
    return 2;
  }
  const auto& options = std::get<status_service::ServiceOptions>(parsed);
  if (options.help) {
    platform::Write(platform::Stream::kOut, status_service::ServiceUsage());
    return 0;
  }
  return status_service::RunStatusService(options);
}
