// The metrics page: escaping, HELP and TYPE for each family, values that are absent after a
// failure, counters by reason; checked by a small reader of the format here and, where the
// Prometheus tools are installed, by promtool's own linter.
#include "core/share_metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/console_command.h"
#include "tests/support/windows1251_text.h"

namespace {

using namespace std::chrono_literals;
using core::ProbeOutcome;
using core::ProbeResult;

ProbeResult CountedResult(int users, std::chrono::milliseconds duration = 100ms) {
  ProbeResult result;
  result.count = users;
  result.users.assign(static_cast<std::size_t>(users), "someone@host");
  result.duration = duration;
  return result;
}

ProbeResult FailedResult(ProbeOutcome outcome) {
  ProbeResult result;
  result.outcome = outcome;
  result.duration = 60s;
  return result;
}

// Feeds a result as the polling run reports it: a failure through ProbeFailed, a result with
// a report through ValueAppended as well.
void Hear(core::ShareMetrics& metrics, const rtl::Text& share, const ProbeResult& result) {
  if (!result.Counted()) metrics.ProbeFailed(share, result);
  if (result.HasReport()) metrics.ValueAppended(share, result, 0);
}

struct Sample {
  std::string name;
  std::map<std::string, std::string> labels;  // unescaped values
  std::string value;
};

// Reads a page by the text format's grammar; a line that does not fit fails the test.
struct Page {
  std::vector<Sample> samples;
  std::map<std::string, std::string> types;
  std::map<std::string, int> helps;

  explicit Page(const std::string& text) {
    EXPECT_TRUE(!text.empty() && text.back() == '\n');
    std::istringstream lines(text);
    std::string line;
    const std::regex comment(R"(# (HELP|TYPE) ([a-zA-Z_:][a-zA-Z0-9_:]*) (.*))");
    const std::regex sample(R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{(.*)\})? (\S+))");
    while (std::getline(lines, line)) {
      std::smatch match;
      if (std::regex_match(line, match, comment)) {
        EXPECT_EQ(types.count(match[2]), 0u) << "HELP or TYPE after the family's TYPE: " << line;
        if (match[1] == "HELP") ++helps[match[2]];
        if (match[1] == "TYPE") types[match[2]] = match[3];
        continue;
      }
      const bool fits = std::regex_match(line, match, sample);
      EXPECT_TRUE(fits) << line;
      if (!fits) continue;
      Sample parsed{match[1], Labels(match[3]), match[4]};
      EXPECT_EQ(types.count(parsed.name), 1u) << "sample before its TYPE: " << line;
      samples.push_back(parsed);
    }
  }

  static std::map<std::string, std::string> Labels(const std::string& text) {
    std::map<std::string, std::string> labels;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t equals = text.find("=\"", at);
      EXPECT_NE(equals, std::string::npos) << text;
      if (equals == std::string::npos) break;
      std::string value;
      std::size_t i = equals + 2;
      for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] != '\\') {
          value += text[i];
          continue;
        }
        const char escaped = text[++i];
        EXPECT_TRUE(escaped == '\\' || escaped == '"' || escaped == 'n') << text;
        value += escaped == 'n' ? '\n' : escaped;
      }
      labels[text.substr(at, equals - at)] = value;
      at = i + 1;
      if (at < text.size()) {
        EXPECT_EQ(text[at], ',') << text;
        ++at;
      }
    }
    return labels;
  }

  // The value of the sample with this name and these labels, or "" when there is none.
  std::string Value(const std::string& name, const std::map<std::string, std::string>& labels = {}) const {
    std::string found;
    for (const Sample& s : samples) {
      if (s.name == name && s.labels == labels) {
        EXPECT_TRUE(found.empty()) << "the same series twice: " << name;
        found = s.value;
      }
    }
    return found;
  }
};

const core::BuildInfo kBuild{"1.3", "6.4.2"};

