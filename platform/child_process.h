// Linux only: starting a program from an argument vector (no shell) with its output
// going into a pipe, and running the Samba tools for their standard output.
#pragma once
#ifndef _WIN32

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct StartedChild {
  pid_t pid = -1;
  int output = -1;  // read end of the pipe; the caller closes it
};

struct ChildStart {
  std::vector<std::string> arguments;  // program (PATH search when it holds no "/") and arguments
  std::string working_directory;       // empty: the caller's
  bool merge_standard_error = true;    // false: standard error goes to /dev/null
  std::vector<std::string> extra_environment;  // "NAME=value" entries added to or replacing ours
  bool own_process_group = false;  // true: the child leads a new process group (pgid = its pid)
};

// Starts the child with standard output (and standard error when merged) on the write end of
// a fresh pipe and standard input inherited. Returns nothing when it cannot be started.
std::optional<StartedChild> StartChild(const ChildStart& start);

// Waits for the child and returns its exit status, or 128 + the signal that ended it.
int WaitForChild(pid_t pid);

struct CapturedOutput {
  int exit_code = 0;
  std::string output;  // standard output only
};

// How long a Samba tool may run before it counts as hung.
inline constexpr std::chrono::milliseconds kToolTimeLimit{10000};

// Runs a tool with LC_ALL=C.UTF-8 (so its texts and dates are in a known form), discarding
// its standard error, and returns what it printed. Nothing when it cannot be started, or when
// it is still running (or its output still open) after time_limit: then the tool and every
// process of its process group are killed (SIGKILL) and reaped.
std::optional<CapturedOutput> CaptureToolOutput(const std::vector<std::string>& arguments,
                                                std::chrono::milliseconds time_limit = kToolTimeLimit);

}  // namespace platform

#endif
