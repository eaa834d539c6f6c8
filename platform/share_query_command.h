// The share query command: what runs to report one share's users. Windows asks the system's
// own "net share"; Linux runs the netshare helper built beside the program (or the status
// service behind it). The report it prints is in the console code page (866).
#pragma once

#include <optional>
#include <string>

#include "platform/console_command.h"
#include "rtl/text.h"

namespace platform {

// The longest share name, in characters: Windows' own limit, and Samba's here too, since the
// Windows clients it serves know none longer.
inline constexpr std::size_t kLongestShareName = 80;

// Why `share_name` (Windows-1251) names no share, as the program says it to the user, or
// nothing when it may: a name holds no "=" (net share NAME=PATH creates a share), does not
// start with "/" (net share's switches: /delete, /users), holds no control character and has
// at most kLongestShareName characters. Only such a name may reach the command below.
std::optional<rtl::Text> ShareNameFault(const rtl::Text& share_name);

// The command for a share (name in Windows-1251, one ShareNameFault lets through). Windows: net.exe of the system directory,
// started directly with the command line "net share "NAME"" in "c:\", so that every
// character of the name reaches net as it is (any double quote is dropped from the name).
// Linux: the share query program with the name as its only argument, shown as
// "netshare " + name in errors.
ConsoleCommand ShareQueryCommand(const rtl::Text& share_name);

// The directory the share query command runs in: "c:\" on Windows, "/" on Linux.
rtl::Text ShareQueryDirectory();

// Test seam: the program run for a share on Linux (a UTF-8 path). An empty path restores
// the default, netshare beside the running executable.
void SetShareQueryProgram(const std::string& program_path);
const std::string& ShareQueryProgram();

}  // namespace platform
