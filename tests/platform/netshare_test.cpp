#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/netshare/json_reader.h"
#include "platform/netshare/share_connections.h"
#include "platform/netshare/share_report.h"
#include "platform/netshare/share_status.h"
#include "platform/console_command.h"
#include "tests/support/smbstatus_json.h"
#include "tests/support/temporary_directory.h"

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

TEST(share_connections_test, one_pass_over_the_json_report_groups_every_service) {
  const std::string report = ReadFile("smbstatus-j.json");
  const auto all = netshare::ConnectionsFromJson(report);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->size(), 3u);
  for (const auto& [service, connections] : *all) {
    EXPECT_EQ(connections, *netshare::ConnectionsFromJson(report, service)) << service;
  }
  EXPECT_FALSE(netshare::ConnectionsFromJson("not json"));
}

TEST(share_connections_test, a_report_without_connections_or_no_report_at_all) {
  const auto idle = netshare::ConnectionsFromJson(R"({"timestamp": "x", "version": "4.17.12-Debian"})", "public");
  ASSERT_TRUE(idle);
  EXPECT_TRUE(idle->empty());
  EXPECT_FALSE(netshare::ConnectionsFromJson("smbstatus: unknown option --json", "public"));
  EXPECT_FALSE(netshare::ConnectionsFromJson("[1]", "public"));
}

