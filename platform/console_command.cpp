#include "platform/console_command.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/child_process.h"
#endif

namespace platform {

ConsoleCommandError::ConsoleCommandError(const rtl::Text& command_line)
    : rtl::Exception(rtl::Windows1251FromUtf8("Ошибка выполнения или компиляции: ") + "\n\r" + command_line) {}

namespace {

constexpr std::size_t kChunkSize = 255;

// A chunk counts up to its first NUL byte: the rest of that chunk is dropped.
void AppendChunk(rtl::Text& output, const char* chunk, std::size_t count) {
  std::size_t length = 0;
  while (length < count && chunk[length] != '\0') ++length;
  output.append(chunk, length);
}

}  // namespace

#ifdef _WIN32

ConsoleResult RunConsoleCommand(const ConsoleCommand& command, const rtl::Text& working_directory,
                                std::chrono::milliseconds time_limit) {
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(SECURITY_ATTRIBUTES);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &security, 0)) throw ConsoleCommandError(command.command_line);

  STARTUPINFOA startup{};
  startup.cb = sizeof(STARTUPINFOA);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;

  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line, so it gets its own copy.
  rtl::Text command_line = command.command_line;
  const BOOL started = CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      working_directory.c_str(), &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    throw ConsoleCommandError(command.command_line);
  }

  ConsoleResult result;
  char chunk[kChunkSize];
  DWORD count = 0;
  // The read fails once every writer has closed the pipe: that is the end of the output.
  while (ReadFile(read_end, chunk, kChunkSize, &count, nullptr) && count > 0) {
    AppendChunk(result.output, chunk, count);
  }
  const bool ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(time_limit.count())) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  result.exit_code = exit_code;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(read_end);
  if (!ended) throw ConsoleCommandError(command.command_line);
  return result;
}

#else

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads the child's output until every writer has closed the pipe. False when the deadline
// came first.
bool ReadUntilEnd(int output, Clock::time_point deadline, rtl::Text& text) {
  char chunk[kChunkSize];
  for (;;) {
    pollfd watch{output, POLLIN, 0};
    const int ready = poll(&watch, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ready < 0;  // an unusable pipe ends the output like a closed one
    const ssize_t count = read(output, chunk, kChunkSize);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return true;
    AppendChunk(text, chunk, static_cast<std::size_t>(count));
  }
}

// Polls instead of blocking in waitpid, so that the deadline also holds for a child that
// closed its output but keeps running.
std::optional<int> WaitUntil(pid_t pid, Clock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    if (done < 0 && errno != EINTR) return -1;
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Asks the child to end, and forces it a second later.
void EndChild(pid_t pid) {
  kill(pid, SIGTERM);
  if (!WaitUntil(pid, Clock::now() + std::chrono::seconds(1))) {
    kill(pid, SIGKILL);
    WaitForChild(pid);
  }
}

}  // namespace

ConsoleResult RunConsoleCommand(const ConsoleCommand& command, const rtl::Text& working_directory,
                                std::chrono::milliseconds time_limit) {
  const auto deadline = Clock::now() + time_limit;
  const auto child = StartChild({command.arguments, working_directory, true, {}});
  if (!child) throw ConsoleCommandError(command.command_line);
  ConsoleResult result;
  const bool output_ended = ReadUntilEnd(child->output, deadline, result.output);
  close(child->output);
  const auto exit_code = output_ended ? WaitUntil(child->pid, deadline) : std::nullopt;
  if (!exit_code) {
    EndChild(child->pid);
    throw ConsoleCommandError(command.command_line);
  }
  result.exit_code = static_cast<std::uint32_t>(*exit_code);
  return result;
}

#endif

}  // namespace platform
