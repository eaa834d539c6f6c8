// The parts of the status service that need no Samba: the snapshot cache, the command line and
// the socket file. The service as a whole runs against a real Samba server in
// tests/app/status_service_samba_test.cpp.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/status_service/listening_socket.h"
#include "platform/status_service/refusal_log.h"
#include "platform/status_service/request_intake.h"
#include "platform/status_service/service_options.h"
#include "platform/status_service/snapshot_cache.h"

namespace {

using namespace std::chrono_literals;
using status_service::SnapshotCache;

// A reader that counts its readings and marks each snapshot with its number.
struct CountingReader {
  std::atomic<int> readings{0};
  SnapshotCache::Reader Reader() {
    return [this] {
      netshare::StatusSnapshot snapshot;
      snapshot.problem = std::to_string(++readings);
      return snapshot;
    };
  }
};

TEST(snapshot_cache_test, a_snapshot_answers_every_caller_until_it_is_too_old) {
  CountingReader counter;
  SnapshotCache lasting(counter.Reader(), 1h);
  const auto first = lasting.Current();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(lasting.Current(), first);
  EXPECT_EQ(counter.readings, 1);

  CountingReader counter_of_expiring;
  SnapshotCache expiring(counter_of_expiring.Reader(), 0ms);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(expiring.Current()->problem, std::to_string(i));
}

TEST(snapshot_cache_test, callers_at_once_share_one_reading) {
  CountingReader counter;
  SnapshotCache cache(counter.Reader(), 1h);
  std::vector<std::future<SnapshotCache::Snapshot>> callers;
  for (int i = 0; i < 32; ++i) callers.push_back(std::async(std::launch::async, [&] { return cache.Current(); }));
  const auto first = callers.front().get();
  for (std::size_t i = 1; i < callers.size(); ++i) EXPECT_EQ(callers[i].get(), first);
  EXPECT_EQ(counter.readings, 1);
}

TEST(snapshot_cache_test, a_caller_during_a_reading_waits_for_it_and_takes_it) {
  std::promise<void> gate;
  auto opened = gate.get_future().share();
  std::atomic<int> readings{0};
  // Age 0: a caller that read for itself would get a reading of its own.
  SnapshotCache cache(
      [&] {
        netshare::StatusSnapshot snapshot;
        snapshot.problem = std::to_string(++readings);
        if (readings == 1) opened.wait();
        return snapshot;
      },
      0ms);
  auto reader = std::async(std::launch::async, [&] { return cache.Current(); });
  while (readings == 0) std::this_thread::sleep_for(1ms);
  auto waiter = std::async(std::launch::async, [&] { return cache.Current(); });
  EXPECT_EQ(waiter.wait_for(100ms), std::future_status::timeout);  // it waits for the reading under way
  gate.set_value();
  EXPECT_EQ(waiter.get(), reader.get());
  EXPECT_EQ(readings, 1);
}

TEST(snapshot_cache_test, a_failed_reading_reaches_its_caller_and_the_next_caller_reads_again) {
  int calls = 0;
  SnapshotCache cache(
      [&] {
        if (++calls == 1) throw std::runtime_error("no thread");
        return netshare::StatusSnapshot{};
      },
      1h);
  EXPECT_THROW(cache.Current(), std::runtime_error);
  EXPECT_NE(cache.Current(), nullptr);
  EXPECT_EQ(calls, 2);
}

TEST(refusal_log_test, a_peer_costs_a_line_a_second_and_the_rest_is_counted) {
  using status_service::Peer;
  std::vector<std::string> lines;
  status_service::RefusalLog log([&](const std::string& line) { lines.push_back(line); });
  const auto t0 = status_service::RefusalLog::Clock::time_point() + 1h;
  const Peer alice{true, 1001, 100, 7}, bob{true, 1002, 100, 8};
  struct Step {
    const Peer* peer;  // nullptr: a flush
    std::chrono::milliseconds at;
    const char* line;  // the line written, "" for none
  };
  const Step steps[] = {
      {&alice, 0ms, "refused a request from uid 1001 gid 100 pid 7: a"},
      {&alice, 10ms, ""},
      {&bob, 20ms, "refused a request from uid 1002 gid 100 pid 8: a"},
      {&alice, 30ms, ""},
      {nullptr, 999ms, ""},
      {nullptr, 1000ms, "refused 2 more requests from uid 1001 since the last line, the last from uid 1001 gid 100 pid 7: a"},
      {&alice, 1500ms, ""},
      {nullptr, 2000ms, "refused 1 more request from uid 1001 since the last line, the last from uid 1001 gid 100 pid 7: a"},
      {nullptr, 3000ms, ""},
      {&alice, 3000ms, "refused a request from uid 1001 gid 100 pid 7: a"},
  };
  for (const Step& step : steps) {
    lines.clear();
    if (step.peer != nullptr) log.Note(*step.peer, "a", t0 + step.at);
    else log.Flush(t0 + step.at);
    EXPECT_EQ(lines, std::string(step.line).empty() ? std::vector<std::string>{} : std::vector<std::string>{step.line})
        << step.at.count();
  }
}

TEST(request_intake_test, a_full_intake_pushes_out_the_oldest_connection_of_the_user_who_holds_most) {
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
  // As root the first connection comes from another user, who holds only it; the connection
  // pushed out is then the oldest of root's.
  const bool other_user_first = geteuid() == 0;
  status_service::RequestIntake intake;
  std::vector<status_service::Descriptor> clients;
  std::vector<int> served;
  for (std::size_t i = 0; i <= status_service::kMaxWaitingRequests; ++i) {
    int ends[2];
    const bool as_other = i == 0 && other_user_first;
    ASSERT_EQ(as_other ? seteuid(4242) : 0, 0);
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0) << i;
    ASSERT_EQ(as_other ? seteuid(0) : 0, 0);
    clients.emplace_back(ends[0]);
    served.push_back(ends[1]);
    const auto pushed_out = intake.Add(status_service::Descriptor(ends[1]));
    ASSERT_EQ(pushed_out.has_value(), i == status_service::kMaxWaitingRequests);
    if (pushed_out) {
      EXPECT_EQ(pushed_out->connection.Get(), served[other_user_first ? 1 : 0]);
      EXPECT_EQ(pushed_out->refusal, "too many connections");
    }
  }
  EXPECT_EQ(intake.Size(), status_service::kMaxWaitingRequests);
}

