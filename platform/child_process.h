// Linux only: starting a program from an argument vector (no shell) with its output
// going into a pipe, and running the Samba tools for their standard output.
#pragma once
#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/console_command.h"
#include "platform/owned_handle.h"

namespace platform {

struct StartedChild {
  pid_t pid = -1;
  Descriptor output;  // read end of the pipe
};

struct ChildStart {
  std::vector<std::string> arguments;  // program (PATH search when it holds no "/") and arguments
  std::string working_directory;       // empty: the caller's
  bool merge_standard_error = true;    // false: standard error goes to /dev/null
  std::vector<std::string> extra_environment;  // "NAME=value" entries added to or replacing ours
  bool own_process_group = false;  // true: the child leads a new process group (its pid is the group id)
};

// Starts the child with standard output (and standard error when merged) on the write end of
// a fresh pipe and standard input inherited, with no signal blocked and SIGTERM, SIGINT and
// SIGPIPE at their default actions whatever this program does with them. Returns nothing
// when it cannot be started.
std::optional<StartedChild> StartChild(const ChildStart& start);

// Waits for the child and returns its exit status, or 128 + the signal that ended it.
int WaitForChild(pid_t pid);

struct CapturedOutput {
  // kCompleted, or why the tool gave nothing: it could not be started (kNotStarted), or it was
  // ended, with everything it started, at the time limit (kTimedOut) or once it had printed
  // more than kConsoleOutputLimit bytes (kOutputTooLarge).
  RunOutcome outcome = RunOutcome::kCompleted;
  int exit_code = 0;   // kCompleted only
  std::string output;  // standard output only
  bool Succeeded() const { return outcome == RunOutcome::kCompleted && exit_code == 0; }
};

// Runs a tool with LC_ALL=C.UTF-8 (so its texts and dates are in a known form), discarding
// its standard error, and returns every byte it printed.
CapturedOutput CaptureToolOutput(const std::vector<std::string>& arguments,
                                 std::chrono::milliseconds time_limit = std::chrono::seconds(60));

}  // namespace platform

#endif
