// Standard output and standard error for the program's own texts: UTF-8 with "\n" line ends.
// On Linux the bytes go out as they are. On Windows a stream attached to a console gets wide
// characters (WriteConsoleW), so every character shows as it is whatever the console's code
// page; redirected to a file or a pipe, it gets UTF-8 bytes; either way each "\n" goes out as
// CR LF, the line end of Windows text. A stream that is missing, closed or full drops what it
// cannot take; the program goes on.
#pragma once

#include <string_view>

namespace platform {

enum class Stream { kOut, kError };

// Writes the text to the stream; standard output is flushed.
void Write(Stream stream, std::string_view utf8);

// The one writer of log and error lines: the line and its "\n" go to standard error in a single
// write, so that the lines of several threads, or of processes sharing the stream, stay whole.
void WriteErrorLine(std::string_view utf8_line);

}  // namespace platform