TEST(service_options_test, command_lines) {
  unsetenv("SHAREMON_STATUS_SOCKET");
  using Arguments = std::vector<std::string>;
  const auto options = [](const Arguments& arguments) {
    return std::get<status_service::ServiceOptions>(status_service::ParseServiceOptions(arguments));
  };
  EXPECT_EQ(options({}).socket_path, "/run/sharemon/status.sock");
  EXPECT_EQ(options({}).socket_group, "sharemon");
  EXPECT_EQ(options({}).tool_time_limit, 10s);
  const auto all = options({"--socket", "/tmp/s", "--socket-group", "staff", "--tool-time-limit", "1500",
                            "--client-time-limit", "250"});
  EXPECT_EQ(all.socket_path, "/tmp/s");
  EXPECT_EQ(all.socket_group, "staff");
  EXPECT_EQ(all.tool_time_limit, 1500ms);
  EXPECT_EQ(all.client_time_limit, 250ms);
  EXPECT_TRUE(options({"--help"}).help);
  setenv("SHAREMON_STATUS_SOCKET", "/tmp/from-environment", 1);
  EXPECT_EQ(options({}).socket_path, "/tmp/from-environment");
  EXPECT_EQ(options({"--socket", "/tmp/s"}).socket_path, "/tmp/s");
  unsetenv("SHAREMON_STATUS_SOCKET");

  const Arguments wrong[] = {
      {"--socket"}, {"--socket", ""}, {"--socket-group", ""}, {"--tool-time-limit", "0"},
      {"--tool-time-limit", "-5"}, {"--tool-time-limit", "10s"}, {"--client-time-limit", ""},
      {"--port", "1"}, {"public"},
  };
  for (const auto& arguments : wrong) {
    EXPECT_TRUE(std::holds_alternative<std::string>(status_service::ParseServiceOptions(arguments))) << arguments[0];
  }
}

