#include "core/share_metrics.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace core {
namespace {

using Labels = std::vector<std::pair<const char*, std::string>>;

std::string Escape(std::string_view text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '"' && quotes) {
      out += "\\\"";
    } else {
      out += c;
    }
  }
  return out;
}

void Family(std::string& out, std::string_view name, std::string_view type, std::string_view help) {
  out.append("# HELP ").append(name).append(" ").append(EscapeHelpText(help)).append("\n");
  out.append("# TYPE ").append(name).append(" ").append(type).append("\n");
}

void Sample(std::string& out, std::string_view name, const Labels& labels, std::string_view value) {
  out.append(name);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    out.append(i == 0 ? "{" : ",").append(labels[i].first).append("=\"").append(EscapeLabelValue(labels[i].second)).append("\"");
  }
  out.append(labels.empty() ? " " : "} ").append(value).append("\n");
}

template <typename Failures, typename Kinds>
void CountFailure(Failures& failures, const Kinds& kinds, platform::ServerReadOutcome outcome) {
  for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
    if (kinds[kind] == outcome) ++failures[kind];
  }
}

}  // namespace

ShareMetrics::ShareMetrics(std::function<double()> unix_now) : unix_now_(std::move(unix_now)) {
  if (!unix_now_) {
    unix_now_ = [] {
      return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    };
  }
}

void ShareMetrics::ValueAppended(const rtl::Text& share, const ProbeResult& result, int) {
  if (result.Counted()) ProbeFinished(share, result);
}

void ShareMetrics::ProbeFailed(const rtl::Text& share, const ProbeResult& result) { ProbeFinished(share, result); }

void ShareMetrics::ProbeFinished(const rtl::Text& share, const ProbeResult& result) {
  if (result.outcome == ProbeOutcome::kCancelled) return;
  Share& entry = shares_[share];
  entry.probe_seconds = std::chrono::duration<double>(result.duration).count();
  entry.counted.reset();
  if (result.Counted()) {
    entry.counted = result.count;
    return;
  }
  for (std::size_t kind = 0; kind < kFailureKinds.size(); ++kind) {
    if (kFailureKinds[kind] == result.outcome) ++entry.failures[kind];
  }
}

void ShareMetrics::TickEnded(const TickSummary&) {
  for (auto& [name, entry] : shares_) entry.users = std::exchange(entry.counted, std::nullopt);
  ++ticks_;
  last_tick_unix_seconds_ = unix_now_();
}

void ShareMetrics::ServerRead(const platform::SessionReading& sessions, const platform::OpenFileReading& files) {
  server_read_ = true;
  sessions_.reset();
  open_files_.reset();
  if (sessions.Read()) {
    sessions_.emplace();
    for (const auto& session : sessions.records) {
      ++(*sessions_)[{rtl::Utf8FromWindows1251(session.dialect), platform::ProtectionDegreeName(session.encryption.degree)}];
    }
  } else {
    CountFailure(session_failures_, kServerFailureKinds, sessions.outcome);
  }
  if (!files.Read()) return CountFailure(open_file_failures_, kServerFailureKinds, files.outcome);
  open_files_.emplace();
  for (const auto& file : files.records) ++open_files_->by_share[rtl::LowerCase(file.share)];
  open_files_->total = static_cast<std::int64_t>(files.records.size());
}

void ShareMetrics::ServerFamilies(std::string& out) const {
  Family(out, "sharemon_share_open_files", "gauge",
         "Files open on the watched share at the latest reading of the server; absent when that reading failed.");
  for (const auto& [name, entry] : shares_) {
    if (!open_files_) break;
    const auto count = open_files_->by_share.find(rtl::LowerCase(name));
    Sample(out, "sharemon_share_open_files", {{"share", rtl::Utf8FromWindows1251(name)}},
           std::to_string(count == open_files_->by_share.end() ? 0 : count->second));
  }
  Family(out, "sharemon_open_files", "gauge", "Files open on all shares at the latest reading; absent when it failed.");
  if (open_files_) Sample(out, "sharemon_open_files", {}, std::to_string(open_files_->total));
  Family(out, "sharemon_sessions", "gauge",
         "Sessions at the latest reading of the server, by dialect (NT1 is SMB1) and encryption degree; absent when "
         "that reading failed.");
  for (const auto& [labels, count] : sessions_.value_or(decltype(sessions_)::value_type{})) {
    Sample(out, "sharemon_sessions", {{"dialect", labels.first}, {"encryption", labels.second}}, std::to_string(count));
  }
  Family(out, "sharemon_server_read_failures_total", "counter",
         "Readings of the server's sessions or open files that failed, by reading and reason: access_denied, "
         "no_service, failed.");
  for (const auto& [reading, failures] : {std::pair{"sessions", &session_failures_}, {"open_files", &open_file_failures_}}) {
    for (std::size_t kind = 0; server_read_ && kind < kServerFailureKinds.size(); ++kind) {
      Sample(out, "sharemon_server_read_failures_total",
             {{"reading", reading}, {"reason", platform::ServerReadOutcomeName(kServerFailureKinds[kind])}},
             std::to_string((*failures)[kind]));
    }
  }
}

std::string ShareMetrics::ExpositionText(const BuildInfo& build) const {
  std::string out;
  Family(out, "sharemon_share_users", "gauge",
         "Users connected to the share, as counted at the latest tick; absent when that tick has no real count "
         "for the share (its probe failed or was skipped).");
  for (const auto& [name, entry] : shares_) {
    if (entry.users) Sample(out, "sharemon_share_users", {{"share", rtl::Utf8FromWindows1251(name)}}, std::to_string(*entry.users));
  }
  Family(out, "sharemon_share_probe_duration_seconds", "gauge", "How long the latest probe of the share took.");
  for (const auto& [name, entry] : shares_) {
    Sample(out, "sharemon_share_probe_duration_seconds", {{"share", rtl::Utf8FromWindows1251(name)}},
           SampleValueText(entry.probe_seconds));
  }
  Family(out, "sharemon_share_probe_failures_total", "counter",
         "Probes of the share that gave no real count, by reason: no_users_section, access_denied, not_started, "
         "timed_out, report_too_large.");
  for (const auto& [name, entry] : shares_) {
    for (std::size_t kind = 0; kind < kFailureKinds.size(); ++kind) {
      Sample(out, "sharemon_share_probe_failures_total",
             {{"share", rtl::Utf8FromWindows1251(name)}, {"reason", ProbeOutcomeName(kFailureKinds[kind])}},
             std::to_string(entry.failures[kind]));
    }
  }
  Family(out, "sharemon_ticks_total", "counter", "Polling ticks completed.");
  Sample(out, "sharemon_ticks_total", {}, std::to_string(ticks_));
  Family(out, "sharemon_last_tick_timestamp_seconds", "gauge",
         "Unix time at which the latest polling tick ended; absent before the first.");
  if (last_tick_unix_seconds_) Sample(out, "sharemon_last_tick_timestamp_seconds", {}, SampleValueText(*last_tick_unix_seconds_));
  ServerFamilies(out);
  Family(out, "sharemon_build_info", "gauge", "The program's version and the Qt version it runs with; always 1.");
  Sample(out, "sharemon_build_info", {{"version", build.version}, {"qt_version", build.qt_version}}, "1");
  return out;
}

std::string EscapeLabelValue(std::string_view utf8) { return Escape(utf8, true); }

std::string EscapeHelpText(std::string_view utf8) { return Escape(utf8, false); }

std::string SampleValueText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace core
