// The console program's standard output and standard error. Attached to a console, a stream
// gets wide characters (WriteConsoleW), so every character shows as it is whatever the
// console's code page; redirected to a file or a pipe, it gets UTF-8 bytes. Either way each
// "\n" goes out as CR LF, the line end of Windows text. A stream that is missing, closed or
// full drops what it cannot take; the program goes on.
#pragma once

#include <string_view>

#include "core/command_faces.h"

namespace console {

enum class Stream { kOut, kError };

// Writes UTF-8 text (lines ending in "\n") to the stream.
void Write(Stream stream, std::string_view utf8);

// Writes a face's texts to standard output and standard error; returns its exit code.
int Emit(const core::FaceOutput& output);

}  // namespace console
