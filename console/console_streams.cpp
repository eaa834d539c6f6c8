#include "console/console_streams.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "console/system_text.h"

namespace console {
namespace {

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

}  // namespace

void Write(Stream stream, std::string_view utf8) {
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

int Emit(const core::FaceOutput& output) {
  Write(Stream::kOut, output.out);
  Write(Stream::kError, output.error);
  return output.exit_code;
}

}  // namespace console