// Read in one pass: looking each connection's session up among all sessions took minutes here.
TEST(share_connections_test, a_report_of_100000_connections_gives_each_share_its_report) {
  const GeneratedStatus status = GenerateSmbstatusJson(100000, false);
  ASSERT_LE(status.json.size(), platform::kConsoleOutputLimit);
  netshare::StatusSnapshot snapshot;
  snapshot.shares = std::vector<platform::SambaShare>{{"share 0", "/srv/0", ""}, {"share 3", "/srv/3", "Три"}};
  snapshot.state = netshare::ConnectionState::Read;
  snapshot.connections = netshare::ConnectionsFromJson(status.json).value();
  for (const auto& share : *snapshot.shares) {
    EXPECT_EQ(netshare::ReplyFor(snapshot, share.name).report,
              netshare::ShareReport(share.name, share.path, share.comment, status.connections.at(share.name)))
        << share.name;
  }
  EXPECT_EQ(snapshot.connections, status.connections);
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

netshare::StatusSnapshot Snapshot(netshare::ConnectionState state) {
  netshare::StatusSnapshot snapshot;
  snapshot.shares = std::vector<platform::SambaShare>{{"public", "/srv/public", "Public files"},
                                                      {"Отчеты", "/srv/reports", ""}};
  snapshot.state = state;
  if (state == netshare::ConnectionState::Read) {
    snapshot.connections["Отчеты"] = {{"bob", "10.0.0.2"}, {"alice", "10.0.0.3"}};
    snapshot.connections["other"] = {{"carol", "10.0.0.4"}};
  }
  return snapshot;
}

TEST(share_status_test, the_reply_of_each_state_in_its_order) {
  using netshare::ConnectionState;
  using netshare::ShareReply;
  auto unreadable = Snapshot(ConnectionState::ServerDown);
  unreadable.shares.reset();
  struct Case {
    netshare::StatusSnapshot snapshot;
    std::string share;
    ShareReply expected;
  };
  const Case cases[] = {
      {unreadable, "public", {2, netshare::ConfigurationUnreadableReport()}},
      {Snapshot(ConnectionState::ServerDown), "missing", {2, netshare::NoSuchShareReport()}},
      {Snapshot(ConnectionState::NoRights), "public", {2, netshare::AccessDeniedReport()}},
      {Snapshot(ConnectionState::ServerDown), "public", {2, netshare::ServerNotRunningReport()}},
      {Snapshot(ConnectionState::Unreadable), "public", {2, netshare::StatusUnreadableReport()}},
      {Snapshot(ConnectionState::Read), "public", {0, netshare::ShareReport("public", "/srv/public", "Public files", {})}},
      // The configured name and its connections, whatever the case of the request.
      {Snapshot(ConnectionState::Read), "ОТЧЕТЫ",
       {0, netshare::ShareReport("Отчеты", "/srv/reports", "", {{"bob", "10.0.0.2"}, {"alice", "10.0.0.3"}})}},
  };
  for (const auto& c : cases) EXPECT_EQ(netshare::ReplyFor(c.snapshot, c.share), c.expected) << c.share;
  // Every error text differs from the others, so a reader can tell them apart.
  std::vector<std::string> errors;
  for (const auto& c : cases) {
    if (c.expected.exit_code != 0) errors.push_back(c.expected.report);
  }
  std::sort(errors.begin(), errors.end());
  EXPECT_EQ(std::unique(errors.begin(), errors.end()), errors.end());
}

// The Samba tools as shell scripts, alone on PATH: testparm knows "public", smbd answers, and
// each case says what smbstatus does ("" for no smbstatus at all).
TEST(share_status_test, a_reading_names_the_tool_that_failed_and_how) {
  if (geteuid() != 0) GTEST_SKIP() << "only root reads the connections";
  using netshare::ConnectionState;
  using namespace std::chrono_literals;
  // The text tables' tools each wait for the other to start: one after the other, the first
  // would wait until its time limit.
  const std::string text_tables = R"sh(case "$*" in
      *--json*) echo "smbstatus: unknown option --json"; exit 1 ;;
      *-S*) : >"$D/S"; while [ ! -e "$D/P" ]; do /bin/sleep 0.05; done; echo "public       4242   10.0.0.9     x" ;;
      *) : >"$D/P"; while [ ! -e "$D/S" ]; do /bin/sleep 0.05; done; echo "4242   0   0   10.0.0.9 (ipv4:10.0.0.9:445)" ;;
    esac)sh";
  struct Case {
    const char* what;
    std::string smbstatus;
    std::chrono::milliseconds limit;
    ConnectionState state;
    std::string problem;
  };
  const Case cases[] = {
      {"text tables", text_tables, 10s, ConnectionState::Read, ""},
      // The full report lists every open file; the text tables still give the connections.
      {"oversize report", "case \"$*\" in *--json*) exec /usr/bin/head -c 17000000 /dev/zero ;; esac\n" + text_tables,
       10s, ConnectionState::Read, "smbstatus --json printed more than 16777216 bytes"},
      {"oversize", "exec /usr/bin/head -c 17000000 /dev/zero", 10s, ConnectionState::Unreadable,
       "smbstatus --json printed more than 16777216 bytes; smbstatus -S printed more than 16777216 bytes"},
      {"hung", "exec /bin/sleep 60", 1s, ConnectionState::Unreadable, "smbstatus --json did not end within 1000 ms"},
      {"missing", "", 10s, ConnectionState::Unreadable, "smbstatus --json could not be started"},
      {"failed", "exit 3", 10s, ConnectionState::Unreadable, "smbstatus -S ended with status 3"},
  };
  const std::string path = std::getenv("PATH");
  unsetenv("SHAREMON_SMB_CONF");
  for (const auto& c : cases) {
    const TemporaryDirectory tools;
    const auto tool = [&](const std::string& name, const std::string& body) {
      TemporaryDirectory::WriteBytes(tools.File(name), "#!/bin/sh\nD='" + tools.File("") + "'\n" + body + "\n");
      chmod(tools.File(name).c_str(), 0755);
    };
    tool("testparm", "printf '[global]\\n[public]\\n\\tpath = /srv/public\\n'");
    tool("net", "exit 1");
    tool("smbcontrol", "exit 0");
    if (!c.smbstatus.empty()) tool("smbstatus", c.smbstatus);
    setenv("PATH", tools.Path().c_str(), 1);
    const netshare::StatusSnapshot snapshot = netshare::ReadStatusSnapshot(c.limit);
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(snapshot.state, c.state) << c.what;
    EXPECT_EQ(snapshot.problem, c.problem) << c.what;
    if (c.state == ConnectionState::Read) {
      EXPECT_EQ(snapshot.connections, (netshare::ConnectionsByService{{"public", {{"root", "10.0.0.9"}}}})) << c.what;
    }
  }
}

}  // namespace
