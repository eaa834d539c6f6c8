#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/netshare/json_reader.h"
#include "platform/netshare/share_connections.h"

namespace {

using netshare::Connection;

std::string ReadFile(const std::string& name) {
  std::ifstream file(std::string(std::getenv("SHAREMON_SOURCE_DIR")) + "/tests/platform/samba_samples/" + name,
                     std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<Connection> Sorted(std::vector<Connection> connections) {
  std::sort(connections.begin(), connections.end(),
            [](const auto& a, const auto& b) { return a.user + a.machine < b.user + b.machine; });
  return connections;
}

TEST(json_reader_test, valid_documents) {
  const auto value = netshare::ParseJson(
      R"( {"a": [1, -2.5e3, true, false, null], "s": "x\"\\\/\n\u0416\ud83d\ude00", "o": {}} )");
  ASSERT_TRUE(value);
  ASSERT_EQ(value->kind, netshare::JsonValue::Kind::Object);
  const auto* array = value->Member("a");
  ASSERT_NE(array, nullptr);
  ASSERT_EQ(array->items.size(), 5u);
  EXPECT_EQ(array->items[1].text, "-2.5e3");
  EXPECT_EQ(array->items[2].kind, netshare::JsonValue::Kind::Boolean);
  EXPECT_EQ(array->items[4].kind, netshare::JsonValue::Kind::Null);
  EXPECT_EQ(value->MemberText("s"), "x\"\\/\nЖ\xF0\x9F\x98\x80");
  EXPECT_EQ(value->MemberText("a"), "");
  EXPECT_EQ(value->Member("missing"), nullptr);
}

TEST(json_reader_test, invalid_documents_are_refused) {
  const char* inputs[] = {
      "",       "{",          "{\"a\":}",       "{\"a\" 1}", "[1,]",     "[1 2]",   "\"open",
      "\"\\q\"", "\"\\ud800\"", "\"\\u12\"",      "tru",       "01x",      "{} {}",   "\"a\nb\"",
      "-",      "{1: 2}",
  };
  for (const char* input : inputs) EXPECT_FALSE(netshare::ParseJson(input)) << input;
  EXPECT_FALSE(netshare::ParseJson(std::string(100, '[') + std::string(100, ']')));
  EXPECT_TRUE(netshare::ParseJson(std::string(50, '[') + std::string(50, ']')));
}

TEST(share_connections_test, json_report_joins_each_connection_to_its_session) {
  const std::string report = ReadFile("smbstatus-j.json");
  struct Case {
    std::string share;
    std::vector<Connection> expected;
  };
  const Case cases[] = {
      {"public", {{"alice", "127.0.0.1"}, {"alice", "127.0.0.1"}}},
      {"Отчеты", {{"bob", "127.0.0.1"}}},
      {"team docs", {{"accountant", "127.0.0.1"}, {"nobody", "127.0.0.1"}}},
      {"team", {}},
      {"PUBLIC", {}},  // the report holds canonical names only
  };
  for (const auto& c : cases) {
    const auto connections = netshare::ConnectionsFromJson(report, c.share);
    ASSERT_TRUE(connections) << c.share;
    EXPECT_EQ(Sorted(*connections), c.expected) << c.share;
  }
}

TEST(share_connections_test, a_report_without_connections_or_no_report_at_all) {
  const auto idle = netshare::ConnectionsFromJson(R"({"timestamp": "x", "version": "4.17.12-Debian"})", "public");
  ASSERT_TRUE(idle);
  EXPECT_TRUE(idle->empty());
  EXPECT_FALSE(netshare::ConnectionsFromJson("smbstatus: unknown option --json", "public"));
  EXPECT_FALSE(netshare::ConnectionsFromJson("[1]", "public"));
}

std::string UserNames(const std::string& user_id) {
  if (user_id == "1001") return "bob";
  if (user_id == "1002") return "alice";
  if (user_id == "1003") return "accountant";
  if (user_id == "65534") return "nobody";
  return user_id;
}

TEST(share_connections_test, text_tables_give_the_same_connections_as_the_json_report) {
  const std::vector<std::string> names{"public", "Отчеты", "team", "team docs"};
  const auto rows = netshare::ParseServiceRows(ReadFile("smbstatus-S.txt"), names);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].service, "team docs");  // the longest name wins over "team"
  EXPECT_EQ(rows[0].pid, "23046");
  EXPECT_EQ(rows[4].service, "Отчеты");     // one blank after a name padded by bytes
  const auto users = netshare::ParseProcessUsers(ReadFile("smbstatus-p-n.txt"));
  EXPECT_EQ(users.size(), 5u);
  EXPECT_EQ(users.at("22985"), "1002");
  const std::string json = ReadFile("smbstatus-j.json");
  for (const char* share : {"public", "Отчеты", "team docs", "team"}) {
    EXPECT_EQ(Sorted(netshare::JoinConnections(rows, users, share, UserNames)),
              Sorted(*netshare::ConnectionsFromJson(json, share)))
        << share;
  }
}

TEST(share_connections_test, a_process_without_a_user_row_gives_an_empty_user) {
  const std::vector<netshare::ServiceRow> rows{{"public", "1", "10.0.0.1"}, {"public", "2", "10.0.0.2"}};
  const std::map<std::string, std::string> users{{"1", "1002"}};
  EXPECT_EQ(netshare::JoinConnections(rows, users, "public", UserNames),
            (std::vector<Connection>{{"alice", "10.0.0.1"}, {"", "10.0.0.2"}}));
}

}  // namespace
