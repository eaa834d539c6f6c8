// What every device shares: plain frames, colour resolution and the classic system colours.
#include "chart/chart_device.h"

#include <array>

TBitmap TChartDevice::CreateFrame(int width, int height) { return TBitmap(width, height, kRgbWhite); }

TRgb ColorToRGB(TColor color, const TChartDevice& device, TColor fallback) {
  if (color == clDefault) color = fallback;
  if (IsSystemColor(color)) return device.SystemColor(int(color & 0xFF));
  return MakeRgb(RedOf(color), GreenOf(color), BlueOf(color));
}

TRgb ClassicSystemColor(int index) {
  // In the platform's order of system colour indices.
  static constexpr std::array<TRgb, 31> kClassic{{
      0xFFD4D0C8,  // scroll bar
      0xFF3A6EA5,  // desktop
      0xFF0A246A,  // active caption
      0xFF808080,  // inactive caption
      0xFFD4D0C8,  // menu
      0xFFFFFFFF,  // window
      0xFF000000,  // window frame
      0xFF000000,  // menu text
      0xFF000000,  // window text
      0xFFFFFFFF,  // caption text
      0xFFD4D0C8,  // active border
      0xFFD4D0C8,  // inactive border
      0xFF808080,  // application workspace
      0xFF0A246A,  // highlight
      0xFFFFFFFF,  // highlighted text
      0xFFD4D0C8,  // button face
      0xFF808080,  // button shadow
      0xFF808080,  // grey text
      0xFF000000,  // button text
      0xFFD4D0C8,  // inactive caption text
      0xFFFFFFFF,  // button highlight
      0xFF404040,  // 3D dark shadow
      0xFFD4D0C8,  // 3D light
      0xFF000000,  // tool tip text
      0xFFFFFFE1,  // tool tip background
      0xFF000000,  // (unused)
      0xFF000080,  // hot light
      0xFFA6CAF0,  // gradient active caption
      0xFFC0C0C0,  // gradient inactive caption
      0xFF316AC5,  // menu highlight
      0xFFD4D0C8,  // menu bar
  }};
  if (index < 0 || index >= int(kClassic.size())) return kRgbBlack;
  return kClassic[std::size_t(index)];
}
