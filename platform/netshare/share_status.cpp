#include "platform/netshare/share_status.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <future>

#include "platform/child_process.h"
#include "platform/netshare/share_report.h"

namespace netshare {
namespace {

using platform::CapturedOutput;
using platform::RunOutcome;

std::vector<std::string> SambaTool(const std::string& tool, const std::vector<std::string>& options) {
  std::vector<std::string> arguments{tool};
  const std::string configuration = platform::SambaConfigFile();
  if (!configuration.empty()) arguments.insert(arguments.end(), {"-s", configuration});
  arguments.insert(arguments.end(), options.begin(), options.end());
  return arguments;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// Why a tool gave nothing usable; "" when it ended with status 0.
std::string ToolProblem(const std::vector<std::string>& command, const CapturedOutput& result,
                        std::chrono::milliseconds time_limit) {
  switch (result.outcome) {
    case RunOutcome::kCompleted: break;
    case RunOutcome::kTimedOut:
      return Joined(command) + " did not end within " + std::to_string(time_limit.count()) + " ms";
    case RunOutcome::kOutputTooLarge:
      return Joined(command) + " printed more than " + std::to_string(platform::kConsoleOutputLimit) + " bytes";
    default: return Joined(command) + " could not be started";
  }
  if (result.exit_code != 0) return Joined(command) + " ended with status " + std::to_string(result.exit_code);
  return "";
}

// A user id without an account name stays a number, as smbstatus shows it.
std::string UserNameOf(const std::string& user_id) {
  uid_t id = 0;
  const auto [end, error] = std::from_chars(user_id.data(), user_id.data() + user_id.size(), id);
  if (error != std::errc() || end != user_id.data() + user_id.size()) return user_id;
  passwd entry{};
  passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(id, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) return user_id;
  return found->pw_name;
}

struct ConnectionReading {
  ConnectionState state = ConnectionState::Unreadable;
  ConnectionsByService connections;
  std::string problem;
  std::string status_report;
};

ConnectionReading Unreadable(std::string problem) { return {ConnectionState::Unreadable, {}, std::move(problem), ""}; }

// Samba before 4.17 has no --json: "smbstatus -S" joined to "smbstatus -p -n" through the
// serving process. Row names need the configured share names. The two run side by side, so
// that the text tables take one tool's time, as the JSON report does.
ConnectionReading FromTextTables(const std::vector<platform::SambaShare>& shares, std::chrono::milliseconds limit) {
  const auto services_command = SambaTool("smbstatus", {"-S"});
  const auto processes_command = SambaTool("smbstatus", {"-p", "-n"});
  auto processes_run =
      std::async(std::launch::async, [&] { return platform::CaptureToolOutput(processes_command, limit); });
  const auto services = platform::CaptureToolOutput(services_command, limit);
  const auto processes = processes_run.get();
  if (auto problem = ToolProblem(services_command, services, limit); !problem.empty()) return Unreadable(problem);
  if (auto problem = ToolProblem(processes_command, processes, limit); !problem.empty()) return Unreadable(problem);
  std::vector<std::string> names;
  for (const auto& share : shares) names.push_back(share.name);
  const auto rows = ParseServiceRows(services.output, names);
  const auto users = ParseProcessUsers(processes.output);
  ConnectionReading reading{ConnectionState::Read, {}, "", ""};
  for (const auto& name : names) {
    auto joined = JoinConnections(rows, users, name, UserNameOf);
    if (!joined.empty()) reading.connections[name] = std::move(joined);
  }
  return reading;
}

std::string BothProblems(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return first + second;
  return first + "; " + second;
}

ConnectionReading FromStatusReport(const std::vector<std::string>& command, const CapturedOutput& json,
                                   const std::vector<platform::SambaShare>& shares, std::chrono::milliseconds limit) {
  // Tens of thousands of open files flood the full report, which lists them all; the text tables
  // list none, so the users are still counted, and the problem says why no records are read.
  if (json.outcome == RunOutcome::kOutputTooLarge) {
    auto reading = FromTextTables(shares, limit);
    reading.problem = BothProblems(ToolProblem(command, json, limit), reading.problem);
    return reading;
  }
  // A tool that did not start or hung is the same tool the text tables would run.
  if (json.outcome != RunOutcome::kCompleted) return Unreadable(ToolProblem(command, json, limit));
  if (json.exit_code == 0) {
    if (auto connections = ConnectionsFromJson(json.output)) {
      return {ConnectionState::Read, std::move(*connections), "", json.output};
    }
  }
  return FromTextTables(shares, limit);
}

// smbcontrol answers a ping only while smbd runs; it ends with status 1 when smbd is down.
ConnectionReading WithLiveness(ConnectionReading reading, const std::vector<std::string>& command,
                               const CapturedOutput& ping, std::chrono::milliseconds limit) {
  if (ping.outcome != RunOutcome::kCompleted) return Unreadable(ToolProblem(command, ping, limit));
  if (ping.exit_code != 0) return {ConnectionState::ServerDown, {}, "smbd is not running (" + Joined(command) + ")", ""};
  return reading;
}

std::string SharesProblem(const StatusSnapshot& snapshot, std::chrono::milliseconds limit) {
  if (snapshot.shares) return "";
  return "testparm could not read the configuration or did not end within " + std::to_string(limit.count()) + " ms";
}

}  // namespace

StatusSnapshot ReadStatusSnapshot(std::chrono::milliseconds tool_time_limit) {
  StatusSnapshot snapshot;
  if (geteuid() != 0) {
    snapshot.shares = platform::ReadSambaShares(tool_time_limit);
    snapshot.state = ConnectionState::NoRights;
    snapshot.problem = BothProblems(SharesProblem(snapshot, tool_time_limit), "only root may read the connections");
    return snapshot;
  }
  const auto ping_command = SambaTool("smbcontrol", {"smbd", "ping"});
  const auto json_command = SambaTool("smbstatus", {"--json"});
  auto shares = std::async(std::launch::async, [=] { return platform::ReadSambaShares(tool_time_limit); });
  auto ping = std::async(std::launch::async, [&] { return platform::CaptureToolOutput(ping_command, tool_time_limit); });
  const auto json = platform::CaptureToolOutput(json_command, tool_time_limit);
  snapshot.shares = shares.get();
  const auto no_shares = std::vector<platform::SambaShare>{};
  auto reading = WithLiveness(FromStatusReport(json_command, json, snapshot.shares ? *snapshot.shares : no_shares,
                                               tool_time_limit),
                              ping_command, ping.get(), tool_time_limit);
  snapshot.state = reading.state;
  snapshot.connections = std::move(reading.connections);
  snapshot.status_report = std::move(reading.status_report);
  snapshot.problem = BothProblems(SharesProblem(snapshot, tool_time_limit), reading.problem);
  return snapshot;
}

ShareReply ReplyFor(const StatusSnapshot& snapshot, std::string_view share_name) {
  if (!snapshot.shares) return {2, ConfigurationUnreadableReport()};
  const platform::SambaShare* share = platform::FindSambaShare(*snapshot.shares, share_name);
  if (share == nullptr) return {2, NoSuchShareReport()};
  switch (snapshot.state) {
    case ConnectionState::NoRights: return {2, AccessDeniedReport()};
    case ConnectionState::ServerDown: return {2, ServerNotRunningReport()};
    case ConnectionState::Unreadable: return {2, StatusUnreadableReport()};
    case ConnectionState::Read: break;
  }
  const auto found = snapshot.connections.find(share->name);
  const std::vector<Connection> none;
  return {0, ShareReport(share->name, share->path, share->comment,
                         found == snapshot.connections.end() ? none : found->second)};
}

}  // namespace netshare
