#include "rtl/console_text.h"

#include <array>

namespace rtl {
namespace {

// Code points of the bytes 0xB0..0xDF (box drawing and blocks) and 0xF0..0xFF; 0x80..0xAF
// are U+0410..U+043F and 0xE0..0xEF U+0440..U+044F.
constexpr std::array<char16_t, 48> kBoxDrawing = {
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
};
constexpr std::array<char16_t, 16> kTail = {
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

char CodePage866FromUnicode(char32_t code_point) {
  if (code_point < 0x80) return static_cast<char>(code_point);
  if (code_point >= 0x0410 && code_point <= 0x043F) return static_cast<char>(0x80 + (code_point - 0x0410));
  if (code_point >= 0x0440 && code_point <= 0x044F) return static_cast<char>(0xE0 + (code_point - 0x0440));
  for (std::size_t i = 0; i < kBoxDrawing.size(); ++i) {
    if (kBoxDrawing[i] == code_point) return static_cast<char>(0xB0 + i);
  }
  for (std::size_t i = 0; i < kTail.size(); ++i) {
    if (kTail[i] == code_point) return static_cast<char>(0xF0 + i);
  }
  return '?';
}

char ConvertConsoleByte(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0xAF) return static_cast<char>(byte + 0x40);
  if (byte >= 0xE0 && byte <= 0xEF) return static_cast<char>(byte + 0x10);
  if (byte == 0xF0) return static_cast<char>(0xA8);
  if (byte == 0xF1) return static_cast<char>(0xB8);
  return static_cast<char>(byte);
}

}  // namespace

Text ConvertConsoleText(std::string_view console_text) {
  Text result(console_text);
  for (auto& c : result) c = ConvertConsoleByte(static_cast<unsigned char>(c));
  return result;
}

char32_t UnicodeFromCodePage866(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte <= 0xAF) return 0x0410 + (byte - 0x80);
  if (byte <= 0xDF) return kBoxDrawing[byte - 0xB0];
  if (byte <= 0xEF) return 0x0440 + (byte - 0xE0);
  return kTail[byte - 0xF0];
}

std::string ConsoleTextFromWindows1251(std::string_view text) {
  std::string result(text);
  for (auto& c : result) c = CodePage866FromUnicode(UnicodeFromWindows1251(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace rtl
