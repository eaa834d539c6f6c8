// The wire protocol between netshare and the status service (sharemond) on its Unix socket:
// one request and one reply per connection, both plain bytes. See README.md beside this file.
//
//   request = "report " NAME LF        at most kMaxRequestBytes in all; NAME: 1 or more bytes
//                                      of UTF-8 without control characters (U+0000-U+001F, U+007F)
//           / "sessions" LF            who is connected
//           / "open-files" [" " NAME] LF
//                                      the files open on share NAME, or on every share
//   reply   = "report " EXIT " " LENGTH LF REPORT
//                                      EXIT: netshare's exit code (decimal), LENGTH: the byte count
//                                      of REPORT (decimal), REPORT: netshare's output, as is;
//                                      for sessions and open files EXIT is 0 and REPORT the
//                                      reading as record_wire.h writes it
//           / "refused " REASON LF     REASON: printable ASCII saying what was wrong
//
// The service closes the connection after the reply; anything after the request's LF is
// refused, as is everything the grammar does not allow.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/contracts.h"

namespace status_service {

// Where the service listens, and the group whose members may use it, unless it is told others.
inline constexpr std::string_view kDefaultSocketPath = platform::contracts::kStatusSocket;
inline constexpr std::string_view kDefaultSocketGroup = platform::contracts::kStatusGroup;
inline constexpr std::size_t kMaxRequestBytes = 1024;
// A report lists one "user@machine " per connection; far more than a server can carry.
inline constexpr std::size_t kMaxReplyBytes = 16u << 20;

// SHAREMON_STATUS_SOCKET when set and not empty, else kDefaultSocketPath.
std::string StatusSocketPath();

// Whether name can travel in a request: not empty, valid UTF-8, no control characters, and
// short enough for the request limit. No Samba share has a name that cannot.
bool IsSendableShareName(std::string_view name);

// What a request asks for.
enum class RequestKind {
  kReport,     // the report of one share
  kSessions,   // the sessions
  kOpenFiles,  // the open files of one share, or of all when the name is ""
};

// The request for name, which must be sendable ("" only for the open files of all shares).
std::string EncodeRequest(std::string_view name, RequestKind kind = RequestKind::kReport);

// How far the bytes received so far go.
enum class RequestProgress {
  Incomplete,  // no line end yet, still within the limit: read on
  Complete,    // a line end came: parse it
  TooLong,     // the limit passed without a line end: refuse
};
RequestProgress ProgressOf(std::string_view received);

// What a complete request asks for, or the reason for refusing it (printable ASCII).
struct ParsedRequest {
  std::string share_name;
  std::string refusal;  // "" for a good request
  RequestKind kind = RequestKind::kReport;
};
ParsedRequest ParseRequest(std::string_view request);

std::string EncodeReport(int exit_code, std::string_view report);
std::string EncodeRefusal(std::string_view reason);

struct Reply {
  bool refused = false;
  int exit_code = 0;   // with a report
  std::string text;    // the report, or the reason of a refusal
  bool operator==(const Reply&) const = default;
};

// The reply the bytes hold when they are exactly one complete reply; nothing otherwise
// (malformed, cut short, or with bytes after it).
std::optional<Reply> ParseReply(std::string_view bytes);

}  // namespace status_service
