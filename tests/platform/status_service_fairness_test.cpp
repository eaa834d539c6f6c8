// sharemond as a process among clients of distinct users: children of the test that take user
// ids of their own. The service's Samba tools are stand-ins that fail once a gate file exists,
// so the test decides when readings end; no Samba is needed.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <thread>

#include "platform/status_service/status_client.h"
#include "platform/status_service/socket_io.h"
#include "tests/support/test_process.h"

namespace {

using namespace std::chrono_literals;
using Outcome = status_service::ServiceAnswer::Outcome;

constexpr uid_t kCrowd = 1'900'000'000;  // the user who crowds the service; the others follow
constexpr gid_t kGroup = 1'900'000'000;  // the socket's group

class status_service_fairness_test : public testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "clients of distinct users need root";
    std::filesystem::permissions(directory_.Path(), std::filesystem::perms(0755));
    std::filesystem::create_directory(directory_.File("bin"));
    for (const char* tool : {"testparm", "net", "smbstatus", "smbcontrol"}) {
      TemporaryDirectory::WriteBytes(directory_.File(std::string("bin/") + tool),
                                     "#!/bin/sh\nwhile [ ! -e " + directory_.File("gate") + " ]; do sleep 0.05; done\nexit 1\n");
      std::filesystem::permissions(directory_.File(std::string("bin/") + tool), std::filesystem::perms(0755));
    }
    service_.emplace(std::string(std::getenv("SHAREMON_BUILD_DIR")) + "/sharemond",
                     std::vector<std::string>{"--socket", socket_, "--socket-group", std::to_string(kGroup),
                                              "--tool-time-limit", "60000"},
                     std::vector<std::string>{"PATH=" + directory_.File("bin") + ":" + std::getenv("PATH"),
                                              "SHAREMON_SMB_CONF=" + directory_.File("none.conf")},
                     directory_.Path(), "");
    ASSERT_TRUE(service_->WaitForLog("serving share reports", 1)) << service_->Err();
  }

  void OpenGate() const { TemporaryDirectory::WriteBytes(directory_.File("gate"), ""); }

  // Runs client in a child process as user uid of the socket's group; its pid.
  static pid_t RunAs(uid_t uid, const std::function<bool()>& client) {
    const pid_t pid = fork();
    if (pid == 0) {
      const bool became = setgroups(1, &kGroup) == 0 && setgid(kGroup) == 0 && setuid(uid) == 0;
      _exit(became && client() ? 0 : 1);
    }
    return pid;
  }
  static bool Succeeded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // A connection that has sent bytes, its reads limited to 30 s.
  int Connect(const std::string& bytes) const {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const timeval wait{30, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const auto address = status_service::UnixAddress(socket_);
    connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return fd;
  }
  static std::string ReadToEnd(int fd) {
    std::string received;
    char buffer[4096];
    for (ssize_t count; (count = recv(fd, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, count);
    return received;
  }
  bool Answered() const { return status_service::AskForReport(socket_, "public", 60s).outcome == Outcome::Answered; }
  // Waits until condition holds, at most 30 s.
  static void WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!condition() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(20ms);
  }

  TemporaryDirectory directory_;
  std::string socket_ = directory_.File("status.sock");
  std::optional<TestProcess> service_;
};

TEST_F(status_service_fairness_test, a_user_past_its_slots_is_refused_with_the_text_and_a_hundred_others_are_answered) {
  // The reading waits for the gate, so the crowd's first 16 requests hold their slots.
  EXPECT_TRUE(Succeeded(RunAs(kCrowd, [&] {
    for (int i = 0; i < 16; ++i) Connect("report public\n");
    return ReadToEnd(Connect("report public\n")) == "refused too many connections\n";
  })));
  std::vector<pid_t> others;
  for (uid_t uid = kCrowd + 1; uid <= kCrowd + 100; ++uid) others.push_back(RunAs(uid, [&] { return Answered(); }));
  // All at once: the gate opens when a thread answers each of them.
  const std::filesystem::path threads = "/proc/" + std::to_string(service_->Pid()) + "/task";
  WaitUntil([&] { return std::distance(std::filesystem::directory_iterator(threads), {}) >= 1 + 16 + 100; });
  OpenGate();
  for (const pid_t other : others) EXPECT_TRUE(Succeeded(other));
}

TEST_F(status_service_fairness_test, a_silent_crowd_neither_keeps_others_out_nor_floods_the_log) {
  OpenGate();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t crowd = RunAs(kCrowd, [&] {
    std::vector<int> silent;
    for (int i = 0; i < 300; ++i) silent.push_back(Connect(""));
    [[maybe_unused]] const auto signalled = write(ready[1], "x", 1);
    return std::all_of(silent.begin(), silent.end(),
                       [](int fd) { return ReadToEnd(fd) == "refused no complete request within 1000 ms\n"; });
  });
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  close(ready[1]);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(Answered()) << i;  // as root: another user
  EXPECT_TRUE(Succeeded(crowd));

  // Every refusal is counted, in a line or two a second.
  const std::regex refusal("refused (a|([0-9]+) more) requests? from uid " + std::to_string(kCrowd) + " ");
  int counted = 0, lines = 0;
  WaitUntil([&] {
    const std::string log = service_->Err();
    counted = lines = 0;
    for (std::sregex_iterator line(log.begin(), log.end(), refusal), end; line != end; ++line, ++lines) {
      counted += (*line)[2].matched ? std::stoi((*line)[2]) : 1;
    }
    return counted >= 300;
  });
  EXPECT_EQ(counted, 300) << service_->Err();
  EXPECT_LT(lines, 30) << service_->Err();
}

}  // namespace
