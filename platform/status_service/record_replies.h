// What the status service answers a request for sessions or open files: the reading taken
// from the snapshot's status report, or why there is none, encoded as record_wire.h says
// within the reply limit.
#pragma once

#include <string>
#include <string_view>

#include "platform/netshare/share_status.h"
#include "platform/status_service/status_protocol.h"

namespace status_service {

// kind is kSessions or kOpenFiles (share: UTF-8, "" for all shares). No rights to read Samba
// gives access_denied, a stopped server no_service, an unreadable one or a Samba without
// a JSON report failed, each with the reason in English.
std::string RecordsReply(const netshare::StatusSnapshot& snapshot, RequestKind kind, std::string_view share);

}  // namespace status_service
