// A program under test ("sharemon --poll", a server) started as a real process, its standard
// output and standard error going to files the test reads; killed if still running at the end.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temporary_directory.h"

// The build tree whose programs the tests start (SHAREMON_BUILD_DIR, set for every test).
inline std::string BuildDir() { return std::getenv("SHAREMON_BUILD_DIR"); }

extern char** environ;

// A program under test, started with its output going to files.
class TestProcess {
 public:
  // Starts `program` with "--poll" and the arguments (or, with `face` given, that face), with
  // the extra "NAME=value" environment entries, its output in `directory`.
  TestProcess(const std::string& program, std::vector<std::string> arguments, std::vector<std::string> environment,
              const std::filesystem::path& directory, const std::string& face = "--poll")
      : out_(directory / "stdout.txt"), err_(directory / "stderr.txt") {
    arguments.insert(arguments.begin(), program);
    if (!face.empty()) arguments.insert(arguments.begin() + 1, face);
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (char** variable = environ; *variable != nullptr; ++variable) environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    started_ = posix_spawn(&pid_, program.c_str(), &files, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&files);
  }
  ~TestProcess() {
    if (running()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  bool running() const { return started_ && !status_; }
  std::string Out() const { return TemporaryDirectory::ReadBytes(out_); }
  std::string Err() const { return TemporaryDirectory::ReadBytes(err_); }

  // The wait status once the process ended within `within`; -1 when it did not.
  int Wait(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (running()) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_.value_or(-1);
  }

  // Waits until standard error holds `count` lines containing `part`.
  bool WaitForLog(const std::string& part, int count, std::chrono::milliseconds within = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
      if (Count(Err(), part) >= count) return true;
      if (Wait(std::chrono::milliseconds(0)) != -1) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  static int Count(const std::string& text, const std::string& part) {
    int found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  }

  // The port the log names for the metrics.
  int MetricsPort() {
    if (!WaitForLog("/metrics", 1)) return 0;
    std::smatch match;
    const std::string err = Err();
    return std::regex_search(err, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/metrics)")) ? std::stoi(match[1]) : 0;
  }

  pid_t Pid() const { return pid_; }

 private:
  std::filesystem::path out_, err_;
  pid_t pid_ = 0;
  bool started_ = false;
  std::optional<int> status_;
};

