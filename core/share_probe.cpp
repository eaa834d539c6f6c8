#include "core/share_probe.h"

#include <algorithm>
#include <string>

#include "platform/share_query_command.h"
#include "platform/share_report_layout.h"
#include "rtl/console_text.h"

namespace core {
namespace {

namespace layout = platform::share_report;

// 1-based position of the first occurrence of a label where the layout puts labels, at the
// start of a line; 0 when there is none. A share's comment is printed as it stands, so the
// same words inside a line are the owner's text, not the report's.
long long LabelPosition(const rtl::Text& text, std::string_view label_utf8) {
  const rtl::Text label = rtl::Windows1251FromUtf8(std::string(label_utf8));
  for (auto found = text.find(label); found != rtl::Text::npos; found = text.find(label, found + 1)) {
    if (found == 0 || text[found - 1] == '\n') return static_cast<long long>(found) + 1;
  }
  return 0;
}

// The runtime's substring: a start below 1 counts as 1 without shortening the length; a
// start past the end or a length of 0 or less gives "".
rtl::Text Substring(const rtl::Text& text, long long start, long long length) {
  if (start < 1) start = 1;
  if (length <= 0 || start > static_cast<long long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

ProbeOutcome ReportOutcome(const rtl::Text& report) {
  if (LabelPosition(report, layout::kAccessDeniedLine) != 0) return ProbeOutcome::kAccessDenied;
  if (LabelPosition(report, layout::kUsersLabel) == 0 || LabelPosition(report, layout::kCachingLabel) == 0) {
    return ProbeOutcome::kNoUsersSection;
  }
  return ProbeOutcome::kCounted;
}

// Why a report gives no real count, in its own words: its first non-blank lines, a few at
// most, so that a flood of text stays a short error text.
rtl::Text ReportReason(const rtl::Text& report) {
  constexpr std::size_t kMostLines = 4;
  constexpr std::size_t kMostCharacters = 500;
  rtl::Text reason;
  std::size_t lines = 0;
  for (std::size_t start = 0; start < report.size() && lines < kMostLines;) {
    const std::size_t end = std::min(report.find('\n', start), report.size());
    const rtl::Text line = report.substr(start, end - start);
    const std::size_t last = line.find_last_not_of(" \t\r");
    if (last != rtl::Text::npos) {
      if (!reason.empty()) reason += '\n';
      reason.append(line, 0, last + 1);
      ++lines;
    }
    start = end + 1;
  }
  return reason.substr(0, kMostCharacters);
}

}  // namespace

const char* ProbeOutcomeName(ProbeOutcome outcome) {
  switch (outcome) {
    case ProbeOutcome::kCounted: return "counted";
    case ProbeOutcome::kNoUsersSection: return "no_users_section";
    case ProbeOutcome::kAccessDenied: return "access_denied";
    case ProbeOutcome::kNotStarted: return "not_started";
    case ProbeOutcome::kTimedOut: return "timed_out";
    case ProbeOutcome::kReportTooLarge: return "report_too_large";
    case ProbeOutcome::kCancelled: return "cancelled";
  }
  return "unknown";
}

bool ProbeResult::HasReport() const {
  return outcome == ProbeOutcome::kCounted || outcome == ProbeOutcome::kNoUsersSection ||
         outcome == ProbeOutcome::kAccessDenied;
}

rtl::Text CutUsersSection(const rtl::Text& report) {
  constexpr auto kStart = static_cast<long long>(layout::kLabelWidth);
  constexpr auto kEnd = static_cast<long long>(layout::kLabelWidth + layout::kCharactersBeforeCaching);
  const long long users = LabelPosition(report, layout::kUsersLabel);
  const long long caching = LabelPosition(report, layout::kCachingLabel);
  return Substring(report, users + kStart, caching - users - kEnd);
}

std::vector<rtl::Text> UserTokens(const rtl::Text& section) {
  std::vector<rtl::Text> tokens;
  rtl::Text token;
  for (const char c : section) {
    if (c != ' ') {
      token += c;
      continue;
    }
    if (token.size() >= layout::kShortestUserName) tokens.push_back(token);
    token.clear();
  }
  return tokens;
}

ProbeResult ProbeResultOfReport(const rtl::Text& report) {
  ProbeResult result;
  result.outcome = ReportOutcome(report);
  result.users = UserTokens(CutUsersSection(report));
  result.count = static_cast<std::int32_t>(result.users.size());
  if (!result.Counted()) result.error = ReportReason(report);
  return result;
}

ProbeResult ProbeResultOfFailedRun(const platform::ConsoleCommand& command, platform::RunOutcome outcome) {
  ProbeResult result;
  switch (outcome) {
    case platform::RunOutcome::kTimedOut: result.outcome = ProbeOutcome::kTimedOut; break;
    case platform::RunOutcome::kOutputTooLarge: result.outcome = ProbeOutcome::kReportTooLarge; break;
    case platform::RunOutcome::kCancelled: result.outcome = ProbeOutcome::kCancelled; break;
    default: result.outcome = ProbeOutcome::kNotStarted; break;
  }
  result.error = platform::RunFailureText(command, outcome);
  return result;
}

ProbeResult ConsoleShareProber::Probe(const rtl::Text& share, const platform::CancelSignal& cancel) {
  if (const auto fault = platform::ShareNameFault(share)) {
    ProbeResult refused;
    refused.outcome = ProbeOutcome::kNotStarted;
    refused.error = *fault;
    return refused;
  }
  const auto start = std::chrono::steady_clock::now();
  const platform::ConsoleCommand command = platform::ShareQueryCommand(share);
  const platform::RunResult run =
      platform::RunCommand(command, platform::ShareQueryDirectory(), {time_limit_, platform::kConsoleOutputLimit, &cancel});
  ProbeResult result = run.outcome == platform::RunOutcome::kCompleted
                           ? ProbeResultOfReport(rtl::ConvertConsoleText(run.output))
                           : ProbeResultOfFailedRun(command, run.outcome);
  result.duration = std::chrono::steady_clock::now() - start;
  return result;
}

}  // namespace core