TEST(share_metrics_test, label_values_and_help_texts_are_escaped_by_the_format_rules) {
  struct Case {
    std::string raw;
    std::string label;
    std::string help;
  };
  const Case cases[] = {
      {"plain", "plain", "plain"},
      {R"(C:\data)", R"(C:\\data)", R"(C:\\data)"},
      {R"(say "hi")", R"(say \"hi\")", R"(say "hi")"},
      {"two\nlines", R"(two\nlines)", R"(two\nlines)"},
      {"Отчеты\tза год", "Отчеты\tза год", "Отчеты\tза год"},
      {R"(\"
)", R"(\\\"\n)", R"(\\"\n)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(core::EscapeLabelValue(c.raw), c.label) << c.raw;
    EXPECT_EQ(core::EscapeHelpText(c.raw), c.help) << c.raw;
  }
}

TEST(share_metrics_test, share_names_come_out_in_utf8_and_read_back_unchanged) {
  const std::vector<std::string> names = {"Отчеты", "team docs", R"(back\slash)", R"(a "quoted" name)", "line\nbreak", "ёЁ№"};
  core::ShareMetrics metrics([] { return 0.0; });
  for (std::size_t i = 0; i < names.size(); ++i) Hear(metrics, W(names[i]), CountedResult(static_cast<int>(i) + 1));
  metrics.TickEnded({});
  const Page page(metrics.ExpositionText(kBuild));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(page.Value("sharemon_share_users", {{"share", names[i]}}), std::to_string(i + 1)) << names[i];
  }
}

TEST(share_metrics_test, every_family_has_one_help_and_one_type_before_its_samples) {
  core::ShareMetrics metrics([] { return 1765183507.25; });
  Hear(metrics, "docs", CountedResult(2, 130ms));
  Hear(metrics, "scans", FailedResult(ProbeOutcome::kTimedOut));
  metrics.TickEnded({});
  const Page page(metrics.ExpositionText(kBuild));
  const std::map<std::string, std::string> expected_types = {
      {"sharemon_share_users", "gauge"},
      {"sharemon_share_probe_duration_seconds", "gauge"},
      {"sharemon_share_probe_failures_total", "counter"},
      {"sharemon_ticks_total", "counter"},
      {"sharemon_last_tick_timestamp_seconds", "gauge"},
      {"sharemon_build_info", "gauge"},
      {"sharemon_share_open_files", "gauge"},
      {"sharemon_open_files", "gauge"},
      {"sharemon_sessions", "gauge"},
      {"sharemon_server_read_failures_total", "counter"},
  };
  EXPECT_EQ(page.types, expected_types);
  for (const auto& [name, type] : expected_types) EXPECT_EQ(page.helps.at(name), 1) << name;
  EXPECT_EQ(page.Value("sharemon_share_probe_duration_seconds", {{"share", "docs"}}), "0.13");
  EXPECT_EQ(page.Value("sharemon_share_probe_duration_seconds", {{"share", "scans"}}), "60");
  EXPECT_EQ(page.Value("sharemon_last_tick_timestamp_seconds"), "1765183507.25");
  EXPECT_EQ(page.Value("sharemon_ticks_total"), "1");
  EXPECT_EQ(page.Value("sharemon_build_info", {{"version", "1.3"}, {"qt_version", "6.4.2"}}), "1");
}

