// Who is connected to a share of the local Samba server: the connections read from the
// server's status report ("smbstatus"), as user name and client machine.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace netshare {

// One connection to a share; texts in UTF-8.
struct Connection {
  std::string user;
  std::string machine;
  bool operator==(const Connection&) const = default;
};

// Connections by the exact service name the server reports.
using ConnectionsByService = std::map<std::string, std::vector<Connection>, std::less<>>;

// From "smbstatus --json" (Samba 4.17 and later): every tree connection joined to its session,
// grouped by service in report order. Nothing when the text is not such a report.
std::optional<ConnectionsByService> ConnectionsFromJson(std::string_view report);

// The same for one share (exact service name).
std::optional<std::vector<Connection>> ConnectionsFromJson(std::string_view report, std::string_view share);

// One row of "smbstatus -S": service, serving process and client machine.
struct ServiceRow {
  std::string service;
  std::string pid;
  std::string machine;
};

// The rows of "smbstatus -S". Service names may hold spaces and are padded by bytes, so a row
// belongs to the longest of share_names that starts it followed by blanks and a process id.
std::vector<ServiceRow> ParseServiceRows(std::string_view report, const std::vector<std::string>& share_names);

// Process id -> user id from "smbstatus -p -n" (numeric ids, so no name holds a blank).
std::map<std::string, std::string> ParseProcessUsers(std::string_view report);

// The text join for older Samba: the rows of the share (exact service name), each user taken
// from its process, the user id turned into a name by user_name.
std::vector<Connection> JoinConnections(const std::vector<ServiceRow>& rows,
                                        const std::map<std::string, std::string>& process_users,
                                        std::string_view share,
                                        std::string (*user_name)(const std::string& user_id));

}  // namespace netshare
