// The status service: listens on a Unix socket that only root and the members of one group may
// use (owner root, that group, mode 0660), answers each connection's request for a share's
// report from a snapshot of the Samba server that is at most a second old, and logs its start
// and every failed reading on standard error, one line each, and its refusals at most a line a
// second per peer user (RefusalLog).
#pragma once

#include <string>

#include "platform/status_service/service_options.h"

namespace status_service {

// A thread answers each request once it has come (RequestIntake), at most this many at once
// in all and of one peer user; the request of a connection beyond that is refused.
inline constexpr int kMaxConnections = 256;
inline constexpr int kMaxConnectionsPerPeer = 16;

// Writes "sharemond: " + line to standard error as one whole line.
void Log(const std::string& line);

// Serves until SIGTERM, SIGINT or SIGHUP, then removes its socket and waits for the
// connections under way. Returns the exit code: 0 after a signal, 1 when it cannot start
// (unknown group, socket path taken or unusable).
int RunStatusService(const ServiceOptions& options);

}  // namespace status_service
