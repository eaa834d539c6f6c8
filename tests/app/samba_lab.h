// What the end-to-end tests against a real Samba server share: the lab script
// (tests/app/samba_lab.sh) and running programs, also as another user with standard error
// kept apart.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/console_command.h"
#include "tests/support/http_client.h"

namespace samba_lab {

inline std::string BuildDir() { return std::getenv("SHAREMON_BUILD_DIR"); }
inline std::string SourceDir() { return std::getenv("SHAREMON_SOURCE_DIR"); }
inline std::string LabScript() { return SourceDir() + "/tests/app/samba_lab.sh"; }

// A port on 127.0.0.1 nobody listens on right now.
inline int FreePort() { return FreeLocalPort(); }

inline platform::ConsoleResult RunProgram(std::vector<std::string> arguments) {
  using namespace std::chrono_literals;
  return platform::RunConsoleCommand({arguments[0], std::move(arguments)}, "/", 60s);
}

inline bool HasProgram(const std::string& name) {
  return RunProgram({"sh", "-c", "command -v " + name + " >/dev/null"}).exit_code == 0;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

struct ProgramRun {
  std::uint32_t exit_code = 0;
  std::string output;  // standard output only
  std::string errors;  // standard error
};

// Runs arguments with standard error going to errors_file, then reads that file.
inline ProgramRun RunKeepingErrors(const std::vector<std::string>& arguments, const std::string& errors_file) {
  std::vector<std::string> shell{"sh", "-c", "errors=$1; shift; exec \"$@\" 2>\"$errors\"", "sh", errors_file};
  shell.insert(shell.end(), arguments.begin(), arguments.end());
  const auto run = RunProgram(shell);
  return {run.exit_code, run.output, ReadFile(errors_file)};
}

// The prefix that runs a program as user (primary group group) with the user's supplementary
// groups from the group database.
inline std::vector<std::string> AsUser(const std::string& user, const std::string& group) {
  return {"setpriv", "--reuid=" + user, "--regid=" + group, "--init-groups"};
}

// The same for a user with no groups but its own, here "nobody".
inline std::vector<std::string> AsOutsider() {
  return {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

inline std::vector<std::string> Joined(std::vector<std::string> prefix, const std::vector<std::string>& command) {
  prefix.insert(prefix.end(), command.begin(), command.end());
  return prefix;
}

}  // namespace samba_lab
