// netshare NAME: prints, in code page 866, the report a Russian-language Windows system prints
// for its share query command ("net share NAME"), with the users section filled from the live
// state of the local Samba server. sharemon runs it for every probe of a share on Linux.
// Exit code 0 with the report, 2 with an error text, 1 for a wrong call.
#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <string>

#include "platform/child_process.h"
#include "platform/netshare/share_connections.h"
#include "platform/netshare/share_report.h"
#include "platform/samba_config.h"

namespace {

std::vector<std::string> StatusCommand(std::vector<std::string> options) {
  std::vector<std::string> arguments{"smbstatus"};
  const std::string configuration = platform::SambaConfigFile();
  if (!configuration.empty()) arguments.insert(arguments.end(), {"-s", configuration});
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

// A user id without an account name stays a number, as smbstatus shows it.
std::string UserNameOf(const std::string& user_id) {
  uid_t id = 0;
  const auto [end, error] = std::from_chars(user_id.data(), user_id.data() + user_id.size(), id);
  if (error != std::errc() || end != user_id.data() + user_id.size()) return user_id;
  const passwd* entry = getpwuid(id);
  return entry != nullptr ? entry->pw_name : user_id;
}

// The report of "smbstatus --json" where the installed Samba has it; otherwise the text
// tables joined through the serving process.
std::vector<netshare::Connection> ReadConnections(const platform::SambaShare& share,
                                                  const std::vector<platform::SambaShare>& shares) {
  const auto json = platform::CaptureToolOutput(StatusCommand({"--json"}));
  if (json && json->exit_code == 0) {
    if (auto connections = netshare::ConnectionsFromJson(json->output, share.name)) return *connections;
  }
  std::vector<std::string> names;
  for (const auto& each : shares) names.push_back(each.name);
  const auto services = platform::CaptureToolOutput(StatusCommand({"-S"}));
  const auto processes = platform::CaptureToolOutput(StatusCommand({"-p", "-n"}));
  if (!services || !processes) return {};
  return netshare::JoinConnections(netshare::ParseServiceRows(services->output, names),
                                   netshare::ParseProcessUsers(processes->output), share.name, UserNameOf);
}

int Print(const std::string& text, int exit_code) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  return exit_code;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return Print(netshare::UsageReport(), 1);
  const auto shares = platform::ReadSambaShares();
  if (!shares) return Print(netshare::ConfigurationUnreadableReport(), 2);
  const platform::SambaShare* share = platform::FindSambaShare(*shares, argv[1]);
  if (share == nullptr) return Print(netshare::NoSuchShareReport(), 2);
  // smbstatus refuses everyone but root; say so the way the Windows command does.
  if (geteuid() != 0) return Print(netshare::AccessDeniedReport(), 2);
  return Print(netshare::ShareReport(share->name, share->path, share->comment, ReadConnections(*share, *shares)), 0);
}
