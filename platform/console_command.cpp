#include "platform/console_command.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <thread>

#include "platform/child_process.h"
#endif

namespace platform {

namespace {

rtl::Text CommandFailedText(const rtl::Text& command_line) {
  return rtl::Windows1251FromUtf8("Ошибка выполнения или компиляции: ") + "\n\r" + command_line;
}

rtl::Text OutputTooLargeText(const rtl::Text& command_line) {
  return rtl::Windows1251FromUtf8("Слишком большой ответ команды: ") + "\n\r" + command_line;
}

rtl::Text CancelledText() { return rtl::Windows1251FromUtf8("Команда прервана"); }

}  // namespace

ConsoleCommandError::ConsoleCommandError(const rtl::Text& command_line)
    : rtl::Exception(CommandFailedText(command_line)) {}

ConsoleOutputTooLargeError::ConsoleOutputTooLargeError(const rtl::Text& command_line)
    : rtl::Exception(OutputTooLargeText(command_line)) {}

ConsoleCommandCancelled::ConsoleCommandCancelled() : rtl::Exception(CancelledText()) {}

rtl::Text RunFailureText(const ConsoleCommand& command, RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kCancelled:
      return CancelledText();
    case RunOutcome::kOutputTooLarge:
      return OutputTooLargeText(command.command_line);
    default:
      return CommandFailedText(command.command_line);
  }
}

void ThrowRunFailure(const ConsoleCommand& command, RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::kCancelled:
      throw ConsoleCommandCancelled();
    case RunOutcome::kOutputTooLarge:
      throw ConsoleOutputTooLargeError(command.command_line);
    default:
      throw ConsoleCommandError(command.command_line);
  }
}

ConsoleResult RunConsoleCommand(const ConsoleCommand& command, const rtl::Text& working_directory,
                                std::chrono::milliseconds time_limit, const CancelSignal* cancel) {
  RunResult run = RunCommand(command, working_directory, {time_limit, kConsoleOutputLimit, cancel});
  if (run.outcome != RunOutcome::kCompleted) ThrowRunFailure(command, run.outcome);
  return {std::move(run.output), run.exit_code};
}

namespace {

constexpr std::size_t kChunkSize = 255;

// A chunk counts up to its first NUL byte: the rest of that chunk is dropped.
void AppendChunk(rtl::Text& output, const char* chunk, std::size_t count, bool keep_nul_bytes) {
  std::size_t length = 0;
  while (length < count && (keep_nul_bytes || chunk[length] != '\0')) ++length;
  output.append(chunk, length);
}

}  // namespace

#ifdef _WIN32

RunResult RunCommand(const ConsoleCommand& command, const rtl::Text& working_directory, const RunLimits& limits) {
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(SECURITY_ATTRIBUTES);
  security.lpSecurityDescriptor = nullptr;
  security.bInheritHandle = TRUE;
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &security, 0)) return {RunOutcome::kNotStarted, {}, 0};

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
    return {RunOutcome::kNotStarted, {}, 0};
  }

  RunResult result;
  char chunk[kChunkSize];
  DWORD count = 0;
  // The read fails once every writer has closed the pipe: that is the end of the output.
  while (ReadFile(read_end, chunk, kChunkSize, &count, nullptr) && count > 0) {
    AppendChunk(result.output, chunk, count, command.keep_nul_bytes);
    if (result.output.size() > limits.output_limit) {
      result.outcome = RunOutcome::kOutputTooLarge;
      break;
    }
  }
  const bool ended = result.outcome == RunOutcome::kCompleted &&
                     WaitForSingleObject(process.hProcess, static_cast<DWORD>(limits.time_limit.count())) == WAIT_OBJECT_0;
  if (!ended) {
    TerminateProcess(process.hProcess, 1);
    if (result.outcome == RunOutcome::kCompleted) result.outcome = RunOutcome::kTimedOut;
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  result.exit_code = ended ? exit_code : 0;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(read_end);
  return result;
}

#else

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kGraceBeforeKill = std::chrono::seconds(1);
constexpr auto kExitPollStep = std::chrono::milliseconds(5);

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<std::int64_t>(left, 0, 1 << 30));
}

