#ifndef _WIN32
#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

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

using ToolClock = std::chrono::steady_clock;

int MillisecondsLeft(ToolClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - ToolClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reads until every writer has closed the pipe; false when the deadline came first.
bool ReadAllUntil(int output, ToolClock::time_point deadline, std::string& text) {
  char buffer[4096];
  for (;;) {
    pollfd watch{output, POLLIN, 0};
    const int ready = poll(&watch, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return false;
    const ssize_t count = read(output, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return true;  // an unusable pipe ends the output like a closed one
    text.append(buffer, static_cast<std::size_t>(count));
  }
}

// The exit status once the child has ended, or nothing when the deadline comes first.
// Polls, because a child may close its output and still keep running.
std::optional<int> WaitForChildUntil(pid_t pid, ToolClock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    if (done < 0 && errno != EINTR) return -1;
    if (ToolClock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

std::optional<StartedChild> StartChild(const ChildStart& start) {
  if (start.arguments.empty()) return std::nullopt;
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (start.own_process_group) {
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
  }
  std::vector<std::string> arguments = start.arguments;
  std::vector<std::string> environment = ChildEnvironment(start.extra_environment);
  auto argument_pointers = PointerArray(arguments);
  auto environment_pointers = PointerArray(environment);
  pid_t pid = -1;
  const bool started = PrepareActions(actions, start, pipe_ends) &&
                       posix_spawnp(&pid, argument_pointers[0], &actions, &attributes, argument_pointers.data(),
                                    environment_pointers.data()) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  // Our copy of the write end goes whether or not the start succeeded, so that the read end
  // sees the end of the output once the child is gone.
  close(pipe_ends[1]);
  if (!started) {
    close(pipe_ends[0]);
    return std::nullopt;
  }
  return StartedChild{pid, pipe_ends[0]};
}

int WaitForChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

std::optional<CapturedOutput> CaptureToolOutput(const std::vector<std::string>& arguments,
                                                std::chrono::milliseconds time_limit) {
  const auto deadline = ToolClock::now() + time_limit;
  const auto child = StartChild({arguments, "", false, {"LC_ALL=C.UTF-8"}, true});
  if (!child) return std::nullopt;
  CapturedOutput result;
  const bool output_ended = ReadAllUntil(child->output, deadline, result.output);
  close(child->output);
  const auto exit_code = output_ended ? WaitForChildUntil(child->pid, deadline) : std::nullopt;
  if (!exit_code) {
    // The whole group goes, so a tool's own helpers cannot keep running or holding the pipe.
    kill(-child->pid, SIGKILL);
    WaitForChild(child->pid);
    return std::nullopt;
  }
  result.exit_code = *exit_code;
  return result;
}

}  // namespace platform
#endif
