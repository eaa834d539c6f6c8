#ifndef _WIN32
#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/console_command.h"

extern char** environ;

namespace platform {
namespace {

// Our environment with the extra entries added, each replacing an entry of the same name.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view current(*entry);
    const auto name_end = current.find('=');
    bool replaced = false;
    for (const auto& added : extra) {
      replaced = replaced || (name_end != std::string_view::npos &&
                              added.compare(0, name_end + 1, current.substr(0, name_end + 1)) == 0);
    }
    if (!replaced) result.emplace_back(current);
  }
  result.insert(result.end(), extra.begin(), extra.end());
  return result;
}

std::vector<char*> PointerArray(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Both ends are close-on-exec, so no other child inherits them; dup2 in the child clears
// the flag on the copies that become its standard output and error.
bool PrepareActions(posix_spawn_file_actions_t& actions, const ChildStart& start, const int pipe_ends[2]) {
  bool ok = posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO) == 0;
  if (start.merge_standard_error) {
    ok = ok && posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO) == 0;
  } else {
    ok = ok && posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0;
  }
  if (!start.working_directory.empty()) {
    ok = ok && posix_spawn_file_actions_addchdir_np(&actions, start.working_directory.c_str()) == 0;
  }
  return ok;
}

// A clean signal state for the child: nothing blocked, and the signals that end a command
// at their default actions, even where this program catches or ignores them.
bool PrepareAttributes(posix_spawnattr_t& attributes, const ChildStart& start) {
  sigset_t none;
  sigset_t defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (const int signal_number : {SIGTERM, SIGINT, SIGPIPE}) sigaddset(&defaults, signal_number);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  if (start.own_process_group) flags |= POSIX_SPAWN_SETPGROUP;
  return posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
         posix_spawnattr_setsigdefault(&attributes, &defaults) == 0 &&
         posix_spawnattr_setpgroup(&attributes, 0) == 0 && posix_spawnattr_setflags(&attributes, flags) == 0;
}

std::optional<pid_t> Spawn(const ChildStart& start, const int pipe_ends[2]) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  std::vector<std::string> arguments = start.arguments;
  std::vector<std::string> environment = ChildEnvironment(start.extra_environment);
  auto argument_pointers = PointerArray(arguments);
  auto environment_pointers = PointerArray(environment);
  pid_t pid = -1;
  const bool started = PrepareActions(actions, start, pipe_ends) && PrepareAttributes(attributes, start) &&
                       posix_spawnp(&pid, argument_pointers[0], &actions, &attributes, argument_pointers.data(),
                                    environment_pointers.data()) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return started ? std::optional<pid_t>(pid) : std::nullopt;
}

}  // namespace

std::optional<StartedChild> StartChild(const ChildStart& start) {
  if (start.arguments.empty()) return std::nullopt;
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) return std::nullopt;
  Descriptor read_end(pipe_ends[0]);
  Descriptor write_end(pipe_ends[1]);
  const auto pid = Spawn(start, pipe_ends);
  // Our copy of the write end goes whether or not the start succeeded, so that the read end
  // sees the end of the output once the child is gone.
  write_end.Reset();
  if (!pid) return std::nullopt;
  return StartedChild{*pid, std::move(read_end)};
}

int WaitForChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

CapturedOutput CaptureToolOutput(const std::vector<std::string>& arguments, std::chrono::milliseconds time_limit) {
  ConsoleCommand command(arguments.empty() ? "" : arguments[0], arguments);
  command.merge_standard_error = false;
  command.extra_environment = {"LC_ALL=C.UTF-8"};
  command.keep_nul_bytes = true;
  const RunResult run = RunCommand(command, "", {time_limit, kConsoleOutputLimit, nullptr});
  if (run.outcome != RunOutcome::kCompleted) return {run.outcome, 0, ""};
  return {run.outcome, static_cast<int>(run.exit_code), run.output};
}

}  // namespace platform
#endif
