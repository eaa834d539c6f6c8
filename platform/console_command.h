// Runs a console command without a window and captures what it prints. Windows starts the
// command line through CreateProcess; Linux starts the argument vector with posix_spawn,
// never through a shell. A run can be cancelled from another thread at any moment, and it
// ends at its time limit; either way the whole process tree it started goes with it (Linux:
// the child leads a process group of its own; Windows: a job object), so nothing it spawned
// keeps running or keeps the output pipe open.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/cancel_signal.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace platform {

// A command a child process runs.
struct ConsoleCommand {
  ConsoleCommand() = default;
  ConsoleCommand(rtl::Text line, std::vector<std::string> program_and_arguments)
      : command_line(std::move(line)), arguments(std::move(program_and_arguments)) {}

  // Windows: the command line passed to CreateProcess (window code page).
  // Linux: only shown in error texts (Windows-1251).
  rtl::Text command_line;
  // Windows: the full path of the program to start, so that neither a search of the current
  // directory and PATH nor a command interpreter decides what runs; empty: CreateProcess
  // takes the first word of the command line and searches for it. Linux: unused.
  rtl::Text program_path;
  // Linux: the program (searched in PATH when it holds no "/") and its arguments, UTF-8.
  // Windows: unused.
  std::vector<std::string> arguments;
  // Linux: false sends standard error to /dev/null instead of the output pipe.
  bool merge_standard_error = true;
  // Linux: "NAME=value" entries added to, or replacing, the program's own environment.
  std::vector<std::string> extra_environment;
  // false: each chunk of output counts up to its first NUL, as the console probe reads it;
  // true: every byte counts (tools whose output is data).
  bool keep_nul_bytes = false;
};

// A child that runs longer than this is ended and the command fails.
inline constexpr std::chrono::milliseconds kConsoleCommandTimeLimit{60000};
// More output than this ends the child: no report of a share comes near it, and a runaway
// helper must not take the program's memory with it.
inline constexpr std::size_t kConsoleOutputLimit = 16u * 1024u * 1024u;

struct RunLimits {
  std::chrono::milliseconds time_limit = kConsoleCommandTimeLimit;
  std::size_t output_limit = kConsoleOutputLimit;  // bytes
  const CancelSignal* cancel = nullptr;            // none: the run cannot be cancelled
};

enum class RunOutcome {
  kCompleted,       // the child ended and its output was read to the end
  kNotStarted,      // the program could not be started
  kTimedOut,        // ended at the time limit
  kCancelled,       // ended because the cancel signal was given
  kOutputTooLarge,  // ended once its output passed the output limit
};

struct RunResult {
  RunOutcome outcome = RunOutcome::kCompleted;
  // The bytes as printed, read in chunks of at most 255 bytes, each counting up to its first
  // NUL (the rest of that chunk is dropped) unless the command keeps NUL bytes. What arrived
  // before an early end is kept.
  rtl::Text output;
  std::uint32_t exit_code = 0;  // kCompleted only; Linux: the exit status, or 128 + signal
};

// Runs command in working_directory (Windows-1251 on Windows, UTF-8 on Linux) with the
// program's own standard input and returns once the child and every process it started
// have been dealt with. At the time limit, on cancel or past the output limit the process
// tree is ended (Linux: SIGTERM to the group, SIGKILL to whatever is left a second later;
// Windows: the job is terminated at once). On Windows the job also ends whatever the child
// left running when it completed. Never throws for the child's sake; safe to call from any
// thread.
RunResult RunCommand(const ConsoleCommand& command, const rtl::Text& working_directory, const RunLimits& limits);

// The command could not be started, or was ended for running past its time limit:
// "Ошибка выполнения или компиляции: " + LF + CR + command line (Windows-1251).
class ConsoleCommandError : public rtl::Exception {
 public:
  explicit ConsoleCommandError(const rtl::Text& command_line);
};

// The command printed more than kConsoleOutputLimit bytes:
// "Слишком большой ответ команды: " + LF + CR + command line (Windows-1251).
class ConsoleOutputTooLargeError : public rtl::Exception {
 public:
  explicit ConsoleOutputTooLargeError(const rtl::Text& command_line);
};

// The run was cancelled before the command ended.
class ConsoleCommandCancelled : public rtl::Exception {
 public:
  ConsoleCommandCancelled();
};

// The text of the error a run that did not complete stands for (start, time limit, size,
// cancel), and that error thrown.
rtl::Text RunFailureText(const ConsoleCommand& command, RunOutcome outcome);
[[noreturn]] void ThrowRunFailure(const ConsoleCommand& command, RunOutcome outcome);

struct ConsoleResult {
  rtl::Text output;
  std::uint32_t exit_code = 0;
};

// RunCommand that throws for every outcome but kCompleted (see ThrowRunFailure).
ConsoleResult RunConsoleCommand(const ConsoleCommand& command, const rtl::Text& working_directory,
                                std::chrono::milliseconds time_limit = kConsoleCommandTimeLimit,
                                const CancelSignal* cancel = nullptr);

}  // namespace platform
