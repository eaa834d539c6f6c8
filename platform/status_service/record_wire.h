// The body of the status service's reply to a request for sessions or open files: the reading
// as one JSON object (UTF-8), so that names keep every character, control characters and
// quotes included. The service encodes it within a byte limit, dropping the last records (and
// saying so) when they do not fit; the client decodes it. Texts are passed on as they are.
//
//   {"outcome": "read" | "access_denied" | "no_service" | "failed", "error": TEXT,
//    "records": [RECORD...], "truncated": BOOLEAN}
//   session:   [USER, COMPUTER, DIALECT, ENCRYPTION, ENCRYPTION_CIPHER, SIGNING, SIGNING_CIPHER,
//               CONNECTED_AT, IDLE_SECONDS, OPEN_FILES]        degrees by ProtectionDegreeName
//   open file: [SHARE, PATH, USER, COMPUTER, ACCESS, SHARE_MODE, LOCKS, OPENED_AT]
//              ACCESS: the letters R, W, D it holds, in that order; times: seconds since 1970
//              UTC; a number absent from the reading is null
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/server_sessions.h"

namespace status_service {

std::string EncodeReading(const platform::SessionReading& reading, std::size_t most_bytes);
std::string EncodeReading(const platform::OpenFileReading& reading, std::size_t most_bytes);

// The reading the body holds; kFailed with the reason (English) when it is malformed.
platform::SessionReading DecodeSessions(std::string_view body);
platform::OpenFileReading DecodeOpenFiles(std::string_view body);

}  // namespace status_service