// One started child and what its run has come to.
class ChildRun {
 public:
  ChildRun(const StartedChild& child, const ConsoleCommand& command, const RunLimits& limits)
      : child_(child), command_(command), limits_(limits), deadline_(Clock::now() + limits.time_limit) {}

  RunResult Run() {
    result_.outcome = ReadOutput();
    close(child_.output);
    if (result_.outcome == RunOutcome::kCompleted) result_.outcome = WaitForExit();
    if (result_.outcome != RunOutcome::kCompleted) EndProcessTree();
    return std::move(result_);
  }

 private:
  int CancelDescriptor() const { return limits_.cancel ? limits_.cancel->ReadableWhenCancelled() : -1; }

  // Reads until every writer has closed the pipe, or until something ends the run early.
  RunOutcome ReadOutput() {
    for (;;) {
      pollfd watch[2] = {{child_.output, POLLIN, 0}, {CancelDescriptor(), POLLIN, 0}};
      const int ready = poll(watch, limits_.cancel ? 2 : 1, MillisecondsLeft(deadline_));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return RunOutcome::kCompleted;  // an unusable pipe ends the output like a closed one
      if (limits_.cancel && watch[1].revents != 0) return RunOutcome::kCancelled;
      if (ready == 0) {
        if (Clock::now() >= deadline_) return RunOutcome::kTimedOut;
        continue;
      }
      const auto step = ReadChunk();
      if (step) return *step;
    }
  }

  // One read of at most 255 bytes; an outcome once the output has ended or grown too large.
  std::optional<RunOutcome> ReadChunk() {
    char chunk[kChunkSize];
    const ssize_t count = read(child_.output, chunk, kChunkSize);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) return std::nullopt;
    if (count <= 0) return RunOutcome::kCompleted;
    AppendChunk(result_.output, chunk, static_cast<std::size_t>(count), command_.keep_nul_bytes);
    if (result_.output.size() > limits_.output_limit) return RunOutcome::kOutputTooLarge;
    return std::nullopt;
  }

  // Polls instead of blocking in waitpid, so that the deadline and the cancel signal also
  // hold for a child that closed its output but keeps running.
  RunOutcome WaitForExit() {
    for (;;) {
      if (Reap()) return RunOutcome::kCompleted;
      if (Clock::now() >= deadline_) return RunOutcome::kTimedOut;
      if (limits_.cancel && limits_.cancel->WaitFor(kExitPollStep)) return RunOutcome::kCancelled;
      if (!limits_.cancel) std::this_thread::sleep_for(kExitPollStep);
    }
  }

  // True once the child has ended and its status is taken.
  bool Reap() {
    if (reaped_) return true;
    int status = 0;
    const pid_t done = waitpid(child_.pid, &status, WNOHANG);
    if (done == child_.pid) {
      result_.exit_code = static_cast<std::uint32_t>(WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status));
    }
    reaped_ = done == child_.pid || (done < 0 && errno == ECHILD);
    return reaped_;
  }

  // The child leads its own process group, so one kill reaches everything it started, also
  // after the child itself has gone. Whatever is still there after the grace period is killed.
  void EndProcessTree() {
    kill(-child_.pid, SIGTERM);
    const auto grace_end = Clock::now() + kGraceBeforeKill;
    while (Clock::now() < grace_end && !(Reap() && kill(-child_.pid, 0) != 0)) {
      std::this_thread::sleep_for(kExitPollStep);
    }
    kill(-child_.pid, SIGKILL);
    if (!reaped_) WaitForChild(child_.pid);
    result_.exit_code = 0;
  }

  StartedChild child_;
  const ConsoleCommand& command_;
  const RunLimits& limits_;
  Clock::time_point deadline_;
  RunResult result_;
  bool reaped_ = false;
};

}  // namespace

RunResult RunCommand(const ConsoleCommand& command, const rtl::Text& working_directory, const RunLimits& limits) {
  const auto child = StartChild(
      {command.arguments, working_directory, command.merge_standard_error, command.extra_environment, true});
  if (!child) return {RunOutcome::kNotStarted, {}, 0};
  return ChildRun(*child, command, limits).Run();
}

#endif

}  // namespace platform
