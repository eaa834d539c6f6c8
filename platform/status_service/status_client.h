// The clients' side of the status service: asks the service on its Unix socket for the report
// of one share (netshare), the sessions or the open files (platform::ReadSessions and
// ReadOpenFiles), and tells apart the ways that can fail, so that the caller can say what to do.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/status_service/status_protocol.h"

namespace status_service {

// How long a client waits for the whole exchange: the service may have to wait for a hung
// Samba tool (10 s each) before it answers.
inline constexpr std::chrono::milliseconds kClientTimeLimit{30000};

struct ServiceAnswer {
  enum class Outcome {
    Answered,   // exit_code and report are the service's reply
    NoService,  // no socket at the path, or nobody listening on it
    NotMember,  // the socket refused us (EACCES): this process is not in the socket's group
    Failed,     // the exchange failed: refused, cut short, malformed, or past the time limit
  };
  Outcome outcome = Outcome::Failed;
  int exit_code = 0;
  std::string report;
  std::string group;    // NotMember: the name (or number) of the socket's group; "" when unknown
  std::string problem;  // Failed: what went wrong, in English
};

// Connects to socket_path and asks for the report of share_name, which must be sendable
// (IsSendableShareName). Waits at most time_limit in all.
ServiceAnswer AskForReport(const std::string& socket_path, std::string_view share_name,
                           std::chrono::milliseconds time_limit = kClientTimeLimit);

// The same for a request of any kind (status_protocol.h); the report of an answer to sessions
// or open files is the reading as record_wire.h writes it.
ServiceAnswer Ask(const std::string& socket_path, std::string_view share_name, RequestKind kind,
                  std::chrono::milliseconds time_limit = kClientTimeLimit);

}  // namespace status_service
