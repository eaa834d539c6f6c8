#include "platform/standard_streams.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "platform/system_text.h"
#else
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#endif

#include <string>

namespace platform {
namespace {

#ifdef _WIN32

// Wide characters per console write: older consoles refuse a single write of much more.
constexpr std::size_t kConsoleChunk = 8192;

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

void WriteToConsole(HANDLE console, std::wstring_view text) {
  while (!text.empty()) {
    std::size_t count = std::min(text.size(), kConsoleChunk);
    // A surrogate pair stays in one write.
    if (count < text.size() && IsHighSurrogate(text[count - 1])) --count;
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(count), &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
}

void WriteBytes(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) return;
    bytes.remove_prefix(written);
  }
}

void WriteText(Stream stream, std::string_view utf8) {
  const HANDLE handle = GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || utf8.empty()) return;
  const std::string text = WithCrLf(utf8);
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteToConsole(handle, WideFromUtf8(text));
  } else {
    WriteBytes(handle, text);
  }
}

#else

// Standard error unbuffered, past stdio, so that a line is one write(2) however long it is.
void WriteToStandardError(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(STDERR_FILENO, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Standard output through stdio, which the program's other output (help, version) uses too.
void WriteText(Stream stream, std::string_view utf8) {
  if (stream == Stream::kError) return WriteToStandardError(utf8);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

#endif

}  // namespace

void Write(Stream stream, std::string_view utf8) { WriteText(stream, utf8); }

void WriteErrorLine(std::string_view utf8_line) {
  std::string line;
  line.reserve(utf8_line.size() + 1);
  line.append(utf8_line).push_back('\n');
  WriteText(Stream::kError, line);
}

}  // namespace platform
