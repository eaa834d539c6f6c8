// One reading of everything the report of a share is built from: the server's shares, whether
// the server runs, and who is connected to it, taken with the Samba tools (never through a
// shell), so that any number of reports can be answered from one reading. netshare answers
// one report from it; the status service answers every request of a second from one.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netshare/share_connections.h"
#include "platform/samba_config.h"

namespace netshare {

// What the reading learnt about the connections.
enum class ConnectionState {
  Read,        // StatusSnapshot::connections holds them
  NoRights,    // not asked: the server shows its connections to root only
  ServerDown,  // smbd is not running
  Unreadable,  // a status tool failed or ran past its time limit
};

struct StatusSnapshot {
  std::optional<std::vector<platform::SambaShare>> shares;  // nothing: the configuration is unreadable
  ConnectionState state = ConnectionState::Unreadable;
  ConnectionsByService connections;  // filled only when state is Read
  std::string problem;               // why the reading is incomplete, in English for logs; "" when complete
  // The "smbstatus --json" report the connections were read from, which also holds the
  // sessions and open files; "" when they came from the text tables or not at all.
  std::string status_report;
};

// Reads a snapshot. Every tool may run for tool_time_limit and is killed after it. The share
// list, the server's liveness ("smbcontrol smbd ping": smbstatus cannot tell a stopped server
// from an idle one) and "smbstatus --json" run side by side, so a reading takes about one
// tool's time; Samba before 4.17, whose smbstatus refuses --json at once, adds the text tables
// ("smbstatus -S" and "smbstatus -p -n", side by side: one more tool's time), and so does a
// report too large to read (tens of thousands of open files): the connections are then read,
// without the report, and the problem says why.
// Run by anyone but root it asks only for the shares (NoRights). Failing tools show in the
// snapshot; threads that cannot be started throw std::system_error.
StatusSnapshot ReadStatusSnapshot(std::chrono::milliseconds tool_time_limit);

// What "netshare NAME" prints, and its exit code.
struct ShareReply {
  int exit_code = 0;   // 0 with the share's report, 2 with an error text
  std::string report;  // code page 866, CR LF line ends
  bool operator==(const ShareReply&) const = default;
};

// The reply for share_name (UTF-8, matched without regard to case), checked in this order:
// configuration unreadable, no such share, no rights (access denied), server not running,
// connections unreadable; otherwise the share's report with its connections.
ShareReply ReplyFor(const StatusSnapshot& snapshot, std::string_view share_name);

}  // namespace netshare
