// The share user probe: runs the share query command for one share, converts its report
// from the console code page, cuts out the users section between "Пользователи" and
// "Кэширование" and counts the user names in it. The result says what happened, so that a
// window can record the count the rules give while a metrics exporter tells a real count
// from a failure.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/cancel_signal.h"
#include "platform/console_command.h"
#include "rtl/text.h"

namespace core {

enum class ProbeOutcome {
  kCounted,          // a report with a users section: the count is real
  kNoUsersSection,   // a report without one of the two words (no such share, an error text)
  kAccessDenied,     // the report of a user without the rights to see the connections
  kNotStarted,       // the command could not be started: no report
  kTimedOut,         // the command ran past its time limit: no report
  kReportTooLarge,   // the command printed more than the output limit: no report
  kCancelled,        // the probe was cancelled: no report
};

// A short fixed name of the outcome ("counted", "no_users_section", "access_denied",
// "not_started", "timed_out", "report_too_large", "cancelled"), for log lines and metric labels.
const char* ProbeOutcomeName(ProbeOutcome outcome);

struct ProbeResult {
  ProbeOutcome outcome = ProbeOutcome::kCounted;
  // By the cut and count rules, whatever the report was: 0 for an access-denied report or for
  // a report without a users section (as the window records it); 0 without a report.
  std::int32_t count = 0;
  std::vector<rtl::Text> users;  // the counted names, in report order
  // Without a report: the error text the window shows. With a report that gives no real
  // count: the report's first non-blank lines, which say why (the window shows none).
  rtl::Text error;
  std::chrono::steady_clock::duration duration{};

  bool Counted() const { return outcome == ProbeOutcome::kCounted; }
  // A report arrived, so the count stands for this share (maybe as the 0 the rules give).
  bool HasReport() const;
  // No report: the tick ends at this share, as the start error ends it in the window.
  bool EndsTick() const { return !HasReport(); }
};

// The users section: the text from 29 characters after the start of "Пользователи" up to,
// not including, the 6 characters before "Кэширование" (positions from 1 of each word's first
// occurrence at the start of a line, where the report puts its labels; 0 = not found; a start
// below 1 counts as 1, a length of 0 or less gives "", a length past the end stops there).
// Input and result in Windows-1251.
rtl::Text CutUsersSection(const rtl::Text& report);

// The names the count takes: every run of non-space characters (tabs and line breaks are
// part of a name) of 6 or more characters that a space ends; a run still open at the end
// of the section is discarded.
std::vector<rtl::Text> UserTokens(const rtl::Text& section);

// The result for a report (Windows-1251, already converted from the console code page).
ProbeResult ProbeResultOfReport(const rtl::Text& report);

// The result for a run of the share query command that ended some other way than with a
// report; `command` names it in the error text.
ProbeResult ProbeResultOfFailedRun(const platform::ConsoleCommand& command, platform::RunOutcome outcome);

// Who answers a probe. The polling run and the users view ask through this, so the window,
// the headless run and the tests can put their own behind it. May be called from any thread,
// one probe at a time per prober.
class ShareProber {
 public:
  virtual ~ShareProber() = default;
  // Probes one share (name in Windows-1251); returns early with kCancelled once `cancel` is given.
  virtual ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal& cancel) = 0;
};

// The real probe: the share query command of this platform, waited for at most `time_limit`.
// A name platform::ShareNameFault refuses starts no command: kNotStarted with that fault.
class ConsoleShareProber : public ShareProber {
 public:
  explicit ConsoleShareProber(std::chrono::milliseconds time_limit = platform::kConsoleCommandTimeLimit)
      : time_limit_(time_limit) {}
  ProbeResult Probe(const rtl::Text& share, const platform::CancelSignal& cancel) override;

 private:
  std::chrono::milliseconds time_limit_;
};

}  // namespace core
