#include "platform/share_query_command.h"

#include <filesystem>

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

}  // namespace

ConsoleCommand ShareQueryCommand(const rtl::Text& share_name) {
#ifdef _WIN32
  // A share name cannot hold a double quote; dropping any keeps the name inside its quotes.
  rtl::Text quoted_name;
  for (const char c : share_name) {
    if (c != '"') quoted_name += c;
  }
  return {"cmd /c net share \"" + quoted_name + "\"", {}};
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
