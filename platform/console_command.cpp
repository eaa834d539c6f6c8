#include "platform/console_command.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/owned_handle.h"
#include "platform/process_start.h"
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

namespace {

using Clock = std::chrono::steady_clock;

// An anonymous pipe cannot be waited on, so an empty one is looked at again after this many
// milliseconds. Polling keeps the whole run on the calling thread: no reader thread that
// could outlive the run, and the deadline and the cancel event are seen within one step.
constexpr DWORD kPipePollStep = 10;
// Milliseconds an ended child is given to be gone before the run returns.
constexpr DWORD kEndWait = 2000;
// The longest single wait; longer time limits wait in several turns.
constexpr std::int64_t kLongestWait = 0x7FFFFFFF;

// Children start one at a time, so that no child inherits the inheritable write end of
// another run's pipe and keeps that run's output open for as long as it lives.
SRWLOCK start_lock = SRWLOCK_INIT;

// A job that ends every process in it once its last handle is closed.
Handle KillOnCloseJob() {
  Handle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job.IsOpen() && !SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    job.Reset();
  }
  return job;
}

// A started child, the job that holds it and everything it starts, and the read end of the
// pipe its standard output and error write to.
struct JobChild {
  Handle job;
  Handle process;
  Handle output;
};

// Starts the child hidden and suspended, writing to write_end, with the program's own input.
bool CreateSuspendedChild(const ConsoleCommand& command, const rtl::Text& working_directory, HANDLE write_end,
                          PROCESS_INFORMATION& process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(STARTUPINFOA);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  // CreateProcessA may write into the command line, so it gets its own copy.
  rtl::Text command_line = command.command_line;
  const char* program = command.program_path.empty() ? nullptr : command.program_path.c_str();
  return StartProcess([&] {
    return CreateProcessA(program, command_line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                          working_directory.c_str(), &startup, &process);
  }) != 0;
}

// The child runs only once it is in the job, so nothing it starts escapes the job. Where the
// job cannot take it (a system without nested jobs), only the child itself can be ended.
std::optional<JobChild> StartJobChild(const ConsoleCommand& command, const rtl::Text& working_directory) {
  JobChild child{KillOnCloseJob(), {}, {}};
  if (!child.job.IsOpen()) return std::nullopt;
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  PROCESS_INFORMATION process{};
  AcquireSRWLockExclusive(&start_lock);
  const bool piped = CreatePipe(&read_end, &write_end, nullptr, 0) != 0;
  child.output.Reset(read_end);
  Handle writer(write_end);
  const bool started = piped && SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) &&
                       CreateSuspendedChild(command, working_directory, write_end, process);
  writer.Reset();  // under the lock, so that only this child holds the write end
  ReleaseSRWLockExclusive(&start_lock);
  if (!started) return std::nullopt;
  child.process.Reset(process.hProcess);
  const Handle thread(process.hThread);
  AssignProcessToJobObject(child.job.Get(), process.hProcess);
  ResumeThread(thread.Get());
  return child;
}

// One started child and what its run has come to.
class JobRun {
 public:
  JobRun(JobChild child, const ConsoleCommand& command, const RunLimits& limits)
      : child_(std::move(child)), command_(command), limits_(limits), deadline_(Clock::now() + limits.time_limit) {}

  RunResult Run() {
    result_.outcome = ReadOutput();
    child_.output.Reset();
    if (result_.outcome == RunOutcome::kCompleted) result_.outcome = WaitForExit();
    if (result_.outcome == RunOutcome::kCompleted) {
      TakeExitCode();
    } else {
      EndProcessTree();
    }
    return std::move(result_);
  }

 private:
  bool Cancelled() const { return limits_.cancel != nullptr && limits_.cancel->Cancelled(); }

