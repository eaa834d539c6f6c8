// Colours of the chart engine: the window framework's 32-bit colour value.
// 0x00BBGGRR is an RGB colour (red in the low byte); 0xFF0000nn is system colour nn,
// resolved to RGB only when it reaches the device.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clDefault = 0x20000000;  // no colour of its own; each user states its default
inline constexpr TColor clNone = 0x1FFFFFFF;     // a blank point
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor clBtnShadow = 0xFF000010;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0xFF000000u; }
constexpr std::uint8_t RedOf(TColor color) { return color & 0xFF; }
constexpr std::uint8_t GreenOf(TColor color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(TColor color) { return (color >> 16) & 0xFF; }
constexpr TColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
