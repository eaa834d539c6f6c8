#include "platform/status_service/record_replies.h"

#include "platform/status_service/record_wire.h"
#include "platform/status_service/samba_sessions.h"

namespace status_service {
namespace {

using platform::ServerReadOutcome;

// The reply's header line stays well within this margin of the reply limit.
constexpr std::size_t kMostBodyBytes = kMaxReplyBytes - 64;

// Why the snapshot holds no report to read the records from; kRead when it holds one.
std::pair<ServerReadOutcome, std::string> Unanswerable(const netshare::StatusSnapshot& snapshot) {
  using netshare::ConnectionState;
  switch (snapshot.state) {
    case ConnectionState::NoRights: return {ServerReadOutcome::kAccessDenied, snapshot.problem};
    case ConnectionState::ServerDown: return {ServerReadOutcome::kNoService, snapshot.problem};
    case ConnectionState::Unreadable: return {ServerReadOutcome::kFailed, snapshot.problem};
    case ConnectionState::Read: break;
  }
  // Read from the text tables: their Samba has no --json, or its report was too large to read.
  if (snapshot.status_report.empty()) {
    return {ServerReadOutcome::kFailed, snapshot.problem.empty() ? "this Samba has no smbstatus --json" : snapshot.problem};
  }
  return {ServerReadOutcome::kRead, ""};
}

}  // namespace

std::string RecordsReply(const netshare::StatusSnapshot& snapshot, RequestKind kind, std::string_view share) {
  const auto [outcome, problem] = Unanswerable(snapshot);
  if (kind == RequestKind::kSessions) {
    return EncodeReading(outcome == ServerReadOutcome::kRead ? SessionsFromStatus(snapshot.status_report)
                                                             : platform::SessionReading{outcome, {}, false, problem},
                         kMostBodyBytes);
  }
  static const std::vector<platform::SambaShare> kNoShares;
  const auto& shares = snapshot.shares ? *snapshot.shares : kNoShares;
  return EncodeReading(outcome == ServerReadOutcome::kRead ? OpenFilesFromStatus(snapshot.status_report, shares, share)
                                                           : platform::OpenFileReading{outcome, {}, false, problem},
                       kMostBodyBytes);
}

}  // namespace status_service