  DWORD MillisecondsLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    return static_cast<DWORD>(std::clamp<std::int64_t>(left, 0, kLongestWait));
  }

  // Reads until every writer has closed the pipe, or until something ends the run early.
  RunOutcome ReadOutput() {
    for (;;) {
      if (Cancelled()) return RunOutcome::kCancelled;
      if (MillisecondsLeft() == 0) return RunOutcome::kTimedOut;
      DWORD available = 0;
      // Peeking fails once the pipe is empty and every writer has closed it.
      if (!PeekNamedPipe(child_.output.Get(), nullptr, 0, nullptr, &available, nullptr)) return RunOutcome::kCompleted;
      if (available == 0) {
        Pause(std::min(MillisecondsLeft(), kPipePollStep));
      } else if (const auto step = ReadChunk(available)) {
        return *step;
      }
    }
  }

  // Waits for the given time, or less if the cancel signal comes first.
  void Pause(DWORD milliseconds) const {
    if (limits_.cancel == nullptr) {
      Sleep(milliseconds);
    } else {
      limits_.cancel->WaitFor(std::chrono::milliseconds(milliseconds));
    }
  }

  // One read of at most 255 bytes, never more than the pipe holds, so it does not block; an
  // outcome once the output has ended or grown too large.
  std::optional<RunOutcome> ReadChunk(DWORD available) {
    char chunk[kChunkSize];
    DWORD count = 0;
    const DWORD wanted = std::min<DWORD>(available, kChunkSize);
    if (!ReadFile(child_.output.Get(), chunk, wanted, &count, nullptr) || count == 0) return RunOutcome::kCompleted;
    AppendChunk(result_.output, chunk, count, command_.keep_nul_bytes);
    if (result_.output.size() > limits_.output_limit) return RunOutcome::kOutputTooLarge;
    return std::nullopt;
  }

  // The child may have closed its output and still run: the deadline and the cancel signal
  // hold until it ends.
  RunOutcome WaitForExit() {
    const HANDLE waits[2] = {child_.process.Get(), limits_.cancel ? limits_.cancel->Event() : nullptr};
    const DWORD count = limits_.cancel ? 2 : 1;
    DWORD woke = WAIT_TIMEOUT;
    do {
      woke = WaitForMultipleObjects(count, waits, FALSE, MillisecondsLeft());
    } while (woke == WAIT_TIMEOUT && MillisecondsLeft() > 0);
    if (woke == WAIT_OBJECT_0) return RunOutcome::kCompleted;
    return woke == WAIT_OBJECT_0 + 1 ? RunOutcome::kCancelled : RunOutcome::kTimedOut;
  }

  void TakeExitCode() {
    DWORD exit_code = 0;
    GetExitCodeProcess(child_.process.Get(), &exit_code);
    result_.exit_code = exit_code;
  }

  // Everything in the job goes at once; the child also when the job could not take it.
  void EndProcessTree() {
    TerminateJobObject(child_.job.Get(), 1);
    TerminateProcess(child_.process.Get(), 1);
    WaitForSingleObject(child_.process.Get(), kEndWait);
    result_.exit_code = 0;
  }

  // Closing the job when the run is over ends whatever the child left running.
  JobChild child_;
  const ConsoleCommand& command_;
  const RunLimits& limits_;
  Clock::time_point deadline_;
  RunResult result_;
};

}  // namespace

RunResult RunCommand(const ConsoleCommand& command, const rtl::Text& working_directory, const RunLimits& limits) {
  auto child = StartJobChild(command, working_directory);
  if (!child) return {RunOutcome::kNotStarted, {}, 0};
  return JobRun(std::move(*child), command, limits).Run();
}

#else

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kGraceBeforeKill = std::chrono::seconds(1);
// No command is given longer; a larger limit would overflow the clock's arithmetic.
constexpr auto kLongestTimeLimit = std::chrono::hours(24 * 365);
constexpr auto kExitPollStep = std::chrono::milliseconds(5);

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<std::int64_t>(left, 0, 1 << 30));
}

// One started child and what its run has come to.
class ChildRun {
 public:
  ChildRun(StartedChild child, const ConsoleCommand& command, const RunLimits& limits)
      : child_(std::move(child)),
        command_(command),
        limits_(limits),
        deadline_(Clock::now() + std::min<std::chrono::milliseconds>(limits.time_limit, kLongestTimeLimit)) {}

  RunResult Run() {
    result_.outcome = ReadOutput();
    child_.output.Reset();
    if (result_.outcome == RunOutcome::kCompleted) result_.outcome = WaitForExit();
    if (result_.outcome != RunOutcome::kCompleted) EndProcessTree();
    return std::move(result_);
  }

 private:
  int CancelDescriptor() const { return limits_.cancel ? limits_.cancel->ReadableWhenCancelled() : -1; }

  // Reads until every writer has closed the pipe, or until something ends the run early.
  RunOutcome ReadOutput() {
    for (;;) {
      pollfd watch[2] = {{child_.output.Get(), POLLIN, 0}, {CancelDescriptor(), POLLIN, 0}};
      const int ready = poll(watch, limits_.cancel ? 2 : 1, MillisecondsLeft(deadline_));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) return RunOutcome::kCompleted;  // an unusable pipe ends the output like a closed one
      if (limits_.cancel && watch[1].revents != 0) return KeepWhatArrived(RunOutcome::kCancelled);
      if (ready == 0) {
        if (Clock::now() >= deadline_) return KeepWhatArrived(RunOutcome::kTimedOut);
        continue;
      }
      const auto step = ReadChunk();
      if (step) return *step;
    }
  }

  // A run that ends early keeps what the child printed before: the pipe is read for as long
  // as it holds data already.
  RunOutcome KeepWhatArrived(RunOutcome outcome) {
    pollfd watch{child_.output.Get(), POLLIN, 0};
    while (poll(&watch, 1, 0) > 0 && (watch.revents & POLLIN) != 0) {
      const auto step = ReadChunk();
      if (step == RunOutcome::kOutputTooLarge) return *step;
      if (step) break;
    }
    return outcome;
  }

  // One read of at most 255 bytes; an outcome once the output has ended or grown too large.
  std::optional<RunOutcome> ReadChunk() {
    char chunk[kChunkSize];
    const ssize_t count = read(child_.output.Get(), chunk, kChunkSize);
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
  auto child = StartChild(
      {command.arguments, working_directory, command.merge_standard_error, command.extra_environment, true});
  if (!child) return {RunOutcome::kNotStarted, {}, 0};
  return ChildRun(std::move(*child), command, limits).Run();
}

#endif

}  // namespace platform
