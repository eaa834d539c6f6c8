// End to end: the built program, started beside a prepared splist.txt, is stopped by a
// signal and must write its watch list back as "Выход" would.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "tests/support/test_process.h"

namespace {

// True once the process has installed a handler for the signal (SigCgt in /proc).
bool CatchesSignal(pid_t pid, int signal_number) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0) {
      const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
      return (mask >> (signal_number - 1)) & 1U;
    }
  }
  return false;
}

class Termination : public testing::TestWithParam<int> {};

TEST_P(Termination, signal_closes_the_window_and_saves_the_watch_list) {
  const char* build_dir = std::getenv("SHAREMON_BUILD_DIR");
  ASSERT_NE(build_dir, nullptr);
  TemporaryDirectory directory;
  std::string program = directory.File("sharemon");
  std::filesystem::copy_file(std::string(build_dir) + "/sharemon", program);
  // LF ends and no final line end come back as CR LF lines.
  TemporaryDirectory::WriteBytes(directory.File("splist.txt"), "docs\n\xEE\xE1\xF9\xE0\xFF\nprint$");

  // Killed at the end should it still run, so a failure leaves nothing behind.
  TestProcess process(program, {}, {"QT_QPA_PLATFORM=offscreen"}, directory.Path(), "");
  const pid_t pid = process.Pid();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!CatchesSignal(pid, GetParam()) && std::chrono::steady_clock::now() < deadline) {
    ASSERT_EQ(process.Wait(std::chrono::milliseconds(0)), -1) << "the program ended on its own";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(CatchesSignal(pid, GetParam()));
  std::filesystem::remove(directory.File("splist.txt"));  // so only a new write can bring it back
  ASSERT_EQ(kill(pid, GetParam()), 0);
  const int status = process.Wait(std::chrono::seconds(30));
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(TemporaryDirectory::ReadBytes(directory.File("splist.txt")), "docs\r\n\xEE\xE1\xF9\xE0\xFF\r\nprint$\r\n");
}

INSTANTIATE_TEST_SUITE_P(signals, Termination, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

}  // namespace
