// What the headless run exports to a metrics scraper, and its text in the Prometheus text
// exposition format, version 0.0.4. Fed from the run's listener events; plain data, not
// thread-safe: a shell that reads it on another thread guards it.
//
// Families (each with HELP and TYPE, share names in UTF-8):
//   sharemon_share_users{share}                          gauge    users counted at the latest tick
//   sharemon_share_probe_duration_seconds{share}         gauge    how long the share's last probe took
//   sharemon_share_probe_failures_total{share,reason}    counter  probes without a real count, by kind
//   sharemon_ticks_total                                 counter  ticks completed
//   sharemon_last_tick_timestamp_seconds                 gauge    Unix time the latest tick ended
//   sharemon_build_info{version,qt_version}              gauge    always 1
//   sharemon_share_open_files{share}                     gauge    files open on a watched share
//   sharemon_open_files                                  gauge    files open on all shares
//   sharemon_sessions{dialect,encryption}                gauge    sessions by dialect and encryption degree
//   sharemon_server_read_failures_total{reading,reason}  counter  failed readings of sessions or open files
// A share has a users value only when the latest completed tick counted it for real: a failed
// probe (no report, time limit, access denied, no users section), or one skipped because an
// earlier share's probe ended the tick, leaves no value (never a 0) until a later tick counts
// it. The failure counters of a share start at 0 for every kind once it was first probed.
// The sessions and open files come from the latest reading of the server (ServerRead, once a
// tick); a failed reading leaves its families without samples and counts a failure, by
// reading ("sessions", "open_files") and reason ("access_denied", "no_service", "failed"),
// whose counters start at 0 for every kind at the first reading. No family has a label per
// user or per file: their number has no bound.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/polling_run.h"
#include "core/share_probe.h"
#include "platform/server_sessions.h"
#include "rtl/text.h"

namespace core {

// The labels of sharemon_build_info.
struct BuildInfo {
  std::string version;
  std::string qt_version;
};

// The content type of the text the scraper receives.
inline constexpr char kExpositionContentType[] = "text/plain; version=0.0.4; charset=utf-8";

// Hears the run's events (as its listener, or through a shell that guards it) and keeps what
// the text exports. Each probe result counts once: a failure through ProbeFailed (with or
// without a report), a real count through ValueAppended; a cancelled probe says nothing.
class ShareMetrics final : public RunListener {
 public:
  // `unix_now` tells the time a tick ends, in seconds since 1970 (the system clock by default).
  explicit ShareMetrics(std::function<double()> unix_now = {});

  void ValueAppended(const rtl::Text& share, const ProbeResult& result, int row) override;
  void ProbeFailed(const rtl::Text& share, const ProbeResult& result) override;
  // The counts the tick gathered become the exported users values.
  void TickEnded(const TickSummary& summary) override;
  // The latest reading of the server's sessions and open files (texts in program text).
  void ServerRead(const platform::SessionReading& sessions, const platform::OpenFileReading& files);

  std::string ExpositionText(const BuildInfo& build) const;

 private:
  // The kinds of failure counted, in the order they are written.
  static constexpr std::array<ProbeOutcome, 5> kFailureKinds = {
      ProbeOutcome::kNoUsersSection, ProbeOutcome::kAccessDenied, ProbeOutcome::kNotStarted,
      ProbeOutcome::kTimedOut, ProbeOutcome::kReportTooLarge};

  struct Share {
    std::optional<std::int32_t> users;     // exported
    std::optional<std::int32_t> counted;   // counted in the tick in progress
    double probe_seconds = 0;
    std::array<std::uint64_t, kFailureKinds.size()> failures{};
  };

  // The failure kinds of a reading of the server, in the order they are written.
  static constexpr std::array<platform::ServerReadOutcome, 3> kServerFailureKinds = {
      platform::ServerReadOutcome::kAccessDenied, platform::ServerReadOutcome::kNoService,
      platform::ServerReadOutcome::kFailed};
  using ServerFailures = std::array<std::uint64_t, kServerFailureKinds.size()>;

  struct OpenFiles {
    std::map<rtl::Text, std::int64_t> by_share;  // by the share's name with its letters folded
    // No member initialiser: clang takes a nested class with one for not default-constructible
    // inside its enclosing class, and emplace() value-initialises it to 0 anyway.
    std::int64_t total;
  };

  void ProbeFinished(const rtl::Text& share, const ProbeResult& result);
  void ServerFamilies(std::string& out) const;

  std::function<double()> unix_now_;
  std::map<rtl::Text, Share> shares_;
  std::uint64_t ticks_ = 0;
  std::optional<double> last_tick_unix_seconds_;
  bool server_read_ = false;
  std::optional<std::map<std::pair<std::string, std::string>, std::int64_t>> sessions_;  // by dialect, encryption
  std::optional<OpenFiles> open_files_;
  ServerFailures session_failures_{};
  ServerFailures open_file_failures_{};
};

// Escapes a label value by the format's rules: backslash, double quote and line feed become
// \\, \" and \n; every other byte stays.
std::string EscapeLabelValue(std::string_view utf8);

// Escapes a HELP text: backslash and line feed become \\ and \n.
std::string EscapeHelpText(std::string_view utf8);

// A sample value as the format writes it: the shortest decimal that reads back as the same
// double ("0.25", "3", "1765183507.5"), "NaN", "+Inf" or "-Inf".
std::string SampleValueText(double value);

}  // namespace core
