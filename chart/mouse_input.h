// Mouse button and modifier keys as the chart's click events and drags report them.
#pragma once

#include <cstdint>

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// A set of held keys and buttons; combine the flags with |.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;
inline constexpr TShiftState ssLeft = 8;
inline constexpr TShiftState ssRight = 16;
inline constexpr TShiftState ssMiddle = 32;
inline constexpr TShiftState ssDouble = 64;