class listening_socket_test : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("sharemond_socket_test_" + std::to_string(getpid()));
    std::filesystem::remove_all(directory_);
    path_ = (directory_ / "run" / "status.sock").string();
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  static bool Connects(const std::string& path) {
    status_service::Descriptor client(socket(AF_UNIX, SOCK_STREAM, 0));
    const auto address = status_service::UnixAddress(path);
    return connect(client.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0;
  }

  std::filesystem::path directory_;
  std::string path_;
};

TEST_F(listening_socket_test, the_socket_file_belongs_to_the_group_with_mode_0660) {
  auto opened = status_service::OpenListeningSocket(path_, getgid());
  ASSERT_TRUE(std::holds_alternative<status_service::ListeningSocket>(opened)) << std::get<std::string>(opened);
  struct stat status{};
  ASSERT_EQ(stat(path_.c_str(), &status), 0);
  EXPECT_TRUE(S_ISSOCK(status.st_mode));
  EXPECT_EQ(status.st_mode & 07777, 0660u);
  EXPECT_EQ(status.st_uid, geteuid());
  EXPECT_EQ(status.st_gid, getgid());
  EXPECT_TRUE(Connects(path_));
  status_service::RemoveSocketFile(path_, std::get<status_service::ListeningSocket>(opened));
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(listening_socket_test, a_live_socket_or_another_file_is_left_alone_and_a_stale_one_replaced) {
  using status_service::ListeningSocket;
  using status_service::OpenListeningSocket;
  auto first = OpenListeningSocket(path_, getgid());
  ASSERT_TRUE(std::holds_alternative<ListeningSocket>(first));
  EXPECT_TRUE(std::holds_alternative<std::string>(OpenListeningSocket(path_, getgid())));
  EXPECT_TRUE(Connects(path_));

  // Someone removed the first service's file and started a second one: the first service,
  // when it stops, leaves the second one's file alone.
  ASSERT_EQ(unlink(path_.c_str()), 0);
  auto second = OpenListeningSocket(path_, getgid());
  ASSERT_TRUE(std::holds_alternative<ListeningSocket>(second)) << std::get<std::string>(second);
  status_service::RemoveSocketFile(path_, std::get<ListeningSocket>(first));
  EXPECT_TRUE(Connects(path_));

  second = std::string("stopped without removing its file");
  EXPECT_FALSE(Connects(path_));
  auto third = OpenListeningSocket(path_, getgid());
  ASSERT_TRUE(std::holds_alternative<ListeningSocket>(third)) << std::get<std::string>(third);
  EXPECT_TRUE(Connects(path_));

  const std::string plain = (directory_ / "run" / "plain").string();
  std::ofstream(plain) << "keep";
  EXPECT_TRUE(std::holds_alternative<std::string>(OpenListeningSocket(plain, getgid())));
  std::ifstream kept(plain);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
}

TEST(group_id_test, groups_by_name_or_number) {
  EXPECT_EQ(status_service::GroupId("root"), 0u);
  EXPECT_EQ(status_service::GroupId("0"), 0u);
  EXPECT_EQ(status_service::GroupId("4242"), 4242u);
  EXPECT_FALSE(status_service::GroupId("no-such-group-of-sharemon"));
  EXPECT_FALSE(status_service::GroupId(""));
  EXPECT_FALSE(status_service::GroupId("12ab"));
}

}  // namespace
