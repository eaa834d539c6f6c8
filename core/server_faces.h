// The command-line faces "--sessions" and "--open-files [SHARE]", the same on Linux and
// Windows: a header line of the column captions and one tab-separated row per session or open
// file (UTF-8), exit code 0; a reading that failed (access denied, no service, any other
// failure) gives its reason and what to do on standard error, exit code 1. Every field is
// escaped (see kTabSeparatedEscaping), so each row is one line with one field per column
// whatever the names hold. The faces' command lines are read with the others' (program_faces.h).
#pragma once

#include <string>
#include <vector>

#include "core/command_faces.h"
#include "platform/server_sessions.h"
#include "rtl/text.h"

namespace core {

// The sentence of the program's help that states the escaping.
inline constexpr char kTabSeparatedEscaping[] =
    "In the rows of --sessions and --open-files a tab is written as \\t, a line feed as \\n, a\n"
    "carriage return as \\r, a backslash as \\\\ and any other control character as \\xHH (its code\n"
    "in two hexadecimal digits), so that each row is one line with one field per column.\n";

// The field as a row holds it: program text to UTF-8, escaped.
std::string EscapedField(const rtl::Text& text);
// The fields escaped, between them tabs, "\n" after the last.
std::string TabSeparatedLine(const std::vector<rtl::Text>& fields);

// What the faces print for a reading; a reading the server cut short also says so on standard
// error, with exit code 0.
FaceOutput SessionsOutput(const platform::SessionReading& reading);
FaceOutput OpenFilesOutput(const platform::OpenFileReading& reading);

}  // namespace core
