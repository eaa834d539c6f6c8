#include "platform/console_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace std::chrono_literals;

platform::ConsoleCommand Shell(const std::string& script) { return {"sh -c " + script, {"sh", "-c", script}}; }

platform::ConsoleResult RunShell(const std::string& script) {
  return platform::RunConsoleCommand(Shell(script), "/", 10s);
}

// A file whose whole content cat writes with one write, so the pipe holds it in one piece.
std::string FileHolding(const std::string& content) {
  const auto path = std::filesystem::temp_directory_path() / ("console_command_test_" + std::to_string(getpid()));
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

TEST(console_command_test, output_longer_than_one_chunk_arrives_whole) {
  const std::string content(1000, 'a');
  const std::string file = FileHolding(content + "b");
  EXPECT_EQ(RunShell("cat " + file).output, content + "b");
  std::filesystem::remove(file);
}

TEST(console_command_test, a_nul_byte_drops_the_rest_of_its_255_byte_chunk) {
  struct Case {
    std::string content;
    std::string expected;
  };
  const Case cases[] = {
      {std::string("ab\0cd", 5), "ab"},
      // 300 bytes: the first read takes 255 of them, the NUL at 250 ends that chunk only.
      {std::string(250, 'x') + std::string(1, '\0') + std::string(49, 'y'), std::string(250, 'x') + std::string(45, 'y')},
      {std::string("\0abc", 4), ""},
  };
  for (const auto& c : cases) {
    const std::string file = FileHolding(c.content);
    EXPECT_EQ(RunShell("cat " + file).output, c.expected) << c.content.size();
    std::filesystem::remove(file);
  }
}

TEST(console_command_test, standard_error_shares_the_pipe_with_standard_output) {
  EXPECT_EQ(RunShell("echo out; echo err >&2; echo more").output, "out\nerr\nmore\n");
}

TEST(console_command_test, exit_codes_are_reported) {
  struct Case {
    std::string script;
    std::uint32_t exit_code;
  };
  const Case cases[] = {{"exit 0", 0}, {"exit 7", 7}, {"exit 255", 255}, {"kill -KILL $$", 128 + 9}};
  for (const auto& c : cases) EXPECT_EQ(RunShell(c.script).exit_code, c.exit_code) << c.script;
}

TEST(console_command_test, the_child_runs_in_the_given_directory_without_a_shell_in_between) {
  EXPECT_EQ(RunShell("pwd").output, "/\n");
  // The arguments reach the program as they are: no shell interprets ";" or "$(...)".
  const platform::ConsoleCommand echo{"echo", {"echo", "a; echo b", "$(id)"}};
  EXPECT_EQ(platform::RunConsoleCommand(echo, "/tmp", 10s).output, "a; echo b $(id)\n");
}

TEST(console_command_test, a_program_that_does_not_exist_raises_the_start_error) {
  const rtl::Text command_line = "netshare " + rtl::Windows1251FromUtf8("Отчеты");
  const platform::ConsoleCommand missing{command_line, {"/nonexistent/netshare", "x"}};
  try {
    platform::RunConsoleCommand(missing, "/", 10s);
    FAIL() << "no error";
  } catch (const platform::ConsoleCommandError& error) {
    EXPECT_EQ(std::string(error.what()),
              rtl::Windows1251FromUtf8("Ошибка выполнения или компиляции: ") + "\n\r" + command_line);
  }
  EXPECT_THROW(platform::RunConsoleCommand({"x", {"no-such-program-of-sharemon"}}, "/", 10s),
               platform::ConsoleCommandError);
  EXPECT_THROW(platform::RunConsoleCommand({"x", {}}, "/", 10s), platform::ConsoleCommandError);
}

TEST(console_command_test, a_child_past_its_time_limit_is_ended_and_the_command_fails) {
  const std::string scripts[] = {
      "echo started; exec sleep 30",                    // ends on SIGTERM
      "trap '' TERM; echo started; exec sleep 30",      // needs SIGKILL
      "exec >&- 2>&-; exec sleep 30",                   // output closed early, still running
  };
  for (const auto& script : scripts) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(platform::RunConsoleCommand(Shell(script), "/", 1s), platform::ConsoleCommandError) << script;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << script;
  }
}

TEST(console_command_test, a_child_within_its_time_limit_is_waited_for) {
  EXPECT_EQ(RunShell("sleep 0.3; echo late").output, "late\n");
}

}  // namespace
