// The share user probe and the users view: runs the share query command for one share,
// converts its report from the console code page, cuts out the users section between
// "Пользователи" and "Кэширование" and counts the user names in it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/console_command.h"
#include "rtl/string_list.h"
#include "rtl/text.h"

class TListBox;

// The users section: the text from 29 characters after the start of "Пользователи" up to,
// not including, the 6 characters before "Кэширование" (positions from 1, 0 = not found;
// a start below 1 counts as 1, a length of 0 or less gives "", a length past the end stops
// there). Input and result in Windows-1251.
rtl::Text CutUsersSection(const rtl::Text& report);

// Runs ShareQueryCommand(share_name), waiting at most time_limit, converts the output from
// code page 866 and returns CutUsersSection of it; the exit code is ignored.
// Throws platform::ConsoleCommandError when the command cannot be started or is ended for
// running past the time limit (the text names the command line).
rtl::Text QueryShareUsers(const rtl::Text& share_name,
                          std::chrono::milliseconds time_limit = platform::kConsoleCommandTimeLimit);

// The names the count takes: every run of non-space characters (tabs and line breaks are
// part of a name) of 6 or more characters that a space ends; a run still open at the end
// of the section is discarded.
std::vector<rtl::Text> UserTokens(const rtl::Text& section);

// Appends the counted names (UserTokens) in order to accumulated_users (AccumulatedUsers,
// duplicates kept) and returns their number.
std::int32_t CountUserTokens(const rtl::Text& section, rtl::StringList& accumulated_users);

// The probe's count as the window runs it: empties users_view (ListBox3) first, then as
// above. An empty section returns 0 after only emptying the view.
std::int32_t CountUserTokens(const rtl::Text& section, TListBox& users_view,
                             rtl::StringList& accumulated_users);

// The users view command (N5Click) once the page is shown and the share is known: probes
// the share, then moves every accumulated name into users_view in order and leaves
// accumulated_users empty. Throws like QueryShareUsers (the view then stays empty).
void ShowShareUsers(const rtl::Text& share_name, TListBox& users_view,
                    rtl::StringList& accumulated_users);

// "sharemon --probe NAME": probes the share NAME (UTF-8) and prints the count, a tab and the
// counted names separated by single spaces (UTF-8); exit code 0. When the command cannot be
// started it prints the error text to standard error and returns 1; without NAME, 2.
// Needs no display.
int RunProbe(int argc, char* argv[]);
