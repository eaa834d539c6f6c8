// The layout of a share report, as the system's share query command prints it and as the
// probe cuts it: both sides take their numbers from here. Labels start a line (the probe
// takes no label from inside a line, where a share's comment may hold the same words) and
// are padded to 29 characters, so the users begin 29 characters after the start of
// "Пользователи"; the users line ends with CR LF and two empty lines (6 characters) before
// "Кэширование". A user name counts once it holds 6 or more characters and a space ends it.
// Texts are UTF-8 here; the report itself is in code page 866, one byte per character.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::share_report {

// Width of a label column, the label included (characters).
inline constexpr std::size_t kLabelWidth = 29;
inline constexpr std::string_view kUsersLabel = "Пользователи";
inline constexpr std::string_view kCachingLabel = "Кэширование";
// What ends the users line: its own line end and two empty lines.
inline constexpr std::string_view kUsersSectionEnd = "\r\n\r\n\r\n";
// Characters between the users section's last character and "Кэширование".
inline constexpr std::size_t kCharactersBeforeCaching = kUsersSectionEnd.size();
// The shortest text that counts as a user name; shorter ones are not counted.
inline constexpr std::size_t kShortestUserName = 6;
// The first line of the report a user without the rights to see the connections gets.
inline constexpr std::string_view kAccessDeniedLine = "Системная ошибка 5.";

}  // namespace platform::share_report
