// The Samba tools run through CaptureToolOutput; one that hangs must not hold its caller, nor
// leave its own children behind.
#include "platform/child_process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Running: the process exists and is no zombie.
bool IsRunning(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string text;
  std::getline(stat, text);
  const auto state = text.find(") ");
  return state != std::string::npos && text[state + 2] != 'Z';
}

TEST(capture_tool_output_test, a_tool_that_ends_in_time_gives_its_output_and_status) {
  const auto result = platform::CaptureToolOutput({"sh", "-c", "echo out; echo err >&2; exit 3"}, 5s);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->output, "out\n");
  EXPECT_EQ(result->exit_code, 3);
  EXPECT_FALSE(platform::CaptureToolOutput({"/nonexistent/tool"}, 5s));
}

TEST(capture_tool_output_test, a_hung_tool_and_its_children_are_killed_at_the_time_limit) {
  const auto pid_file = std::filesystem::temp_directory_path() / ("capture_test_" + std::to_string(getpid()));
  struct Case {
    const char* what;
    std::string script;
  };
  const Case cases[] = {
      {"output open", "sleep 30 & echo $! >" + pid_file.string() + "; wait"},
      {"output closed", "exec >&-; sleep 30 & echo $! >" + pid_file.string() + "; wait"},
  };
  for (const auto& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::CaptureToolOutput({"sh", "-c", c.script}, 300ms)) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s) << c.what;
    std::string child;
    std::ifstream(pid_file) >> child;
    ASSERT_FALSE(child.empty()) << c.what;
    for (int i = 0; i < 200 && IsRunning(child); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(IsRunning(child)) << c.what << ": the tool's child " << child << " lives on";
    std::filesystem::remove(pid_file);
  }
}

}  // namespace
