#ifndef _WIN32
#include "platform/samba_config.h"

#include <cstdlib>
#include <future>

#include "platform/child_process.h"
#include "rtl/text.h"

namespace platform {
namespace {

// Samba matches share names without regard to case, compared here in Windows-1251.
rtl::Text FoldedCase(std::string_view utf8) { return rtl::LowerCase(rtl::Windows1251FromUtf8(utf8)); }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const rtl::Text folded = FoldedCase(a);
  // Every character Windows-1251 cannot hold folds to "?": such names must match exactly.
  if (folded.find('?') != rtl::Text::npos) return a == b;
  return folded == FoldedCase(b);
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string_view TrimmedLeft(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// "\tpath = /srv/x" -> sets share.path; testparm prints one parameter per line this way.
void TakeParameter(std::string_view line, SambaShare& share) {
  line = TrimmedLeft(line);
  const auto equals = line.find(" = ");
  if (equals == std::string_view::npos) {
    // An empty value prints as "name = " with nothing after the blank.
    if (line.ends_with(" =")) line = line.substr(0, line.size() - 2);
    else return;
  }
  const std::string_view key = line.substr(0, equals == std::string_view::npos ? line.size() : equals);
  const std::string_view value = equals == std::string_view::npos ? "" : line.substr(equals + 3);
  if (key == "path") share.path = value;
  if (key == "comment") share.comment = value;
}

std::vector<std::string> WithConfigFile(std::vector<std::string> arguments, bool as_option) {
  const std::string file = SambaConfigFile();
  if (file.empty()) return arguments;
  if (as_option) arguments.insert(arguments.begin() + 1, {"-s", file});
  else arguments.push_back(file);
  return arguments;
}

}  // namespace

std::string SambaConfigFile() {
  const char* file = std::getenv("SHAREMON_SMB_CONF");
  return file != nullptr ? file : "";
}

std::vector<SambaShare> ParseTestparmOutput(std::string_view output) {
  std::vector<SambaShare> shares;
  bool in_global = false;
  for (const auto line : Lines(output)) {
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = line.substr(1, line.size() - 2);
      in_global = EqualIgnoringCase(name, "global");
      if (!in_global) shares.push_back({std::string(name), "", ""});
    } else if (!in_global && !shares.empty()) {
      TakeParameter(line, shares.back());
    }
  }
  return shares;
}

std::vector<std::string> ParseUsershareList(std::string_view output) {
  std::vector<std::string> names;
  for (const auto line : Lines(output)) {
    if (!line.empty()) names.emplace_back(line);
  }
  return names;
}

std::optional<std::vector<SambaShare>> ReadSambaShares(std::chrono::milliseconds tool_time_limit) {
  // Both tools take about as long as each other; side by side they take the time of one.
  auto user_shares_run = std::async(std::launch::async, [tool_time_limit] {
    return CaptureToolOutput(WithConfigFile({"net", "usershare", "list"}, true), tool_time_limit);
  });
  const auto configuration = CaptureToolOutput(WithConfigFile({"testparm", "-s"}, false), tool_time_limit);
  const auto user_shares = user_shares_run.get();
  if (!configuration.Succeeded()) return std::nullopt;
  auto shares = ParseTestparmOutput(configuration.output);
  // User-defined shares are optional: a server without them (or without their directory)
  // still has its configured shares.
  if (user_shares.Succeeded()) {
    for (const auto& name : ParseUsershareList(user_shares.output)) {
      if (FindSambaShare(shares, name) == nullptr) shares.push_back({name, "", ""});
    }
  }
  if (FindSambaShare(shares, "IPC$") == nullptr) shares.push_back({"IPC$", "", "IPC Service"});
  return shares;
}

const SambaShare* FindSambaShare(const std::vector<SambaShare>& shares, std::string_view name) {
  for (const auto& share : shares) {
    if (EqualIgnoringCase(share.name, name)) return &share;
  }
  return nullptr;
}

}  // namespace platform
#endif
