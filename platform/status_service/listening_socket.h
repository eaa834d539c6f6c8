// The service's socket file: created owner-only, then given to its group with mode 0660, so
// that the kernel admits root and the group's members (supplementary groups included) and
// refuses everyone else with EACCES.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <variant>

#include "platform/status_service/socket_io.h"

namespace status_service {

// The id of a group given by name or number; nothing when there is no such group.
std::optional<gid_t> GroupId(const std::string& name_or_number);

struct ListeningSocket {
  Descriptor descriptor;  // non-blocking, close-on-exec, listening
  ino_t inode = 0;        // of the socket file, so that only our own file is removed
};

// Creates the socket at path (and its directory, mode 0755, when missing), owned by our user
// and group gid, mode 0660. A stale socket file (nobody answers on it) is replaced; a socket
// someone answers on, or a file that is no socket, is left alone and reported. Returns the
// socket or the problem in English.
std::variant<ListeningSocket, std::string> OpenListeningSocket(const std::string& path, gid_t gid);

// Removes the socket file at path when it is still the one the socket created.
void RemoveSocketFile(const std::string& path, const ListeningSocket& socket);

}  // namespace status_service
