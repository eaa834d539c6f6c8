#include "platform/status_service/status_protocol.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using status_service::ParseReply;
using status_service::ParseRequest;
using status_service::ProgressOf;
using status_service::RequestProgress;

// The longest name whose request still fits the limit: "open-files " + name + LF.
const std::size_t kLongestName = status_service::kMaxRequestBytes - 12;

TEST(status_protocol_test, every_sendable_name_travels_unchanged) {
  const std::string names[] = {
      "public", "Отчеты", "team docs", "IPC$", "a", " leading and trailing ", "ё€😀", std::string(kLongestName, 'n'),
  };
  for (const auto& name : names) {
    ASSERT_TRUE(status_service::IsSendableShareName(name)) << name;
    const std::string request = status_service::EncodeRequest(name);
    EXPECT_LE(request.size(), status_service::kMaxRequestBytes);
    EXPECT_EQ(ProgressOf(request), RequestProgress::Complete) << name;
    EXPECT_EQ(ProgressOf(request.substr(0, request.size() - 1)), RequestProgress::Incomplete) << name;
    const auto parsed = ParseRequest(request);
    EXPECT_EQ(parsed.refusal, "") << name;
    EXPECT_EQ(parsed.share_name, name);
  }
}

TEST(status_protocol_test, a_request_says_what_it_asks_for_and_of_which_share) {
  using Kind = status_service::RequestKind;
  const struct {
    std::string request;
    Kind kind;
    std::string share_name;
    std::string refusal;
  } cases[] = {
      {"report public\n", Kind::kReport, "public", ""},
      {"sessions\n", Kind::kSessions, "", ""},
      {"open-files\n", Kind::kOpenFiles, "", ""},
      {"open-files team docs\n", Kind::kOpenFiles, "team docs", ""},
      {"open-files " + std::string(kLongestName, 'n') + "\n", Kind::kOpenFiles, std::string(kLongestName, 'n'), ""},
      {"open-files \n", Kind::kReport, "", "empty share name"},
      {"open-files a\tb\n", Kind::kReport, "", "share name with control characters or invalid UTF-8"},
      {"sessions public\n", Kind::kReport, "", "unknown request"},
      {"open-filespublic\n", Kind::kReport, "", "unknown request"},
      {"Sessions\n", Kind::kReport, "", "unknown request"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseRequest(c.request);
    EXPECT_EQ(parsed.refusal, c.refusal) << c.request;
    EXPECT_EQ(parsed.share_name, c.share_name) << c.request;
    EXPECT_EQ(parsed.kind, c.kind) << c.request;
    if (c.refusal.empty()) {
      EXPECT_EQ(status_service::EncodeRequest(c.share_name, c.kind), c.request);
    }
  }
}

TEST(status_protocol_test, names_that_cannot_travel) {
  const std::string names[] = {
      "",
      std::string(kLongestName + 1, 'n'),
      std::string("a\0b", 3),
      "line\nbreak",
      "tab\there",
      "del\x7F",
      "\xD0",            // cut short
      "\xC0\xAF",        // overlong "/"
      "\xED\xA0\x80",    // a surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xFF",
  };
  for (const auto& name : names) {
    EXPECT_FALSE(status_service::IsSendableShareName(name)) << name;
    // Sent anyway, the service refuses the request.
    EXPECT_NE(ParseRequest("report " + name + "\n").refusal, "") << name;
  }
}

TEST(status_protocol_test, malformed_requests_are_refused_with_a_printable_reason) {
  const std::string requests[] = {
      "report public",            // no line end
      "report public\nmore",      // bytes after the request
      "report public\n\n",
      "report \n",                // empty name
      "report\n",
      "REPORT public\n",
      "status public\n",
      "\n",
      "report " + std::string(status_service::kMaxRequestBytes, 'n') + "\n",
  };
  for (const auto& request : requests) {
    const auto parsed = ParseRequest(request);
    ASSERT_NE(parsed.refusal, "") << request;
    EXPECT_EQ(parsed.share_name, "");
    // The reason travels in a refusal and comes back as it was.
    const auto reply = ParseReply(status_service::EncodeRefusal(parsed.refusal));
    ASSERT_TRUE(reply) << parsed.refusal;
    EXPECT_TRUE(reply->refused);
    EXPECT_EQ(reply->text, parsed.refusal);
  }
}

TEST(status_protocol_test, a_request_is_too_long_once_the_limit_passes_without_a_line_end) {
  const std::size_t limit = status_service::kMaxRequestBytes;
  EXPECT_EQ(ProgressOf(std::string(limit - 1, 'x')), RequestProgress::Incomplete);
  EXPECT_EQ(ProgressOf(std::string(limit, 'x')), RequestProgress::TooLong);
  EXPECT_EQ(ProgressOf(std::string(limit - 1, 'x') + "\n"), RequestProgress::Complete);
  EXPECT_EQ(ProgressOf(std::string(limit, 'x') + "\n"), RequestProgress::TooLong);
  EXPECT_EQ(ProgressOf(""), RequestProgress::Incomplete);
}

TEST(status_protocol_test, reports_travel_byte_for_byte_and_cut_replies_are_rejected) {
  struct Case {
    int exit_code;
    std::string report;
  };
  const Case cases[] = {
      {0, "\x88\xAC\xEF\r\n\r\nline\n"},
      {2, std::string("nul\0inside\n\n", 12)},
      {0, ""},
      {255, std::string(100000, '\xE0')},
  };
  for (const auto& c : cases) {
    const std::string encoded = status_service::EncodeReport(c.exit_code, c.report);
    EXPECT_EQ(ParseReply(encoded), (status_service::Reply{false, c.exit_code, c.report}));
    // A reply cut anywhere, or followed by anything, is no reply.
    for (std::size_t length = 0; length < encoded.size(); length += 1 + length / 16) {
      EXPECT_FALSE(ParseReply(encoded.substr(0, length))) << length;
    }
    EXPECT_FALSE(ParseReply(encoded + "x"));
  }
}

TEST(status_protocol_test, malformed_replies_are_rejected) {
  const std::string replies[] = {
      "",          "report 0 0",     "report 0 1\n",       "report 0 01\nx",   "report -1 0\n",
      "report 0\n", "report x 0\n",  "report 256 0\n",     "report 0  0\n",    "report 0 0 \n",
      "refused\n", "refused \n",     "refused a\nb",       "refused \x01\n",   "refused caf\xC3\xA9\n",
      "accepted 0 0\n",
  };
  for (const auto& reply : replies) EXPECT_FALSE(ParseReply(reply)) << reply;
}

TEST(status_protocol_test, the_socket_path_comes_from_the_environment_when_set) {
  struct Case {
    const char* value;  // nullptr: unset
    std::string expected;
  };
  const Case cases[] = {
      {nullptr, std::string(status_service::kDefaultSocketPath)},
      {"", std::string(status_service::kDefaultSocketPath)},
      {"/tmp/elsewhere.sock", "/tmp/elsewhere.sock"},
  };
  for (const auto& c : cases) {
    if (c.value == nullptr) unsetenv("SHAREMON_STATUS_SOCKET");
    else setenv("SHAREMON_STATUS_SOCKET", c.value, 1);
    EXPECT_EQ(status_service::StatusSocketPath(), c.expected);
  }
  unsetenv("SHAREMON_STATUS_SOCKET");
}

}  // namespace
