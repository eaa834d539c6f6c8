// Sessions and open files between the status service and its clients.
#include "platform/status_service/record_wire.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::ServerReadOutcome;
using status_service::DecodeOpenFiles;
using status_service::DecodeSessions;
using status_service::EncodeReading;

const platform::SessionRecord kSession{"a\tb\nc\"d\x01", "pc", "NT1", {platform::ProtectionDegree::kNone, ""},
                                       {platform::ProtectionDegree::kFull, "AES-128-GMAC"},
                                       std::chrono::sys_seconds(std::chrono::seconds(1796872631)), std::nullopt, 3};
const platform::OpenFileRecord kFile{"team docs", "dir/\"x\"\r\n.txt", "bob", "", {true, false, true}, "RWD",
                                     "RWH lease", std::nullopt};

bool SameSession(const platform::SessionRecord& a, const platform::SessionRecord& b) {
  return a.user == b.user && a.computer == b.computer && a.dialect == b.dialect &&
         a.encryption.degree == b.encryption.degree && a.encryption.cipher == b.encryption.cipher &&
         a.signing.degree == b.signing.degree && a.signing.cipher == b.signing.cipher &&
         a.connected_at == b.connected_at && a.idle_seconds == b.idle_seconds && a.open_files == b.open_files;
}

bool SameFile(const platform::OpenFileRecord& a, const platform::OpenFileRecord& b) {
  return a.share == b.share && a.path == b.path && a.user == b.user && a.computer == b.computer &&
         a.access == b.access && a.share_mode == b.share_mode && a.locks == b.locks && a.opened_at == b.opened_at;
}

TEST(record_wire_test, records_and_outcomes_travel_unchanged) {
  const auto sessions = DecodeSessions(EncodeReading(platform::SessionReading{ServerReadOutcome::kRead, {kSession}, true, ""}, 4096));
  ASSERT_EQ(sessions.outcome, ServerReadOutcome::kRead) << sessions.error;
  ASSERT_EQ(sessions.records.size(), 1u);
  EXPECT_TRUE(SameSession(sessions.records[0], kSession));
  EXPECT_TRUE(sessions.truncated);
  const auto files = DecodeOpenFiles(EncodeReading(platform::OpenFileReading{ServerReadOutcome::kRead, {kFile}, false, ""}, 4096));
  ASSERT_EQ(files.records.size(), 1u);
  EXPECT_TRUE(SameFile(files.records[0], kFile));
  EXPECT_FALSE(files.truncated);
  const auto denied = DecodeOpenFiles(EncodeReading(platform::OpenFileReading{ServerReadOutcome::kAccessDenied, {}, false, "only root"}, 4096));
  EXPECT_EQ(denied.outcome, ServerReadOutcome::kAccessDenied);
  EXPECT_EQ(denied.error, "only root");
}

TEST(record_wire_test, a_reading_past_the_byte_limit_keeps_its_first_records_and_says_it_was_cut) {
  const platform::OpenFileReading reading{ServerReadOutcome::kRead, std::vector<platform::OpenFileRecord>(1000, kFile), false, ""};
  const std::string body = EncodeReading(reading, 10000);
  EXPECT_LE(body.size(), 10000u);
  const auto decoded = DecodeOpenFiles(body);
  EXPECT_TRUE(decoded.truncated);
  EXPECT_GT(decoded.records.size(), 50u);
  EXPECT_LT(decoded.records.size(), 1000u);
}

TEST(record_wire_test, malformed_bodies_fail) {
  for (const std::string body : {"", "{", "[]", R"({"outcome":"odd","error":"","records":[],"truncated":false})",
                                 R"({"outcome":"read","error":"","records":[[1]],"truncated":false})",
                                 R"({"outcome":"read","error":"","records":[],"truncated":0})"}) {
    const auto reading = DecodeSessions(body);
    EXPECT_EQ(reading.outcome, ServerReadOutcome::kFailed) << body;
    EXPECT_TRUE(reading.records.empty()) << body;
    EXPECT_NE(reading.error, "") << body;
  }
}

}  // namespace
