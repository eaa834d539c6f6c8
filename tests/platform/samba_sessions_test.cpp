// The reader of Samba's sessions and open files, on a report of the lab server (an SMB1 client
// holding one file open twice, an encrypted one holding another) and on bad input.
#include "platform/status_service/samba_sessions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using platform::ServerReadOutcome;
using status_service::OpenFilesFromStatus;
using status_service::SessionsFromStatus;

std::string Sample() {
  std::ifstream file(std::string(std::getenv("SHAREMON_SOURCE_DIR")) +
                     "/tests/platform/samba_samples/smbstatus-j-open-files.json");
  return {std::istreambuf_iterator<char>(file), {}};
}

const std::vector<platform::SambaShare> kShares{{"public", "/srv/lab/shares/s1/", ""}, {"same", "/srv/lab/shares/s1", ""}};

// A report of count sessions, each named by its number.
std::string ManySessions(std::size_t count) {
  std::string report = "{\"sessions\":{";
  for (std::size_t i = 0; i < count; ++i) {
    report += (i == 0 ? "\"" : ",\"") + std::to_string(i) + "\":{\"username\":\"u" + std::to_string(i) + "\"}";
  }
  return report + "}}";
}

TEST(samba_sessions_test, sessions_carry_dialect_protection_first_connection_and_their_open_files) {
  const auto reading = SessionsFromStatus(Sample());
  ASSERT_EQ(reading.outcome, ServerReadOutcome::kRead) << reading.error;
  ASSERT_EQ(reading.records.size(), 2u);
  for (const auto& session : reading.records) {
    const bool smb1 = session.user == "alice";
    EXPECT_EQ(session.dialect, smb1 ? "NT1" : "SMB3_11");
    EXPECT_EQ(session.computer, "127.0.0.1");
    EXPECT_EQ(session.encryption.degree, smb1 ? platform::ProtectionDegree::kNone : platform::ProtectionDegree::kPartial);
    EXPECT_EQ(session.encryption.cipher, smb1 ? "" : "AES-128-GCM");
    EXPECT_EQ(session.open_files, smb1 ? 2 : 1);
    EXPECT_TRUE(session.connected_at.has_value());
    EXPECT_FALSE(session.idle_seconds.has_value());
  }
}

TEST(samba_sessions_test, open_files_name_their_share_user_computer_access_and_time) {
  const auto all = OpenFilesFromStatus(Sample(), kShares, "");
  ASSERT_EQ(all.outcome, ServerReadOutcome::kRead) << all.error;
  ASSERT_EQ(all.records.size(), 3u);
  const auto& bob = all.records[2];
  EXPECT_EQ(bob.share, "public");  // the first share of the path, its trailing slash aside
  EXPECT_EQ(bob.path, "b.txt");
  EXPECT_EQ(bob.user, "bob");
  EXPECT_EQ(bob.computer, "127.0.0.1");
  EXPECT_EQ(bob.access, (platform::FileAccess{true, true, false}));
  EXPECT_EQ(bob.share_mode, "RW");
  EXPECT_EQ(bob.locks, "");
  // "2026-12-10T03:17:11.072792+00:00"
  EXPECT_EQ(bob.opened_at->time_since_epoch().count(), 1796872631);
  EXPECT_EQ(OpenFilesFromStatus(Sample(), kShares, "PUBLIC").records.size(), 3u);
  EXPECT_EQ(OpenFilesFromStatus(Sample(), kShares, "same").records.size(), 0u);
  const auto unshared = OpenFilesFromStatus(Sample(), {}, "");
  EXPECT_EQ(unshared.records[0].share, "");
  EXPECT_EQ(unshared.records[0].path, "/srv/lab/shares/s1/a.txt");
}

TEST(samba_sessions_test, bad_reports_fail_or_give_what_they_hold_and_never_crash) {
  const std::string sample = Sample();
  const std::string deep(100000, '[');
  const struct {
    std::string name;
    std::string report;
    ServerReadOutcome outcome;
    std::size_t sessions;
  } cases[] = {
      {"empty", "", ServerReadOutcome::kFailed, 0},
      {"truncated", sample.substr(0, sample.size() / 2), ServerReadOutcome::kFailed, 0},
      {"not an object", "[1,2]", ServerReadOutcome::kFailed, 0},
      {"no sessions table", "{\"tcons\":{}}", ServerReadOutcome::kFailed, 0},
      {"nested without end", deep, ServerReadOutcome::kFailed, 0},
      {"nested deep inside", "{\"sessions\":{\"1\":{\"x\":" + deep + std::string(100000, ']') + "}}}",
       ServerReadOutcome::kRead, 1},
      {"fields of other types", "{\"sessions\":{\"1\":{\"username\":5,\"session_dialect\":[],\"encryption\":\"x\"}}}",
       ServerReadOutcome::kRead, 1},
      {"entries that are no objects", "{\"sessions\":{\"1\":\"a\",\"2\":[]}}", ServerReadOutcome::kRead, 0},
      {"bad times", "{\"sessions\":{\"1\":{}},\"tcons\":{\"1\":{\"session_id\":\"1\",\"connected_at\":\"2026-13-01T\"}}}",
       ServerReadOutcome::kRead, 1},
      {"100,000 sessions", ManySessions(100000), ServerReadOutcome::kRead, 100000},
      {"100,001 sessions", ManySessions(100001), ServerReadOutcome::kRead, 100000},
  };
  for (const auto& c : cases) {
    const auto reading = SessionsFromStatus(c.report);
    EXPECT_EQ(reading.outcome, c.outcome) << c.name;
    EXPECT_EQ(reading.records.size(), c.sessions) << c.name;
    EXPECT_EQ(reading.truncated, c.name == "100,001 sessions") << c.name;
    EXPECT_EQ(reading.error.empty(), c.outcome == ServerReadOutcome::kRead) << c.name;
  }
}

TEST(samba_sessions_test, names_keep_control_characters_quotes_and_line_breaks) {
  const auto reading = SessionsFromStatus(
      R"({"sessions":{"1":{"username":"a\tb\nc\"d\u0001e\\","remote_machine":"\u00e9\u0000x"}}})");
  ASSERT_EQ(reading.records.size(), 1u);
  EXPECT_EQ(reading.records[0].user, "a\tb\nc\"d\x01" "e\\");
  EXPECT_EQ(reading.records[0].computer, std::string("\xc3\xa9\0x", 4));
}

}  // namespace
