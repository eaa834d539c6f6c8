// The framework's cursor numbers that charts and series store (16-bit, crDefault = 0). A
// chart window shows them as its platform's shapes; unknown numbers show the arrow.
#pragma once

#include <cstdint>

inline constexpr std::int16_t crDefault = 0;
inline constexpr std::int16_t crNone = -1;
inline constexpr std::int16_t crArrow = -2;
inline constexpr std::int16_t crCross = -3;
inline constexpr std::int16_t crIBeam = -4;
inline constexpr std::int16_t crSizeNS = -7;
inline constexpr std::int16_t crSizeWE = -9;
inline constexpr std::int16_t crUpArrow = -10;
inline constexpr std::int16_t crHourGlass = -11;
inline constexpr std::int16_t crNo = -18;
inline constexpr std::int16_t crHandPoint = -21;
inline constexpr std::int16_t crSizeAll = -22;