TEST(share_metrics_test, a_failed_probe_leaves_no_users_value_until_a_later_tick_counts_the_share) {
  struct Step {
    ProbeResult result;
    std::string users;  // after the tick; "" = no sample
  };
  const Step steps[] = {
      {CountedResult(3), "3"},
      {FailedResult(ProbeOutcome::kNoUsersSection), ""},
      {FailedResult(ProbeOutcome::kAccessDenied), ""},
      {CountedResult(0), "0"},  // a real count of nobody is a 0
      {FailedResult(ProbeOutcome::kNotStarted), ""},
      {FailedResult(ProbeOutcome::kTimedOut), ""},
      {FailedResult(ProbeOutcome::kReportTooLarge), ""},
      {FailedResult(ProbeOutcome::kCancelled), ""},  // says nothing, and the tick publishes nothing for it
      {CountedResult(5), "5"},
  };
  core::ShareMetrics metrics([] { return 0.0; });
  std::map<std::string, int> failures;
  for (const Step& step : steps) {
    Hear(metrics, "docs", step.result);
    metrics.TickEnded({});
    const Page page(metrics.ExpositionText(kBuild));
    EXPECT_EQ(page.Value("sharemon_share_users", {{"share", "docs"}}), step.users)
        << core::ProbeOutcomeName(step.result.outcome);
    if (!step.result.Counted() && step.result.outcome != ProbeOutcome::kCancelled) {
      ++failures[core::ProbeOutcomeName(step.result.outcome)];
    }
    for (const char* reason : {"no_users_section", "access_denied", "not_started", "timed_out", "report_too_large"}) {
      EXPECT_EQ(page.Value("sharemon_share_probe_failures_total", {{"share", "docs"}, {"reason", reason}}),
                std::to_string(failures[reason]))
          << reason;
    }
  }
}

TEST(share_metrics_test, a_share_the_tick_skipped_has_no_users_value_and_nothing_shows_before_the_first_tick) {
  core::ShareMetrics metrics([] { return 5.0; });
  Hear(metrics, "first", CountedResult(1));
  Hear(metrics, "second", CountedResult(2));
  EXPECT_EQ(Page(metrics.ExpositionText(kBuild)).Value("sharemon_share_users", {{"share", "first"}}), "");
  EXPECT_EQ(Page(metrics.ExpositionText(kBuild)).Value("sharemon_last_tick_timestamp_seconds"), "");
  metrics.TickEnded({});
  // The next tick ends at "first", whose probe gave no report: "second" was not probed.
  Hear(metrics, "first", FailedResult(ProbeOutcome::kTimedOut));
  metrics.TickEnded({});
  const Page page(metrics.ExpositionText(kBuild));
  EXPECT_EQ(page.Value("sharemon_share_users", {{"share", "first"}}), "");
  EXPECT_EQ(page.Value("sharemon_share_users", {{"share", "second"}}), "");
  EXPECT_EQ(page.Value("sharemon_share_probe_failures_total", {{"share", "second"}, {"reason", "timed_out"}}), "0");
  EXPECT_EQ(page.Value("sharemon_ticks_total"), "2");
}

platform::SessionRecord Session(const char* dialect, platform::ProtectionDegree encryption) {
  return {"someone", "pc", dialect, {encryption, ""}, {}, std::nullopt, std::nullopt, std::nullopt};
}

platform::OpenFileRecord OpenOn(const rtl::Text& share) { return {share, "f", "someone", "pc", {}, "", "", std::nullopt}; }

const platform::SessionReading kSessions{
    platform::ServerReadOutcome::kRead,
    {Session("NT1", platform::ProtectionDegree::kNone), Session("SMB3_11", platform::ProtectionDegree::kPartial),
     Session("SMB3_11", platform::ProtectionDegree::kPartial)},
    false,
    ""};
const platform::OpenFileReading kFiles{
    platform::ServerReadOutcome::kRead, {OpenOn("public"), OpenOn(W("Отчеты")), OpenOn(W("Отчеты")), OpenOn("other")}, false, ""};

