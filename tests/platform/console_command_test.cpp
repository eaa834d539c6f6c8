#include "platform/console_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <unistd.h>

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

namespace {

// A process that still runs: neither gone nor only a zombie waiting for its new parent.
bool Runs(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pid_field, name, state;
  if (!(stat >> pid_field >> name >> state)) return false;
  return state != "Z" && state != "X";
}

// A killed process takes a moment to die; give it up to two seconds.
bool StillRuns(pid_t pid) {
  for (int attempt = 0; attempt < 200 && Runs(pid); ++attempt) std::this_thread::sleep_for(10ms);
  return Runs(pid);
}

pid_t ReadPid(const std::string& file) {
  pid_t pid = 0;
  for (int attempt = 0; attempt < 200 && pid == 0; ++attempt) {
    std::ifstream(file) >> pid;
    if (pid == 0) std::this_thread::sleep_for(10ms);
  }
  return pid;
}

struct TreeCase {
  const char* name;
  std::string script;  // "@" stands for the file that receives the grandchild's pid
};

// Each helper leaves a grandchild behind in its own way; at the limit all of it must go.
std::vector<TreeCase> TreeCases() {
  return {
      {"helper ignoring SIGTERM with a child", "trap '' TERM; sleep 30 & echo $! > @; wait"},
      {"helper gone, background child holding the pipe", "sleep 30 & echo $! > @; exit 0"},
      {"grandchild ignoring SIGTERM", "sh -c 'trap \"\" TERM; echo $$ > @; exec sleep 30' & wait"},
  };
}

std::string Substitute(std::string script, const std::string& file) {
  for (auto at = script.find('@'); at != std::string::npos; at = script.find('@')) script.replace(at, 1, file);
  return script;
}

}  // namespace

TEST(command_runner_test, the_time_limit_ends_the_whole_process_tree) {
  for (const auto& c : TreeCases()) {
    const std::string file = FileHolding("");
    const auto start = std::chrono::steady_clock::now();
    const auto run = platform::RunCommand(Shell(Substitute(c.script, file)), "/", {1s, 1 << 20, nullptr});
    EXPECT_EQ(run.outcome, platform::RunOutcome::kTimedOut) << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.name;
    const pid_t grandchild = ReadPid(file);
    ASSERT_GT(grandchild, 0) << c.name;
    EXPECT_FALSE(StillRuns(grandchild)) << c.name;
    std::filesystem::remove(file);
  }
}

TEST(command_runner_test, a_cancel_from_another_thread_ends_the_run_at_once) {
  const std::string file = FileHolding("");
  platform::CancelSignal cancel;
  std::thread canceller([&] {
    ReadPid(file);  // the tree is up
    cancel.Cancel();
  });
  const auto start = std::chrono::steady_clock::now();
  const auto run = platform::RunCommand(Shell(Substitute("echo early; sleep 30 & echo $! > @; wait", file)), "/",
                                        {60s, 1 << 20, &cancel});
  canceller.join();
  EXPECT_EQ(run.outcome, platform::RunOutcome::kCancelled);
  EXPECT_EQ(run.output, "early\n");  // what came before the cancel is kept
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_FALSE(StillRuns(ReadPid(file)));
  std::filesystem::remove(file);
}

TEST(command_runner_test, a_cancel_given_before_the_start_ends_the_run_without_waiting) {
  platform::CancelSignal cancel;
  cancel.Cancel();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform::RunCommand(Shell("exec sleep 30"), "/", {60s, 1 << 20, &cancel}).outcome,
            platform::RunOutcome::kCancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_THROW(platform::RunConsoleCommand(Shell("exec sleep 30"), "/", 60s, &cancel), platform::ConsoleCommandCancelled);
}

TEST(command_runner_test, output_past_the_limit_ends_the_run) {
  const auto run = platform::RunCommand(Shell("yes sharemon"), "/", {60s, 100000, nullptr});
  EXPECT_EQ(run.outcome, platform::RunOutcome::kOutputTooLarge);
  EXPECT_GT(run.output.size(), 100000u);
  EXPECT_LE(run.output.size(), 100000u + 255u);
  const platform::ConsoleCommand command("yes", {"yes"});
  try {
    platform::ThrowRunFailure(command, platform::RunOutcome::kOutputTooLarge);
    FAIL() << "no error";
  } catch (const platform::ConsoleOutputTooLargeError& error) {
    EXPECT_EQ(std::string(error.what()), rtl::Windows1251FromUtf8("Слишком большой ответ команды: ") + "\n\ryes");
  }
}

TEST(command_runner_test, a_tool_run_keeps_nul_bytes_and_leaves_standard_error_out) {
  platform::ConsoleCommand command = Shell("printf 'a\\000b'; echo err >&2");
  command.merge_standard_error = false;
  command.keep_nul_bytes = true;
  EXPECT_EQ(platform::RunCommand(command, "/", {10s, 1 << 20, nullptr}).output, std::string("a\0b", 3));
}

TEST(command_runner_test, the_child_runs_with_clean_signal_dispositions) {
  // A program that ignores SIGTERM must not hand that on: the child's SIGTERM ends it.
  struct sigaction ignore = {};
  struct sigaction previous = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGTERM, &ignore, &previous);
  const auto run = platform::RunCommand(Shell("kill -TERM $$; sleep 5"), "/", {10s, 1 << 20, nullptr});
  sigaction(SIGTERM, &previous, nullptr);
  EXPECT_EQ(run.exit_code, 128u + SIGTERM);
}

TEST(cancel_signal_test, waits_until_given_and_stays_given_until_reset) {
  platform::CancelSignal signal;
  EXPECT_FALSE(signal.Cancelled());
  EXPECT_FALSE(signal.WaitFor(20ms));
  std::thread giver([&] { signal.Cancel(); });
  EXPECT_TRUE(signal.WaitFor(10s));
  giver.join();
  signal.Cancel();  // twice is still once
  EXPECT_TRUE(signal.Cancelled());
  signal.Reset();
  EXPECT_FALSE(signal.Cancelled());
}
