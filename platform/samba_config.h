// Linux only: what the local Samba server is configured to share, read through its own
// tools ("testparm -s", "net usershare list"), so includes and registry shares count.
#pragma once
#ifndef _WIN32

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// How long one Samba tool may run before it counts as hung and is ended with everything it
// started.
inline constexpr std::chrono::milliseconds kToolTimeLimit{10000};

// One service of the configuration; texts in UTF-8 as Samba prints them.
struct SambaShare {
  std::string name;
  std::string path;
  std::string comment;
};

// The configuration file: SHAREMON_SMB_CONF when set and not empty, else "" (Samba's default).
std::string SambaConfigFile();

// The services of "testparm -s" output in their order, "[global]" left out (in any case).
std::vector<SambaShare> ParseTestparmOutput(std::string_view output);

// The names of "net usershare list" output, one per non-empty line.
std::vector<std::string> ParseUsershareList(std::string_view output);

// The configuration's services, then the user-defined shares not already among them, then
// "IPC$". Nothing when the configuration cannot be read (no Samba, bad file, or testparm
// still running after tool_time_limit). Each tool may run for tool_time_limit; the two run
// side by side. Throws std::system_error when no thread can be started for that.
std::optional<std::vector<SambaShare>> ReadSambaShares(
    std::chrono::milliseconds tool_time_limit = kToolTimeLimit);

// The share whose name equals name ignoring the case of Latin and Cyrillic letters, as Samba
// matches share names.
const SambaShare* FindSambaShare(const std::vector<SambaShare>& shares, std::string_view name);

}  // namespace platform

#endif