TEST(share_metrics_test, the_latest_server_reading_gives_open_files_per_watched_share_and_sessions_by_dialect_and_encryption) {
  using platform::ServerReadOutcome;
  const struct {
    ServerReadOutcome sessions, files;
    std::string nt1, smb3, public_files, reports_files, total;  // "" = no sample
  } steps[] = {
      {ServerReadOutcome::kRead, ServerReadOutcome::kRead, "1", "2", "1", "2", "4"},
      {ServerReadOutcome::kAccessDenied, ServerReadOutcome::kNoService, "", "", "", "", ""},
      {ServerReadOutcome::kFailed, ServerReadOutcome::kRead, "", "", "1", "2", "4"},
      {ServerReadOutcome::kRead, ServerReadOutcome::kFailed, "1", "2", "", "", ""},
  };
  core::ShareMetrics metrics([] { return 0.0; });
  // Watched as the user wrote them: Samba matches share names without regard to case.
  Hear(metrics, "PUBLIC", CountedResult(1));
  Hear(metrics, W("отчеты"), CountedResult(1));
  std::map<std::pair<std::string, std::string>, int> failures;
  for (const auto& step : steps) {
    auto sessions = kSessions;
    auto files = kFiles;
    sessions.outcome = step.sessions;
    files.outcome = step.files;
    metrics.ServerRead(sessions, files);
    ++failures[{"sessions", platform::ServerReadOutcomeName(step.sessions)}];
    ++failures[{"open_files", platform::ServerReadOutcomeName(step.files)}];
    const Page page(metrics.ExpositionText(kBuild));
    EXPECT_EQ(page.Value("sharemon_sessions", {{"dialect", "NT1"}, {"encryption", "none"}}), step.nt1);
    EXPECT_EQ(page.Value("sharemon_sessions", {{"dialect", "SMB3_11"}, {"encryption", "partial"}}), step.smb3);
    EXPECT_EQ(page.Value("sharemon_share_open_files", {{"share", "PUBLIC"}}), step.public_files);
    EXPECT_EQ(page.Value("sharemon_share_open_files", {{"share", "отчеты"}}), step.reports_files);
    EXPECT_EQ(page.Value("sharemon_open_files"), step.total);
    for (const char* reading : {"sessions", "open_files"}) {
      for (const char* reason : {"access_denied", "no_service", "failed"}) {
        EXPECT_EQ(page.Value("sharemon_server_read_failures_total", {{"reading", reading}, {"reason", reason}}),
                  std::to_string(failures[{reading, reason}]))
            << reading << " " << reason;
      }
    }
  }
}

TEST(share_metrics_test, sample_values_read_back_as_the_same_number) {
  for (const double value : {0.0, 0.25, 3.0, 0.130000001, 1e-05, 1765183507.123, 123456789012345.0}) {
    const std::string text = core::SampleValueText(value);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
    EXPECT_EQ(text.find_first_of(" ,"), std::string::npos) << text;
  }
  EXPECT_EQ(core::SampleValueText(std::nan("")), "NaN");
  EXPECT_EQ(core::SampleValueText(HUGE_VAL), "+Inf");
  EXPECT_EQ(core::SampleValueText(-HUGE_VAL), "-Inf");
}

TEST(share_metrics_test, promtool_finds_nothing_to_complain_about) {
  if (std::system("command -v promtool >/dev/null 2>&1") != 0) GTEST_SKIP() << "promtool (package prometheus) is not installed";
  core::ShareMetrics metrics([] { return 1765183507.5; });
  Hear(metrics, W("Отчеты"), CountedResult(2));
  Hear(metrics, "team docs", FailedResult(ProbeOutcome::kAccessDenied));
  Hear(metrics, R"(odd "name"\)", CountedResult(1));
  metrics.TickEnded({});
  metrics.ServerRead(kSessions, kFiles);
  platform::ConsoleCommand check("promtool check metrics",
                                 {"sh", "-c", "printf '%s' \"$1\" | promtool check metrics", "sh", metrics.ExpositionText(kBuild)});
  const platform::ConsoleResult result = platform::RunConsoleCommand(check, "/", 30s);
  EXPECT_EQ(result.exit_code, 0u) << result.output;
  EXPECT_EQ(result.output, "") << result.output;
}

}  // namespace
