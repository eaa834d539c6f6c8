#include "app/user_probe.h"

#include <cstdio>

#include "app/list_box.h"
#include "platform/share_query_command.h"
#include "rtl/console_text.h"

namespace {

// 1-based position of the first occurrence, 0 when absent.
long long Position(const rtl::Text& text, const rtl::Text& word) {
  const auto found = text.find(word);
  return found == rtl::Text::npos ? 0 : static_cast<long long>(found) + 1;
}

// The runtime's substring: a start below 1 counts as 1 without shortening the length; a
// start past the end or a length of 0 or less gives "".
rtl::Text Substring(const rtl::Text& text, long long start, long long length) {
  if (start < 1) start = 1;
  if (length <= 0 || start > static_cast<long long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

}  // namespace

rtl::Text CutUsersSection(const rtl::Text& report) {
  const long long users = Position(report, rtl::Windows1251FromUtf8("Пользователи"));
  const long long caching = Position(report, rtl::Windows1251FromUtf8("Кэширование"));
  return Substring(report, users + 29, caching - users - 35);
}

rtl::Text QueryShareUsers(const rtl::Text& share_name, std::chrono::milliseconds time_limit) {
  const auto result =
      platform::RunConsoleCommand(platform::ShareQueryCommand(share_name), platform::ShareQueryDirectory(), time_limit);
  return CutUsersSection(rtl::ConvertConsoleText(result.output));
}

std::vector<rtl::Text> UserTokens(const rtl::Text& section) {
  std::vector<rtl::Text> tokens;
  rtl::Text token;
  for (const char c : section) {
    if (c != ' ') {
      token += c;
      continue;
    }
    if (token.size() > 5) tokens.push_back(token);
    token.clear();
  }
  return tokens;
}

std::int32_t CountUserTokens(const rtl::Text& section, rtl::StringList& accumulated_users) {
  if (section.empty()) return 0;
  const auto tokens = UserTokens(section);
  for (const auto& token : tokens) accumulated_users.Add(token);
  return static_cast<std::int32_t>(tokens.size());
}

std::int32_t CountUserTokens(const rtl::Text& section, TListBox& users_view, rtl::StringList& accumulated_users) {
  users_view.ClearEntries();
  return CountUserTokens(section, accumulated_users);
}

void ShowShareUsers(const rtl::Text& share_name, TListBox& users_view, rtl::StringList& accumulated_users) {
  CountUserTokens(QueryShareUsers(share_name), users_view, accumulated_users);
  for (const auto& name : accumulated_users) users_view.AddEntry(name);
  accumulated_users = rtl::StringList();
}

int RunProbe(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sharemon --probe NAME\n");
    return 2;
  }
  rtl::StringList accumulated_users;
  try {
    const std::int32_t count = CountUserTokens(QueryShareUsers(rtl::Windows1251FromUtf8(argv[2])), accumulated_users);
    rtl::Text names;
    for (const auto& name : accumulated_users) names += (names.empty() ? "" : " ") + name;
    std::printf("%d\t%s\n", count, rtl::Utf8FromWindows1251(names).c_str());
    return 0;
  } catch (const rtl::Exception& error) {
    std::fprintf(stderr, "%s\n", rtl::Utf8FromWindows1251(error.what()).c_str());
    return 1;
  }
}
