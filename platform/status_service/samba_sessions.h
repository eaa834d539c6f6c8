// The status service's reader of Samba's sessions and open files: turns the report of
// "smbstatus --json" (Samba 4.17 and later; its "open_files" are those of "-L") into the
// records of platform/server_sessions.h, in time linear in the report's length. Texts stay in
// UTF-8 here, as Samba gives them, control characters and all; the client converts them.
// A report that is no valid JSON, nests deeper than kMostStatusDepth or lacks the tables
// gives kFailed with the reason in English and no records; an entry missing a field gives
// its record with that field empty. At most kMostServerRecords records, then truncated.
#pragma once

#include <string_view>
#include <vector>

#include "platform/samba_config.h"
#include "platform/server_sessions.h"

namespace status_service {

// Samba's report nests 6 deep (report, open_files, file, opens, open, access_mask); anything
// deeper is no part of it and is dropped while reading.
inline constexpr int kMostStatusDepth = 8;

// Every session, with its earliest tree connection's time as connected_at and the number of
// files opened by its serving process under its user as open_files.
platform::SessionReading SessionsFromStatus(std::string_view report);

// The opens of share (matched as Samba matches share names; "" for all shares), each with the
// share whose path holds it (the first of shares with that path; "" when none) and the user
// and computer of the session that opened it.
platform::OpenFileReading OpenFilesFromStatus(std::string_view report,
                                              const std::vector<platform::SambaShare>& shares,
                                              std::string_view share);

}  // namespace status_service
