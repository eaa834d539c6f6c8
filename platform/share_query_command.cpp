#include "platform/share_query_command.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {
namespace {

// Set by tests; empty means netshare beside the running executable.
std::string share_query_program;

std::string DefaultShareQueryProgram() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "netshare";
  return (executable.parent_path() / "netshare").string();
}

bool HasControlCharacter(const rtl::Text& name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32 || c == '\x7F') return true;
  }
  return false;
}

}  // namespace

std::optional<rtl::Text> ShareNameFault(const rtl::Text& share_name) {
  std::string reason;
  if (share_name.find('=') != rtl::Text::npos) {
    reason = "в имени общего ресурса не бывает знака \"=\"";
  } else if (!share_name.empty() && share_name.front() == '/') {
    reason = "имя общего ресурса не начинается с \"/\"";
  } else if (HasControlCharacter(share_name)) {
    reason = "в имени общего ресурса не бывает управляющих символов";
  } else if (share_name.size() > kLongestShareName) {
    reason = "имя общего ресурса длиннее " + std::to_string(kLongestShareName) + " символов";
  } else {
    return std::nullopt;
  }
  return rtl::Windows1251FromUtf8("Недопустимое имя общего ресурса \"") + share_name + "\": " +
         rtl::Windows1251FromUtf8(reason);
}

#ifdef _WIN32
namespace {

// The name as one argument of a command line: in double quotes, any double quote dropped
// (a share name cannot hold one), and a run of backslashes before the closing quote doubled
// so that it does not escape that quote.
rtl::Text QuotedArgument(const rtl::Text& name) {
  rtl::Text quoted = "\"";
  for (const char c : name) {
    if (c != '"') quoted += c;
  }
  quoted.append(quoted.size() - 1 - quoted.find_last_not_of('\\'), '\\');
  return quoted + '"';
}

// net.exe of the system directory. Windows always knows that directory; were it unknown,
// the path stays empty and CreateProcess searches for "net" as it would for cmd.
rtl::Text SystemNetProgram() {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return rtl::Text(directory, length) + "\\net.exe";
}

}  // namespace
#endif

ConsoleCommand ShareQueryCommand(const rtl::Text& share_name) {
#ifdef _WIN32
  // Started directly: no command interpreter sees the name, so "%", "^", "&" and "|" in it
  // reach net as they are.
  ConsoleCommand command("net share " + QuotedArgument(share_name), {});
  command.program_path = SystemNetProgram();
  return command;
#else
  return {"netshare " + share_name, {ShareQueryProgram(), rtl::Utf8FromWindows1251(share_name)}};
#endif
}

rtl::Text ShareQueryDirectory() {
#ifdef _WIN32
  return "c:\\";
#else
  return "/";
#endif
}

void SetShareQueryProgram(const std::string& program_path) { share_query_program = program_path; }

const std::string& ShareQueryProgram() {
  static const std::string default_program = DefaultShareQueryProgram();
  return share_query_program.empty() ? default_program : share_query_program;
}

}  // namespace platform
