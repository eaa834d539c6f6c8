#include "rtl/text.h"

#include <array>
#include <cstdint>

namespace rtl {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kUpperControlAndSymbols = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

}  // namespace

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code_point) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    code_point = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code_point = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code_point = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code_point = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return 0;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  // Overlong forms and surrogates are not characters.
  if (code_point < minimum || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) return 0;
  return length;
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

char32_t UnicodeFromWindows1251(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kUpperControlAndSymbols[byte - 0x80];
}

char Windows1251FromUnicode(char32_t code_point) {
  if (code_point < 0x80) return static_cast<char>(code_point);
  if (code_point >= 0x0410 && code_point <= 0x044F) return static_cast<char>(0xC0 + (code_point - 0x0410));
  for (std::size_t i = 0; i < kUpperControlAndSymbols.size(); ++i) {
    if (kUpperControlAndSymbols[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

std::string Utf8FromWindows1251(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char byte : text) AppendUtf8(out, UnicodeFromWindows1251(static_cast<unsigned char>(byte)));
  return out;
}

Text Windows1251FromUtf8(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t code_point = 0;
    const std::size_t length = DecodeUtf8(utf8, pos, code_point);
    if (length == 0) {
      out += '?';
      ++pos;
    } else {
      out += Windows1251FromUnicode(code_point);
      pos += length;
    }
  }
  return out;
}

// The Cyrillic capitals lie 0x20 below their small letters, Ё (0xA8) 0x10 below ё.
char LowerCase(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDF)) return static_cast<char>(byte + 0x20);
  return byte == 0xA8 ? static_cast<char>(0xB8) : c;
}

Text LowerCase(Text text) {
  for (char& c : text) c = LowerCase(c);
  return text;
}

}  // namespace rtl
