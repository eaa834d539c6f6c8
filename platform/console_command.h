// Runs a console command without a window, captures what it prints (standard output and
// standard error through one pipe) and returns it with the exit code. Windows starts the
// command line through CreateProcessA; Linux starts the argument vector with posix_spawn,
// never through a shell.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "rtl/errors.h"
#include "rtl/text.h"

namespace platform {

// A command a child process runs.
struct ConsoleCommand {
  // Windows: the command line passed to CreateProcessA (window code page).
  // Linux: only shown in error texts (Windows-1251).
  rtl::Text command_line;
  // Linux: the program (searched in PATH when it holds no "/") and its arguments, UTF-8.
  // Windows: unused.
  std::vector<std::string> arguments;
};

struct ConsoleResult {
  rtl::Text output;             // bytes as printed, each 255-byte chunk cut at its first NUL
  std::uint32_t exit_code = 0;  // Linux: the exit status, or 128 + signal number
};

// A child that runs longer than this is ended and the command fails.
inline constexpr std::chrono::milliseconds kConsoleCommandTimeLimit{60000};

// The command could not be started, or was ended for running past its time limit:
// "Ошибка выполнения или компиляции: " + LF + CR + command line (Windows-1251).
class ConsoleCommandError : public rtl::Exception {
 public:
  explicit ConsoleCommandError(const rtl::Text& command_line);
};

// Runs command in working_directory (Windows-1251 on Windows, UTF-8 on Linux) with the
// program's own standard input, and returns once the child has ended. A child still running
// after time_limit is ended (Linux: SIGTERM, then SIGKILL a second later) and
// ConsoleCommandError is thrown, as it is when the child cannot be started.
ConsoleResult RunConsoleCommand(const ConsoleCommand& command, const rtl::Text& working_directory,
                                std::chrono::milliseconds time_limit = kConsoleCommandTimeLimit);

}  // namespace platform
