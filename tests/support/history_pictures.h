// The history chart's pictures as the golden tests of both systems see them: the table files
// they draw, and a picture's geometry as text (its size, the back wall's frame and the red
// line's pixels as runs per row, "y: x0-x1 x2-x3"). Glyph pixels are left out: they differ
// between font rasterizers, the layout and the line do not, so the Linux golden files of the
// geometry hold for the Windows build's pictures too. Toolkit-free.
#pragma once

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "chart/bitmap.h"
#include "chart/geometry.h"

namespace history_pictures {

// "Время" in Windows-1251, the first column of every table file.
inline const std::string kTimeColumn = "\xC2\xF0\xE5\xEC\xFF";

// Header "Время,docs", three polls on one day and two on the next (counts 3 7 2 5 4).
inline const std::string kTwoDays = kTimeColumn +
                                    ",docs\r\n08.12.2026 10:00:00,3\r\n08.12.2026 10:30:00,7\r\n"
                                    "08.12.2026 11:00:00,2\r\n09.12.2026 10:00:00,5\r\n09.12.2026 10:30:00,4\r\n";

// One row with the count 0.
inline const std::string kSingleZero = kTimeColumn + ",docs\r\n08.12.2026 10:00:00,0\r\n";

// The share "Документы" (Windows-1251) beside "docs", counts 1..6 over two days.
inline const std::string kCyrillicShare = kTimeColumn +
                                          ",docs,\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2\xFB\r\n"
                                          "08.12.2026 10:00:00,3,1\r\n08.12.2026 10:30:00,7,6\r\n"
                                          "08.12.2026 11:00:00,2,4\r\n09.12.2026 10:00:00,5,2\r\n";
// The share's name in UTF-8, as it is typed on a command line.
inline const std::string kCyrillicShareName = "Документы";

// Three days, a poll every 20 minutes, counts rising and falling between 0 and 40.
inline std::string ThreeDays() {
  std::string table = kTimeColumn + ",docs\r\n";
  for (int i = 0; i < 3 * 72; ++i) {
    const int minutes = i * 20;
    char row[40];
    std::snprintf(row, sizeof row, "%02d.12.2026 %d:%02d:00,%d\r\n", 7 + minutes / 1440, minutes % 1440 / 60,
                  minutes % 60, (i * 7) % 41);
    table += row;
  }
  return table;
}

// The colours compared without the top byte, which a decoded picture need not fill.
constexpr TRgb kRed = 0xFF0000;
inline bool IsRed(TRgb pixel) { return (pixel & 0xFFFFFF) == kRed; }
// A pixel of the frame, an axis line or a grid line drawn over them: black or grey.
inline bool IsLinePixel(TRgb pixel) { return (pixel & 0xFFFFFF) == 0 || (pixel & 0xFFFFFF) == 0x808080; }

// Going from the picture's centre in direction (dx, dy): the first row or column whose 101
// pixels around the centre line are all line pixels. Grid lines inside the plot area are
// dotted and never qualify; the frame, where grid lines and axis lines fall on it, does.
inline int EdgeFromCentre(const TBitmap& image, int dx, int dy) {
  int x = image.Width() / 2, y = image.Height() / 2;
  auto whole = [&] {
    for (int i = -50; i <= 50; ++i)
      if (!IsLinePixel(dx != 0 ? image.Pixel(x, y + i) : image.Pixel(x + i, y))) return false;
    return true;
  };
  while (x > 0 && x < image.Width() - 1 && y > 0 && y < image.Height() - 1 && !whole()) {
    x += dx;
    y += dy;
  }
  return dx != 0 ? x : y;
}

// The back wall's frame as the edges nearest the centre: the columns and rows of its lines
// (Right and Bottom included).
inline TRect BlackFrame(const TBitmap& image) {
  return {EdgeFromCentre(image, -1, 0), EdgeFromCentre(image, 0, -1), EdgeFromCentre(image, 1, 0),
          EdgeFromCentre(image, 0, 1)};
}

// The columns and rows the red line covers (Right and Bottom included); {0, 0, -1, -1} when
// there is none.
inline TRect RedBounds(const TBitmap& image) {
  TRect bounds{image.Width(), image.Height(), -1, -1};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (IsRed(image.Pixel(x, y)))
        bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x),
                  std::max(bounds.Bottom, y)};
  return bounds.Right < 0 ? TRect{0, 0, -1, -1} : bounds;
}

inline std::string Geometry(const TBitmap& image) {
  std::ostringstream text;
  const TRect frame = BlackFrame(image);
  text << "size " << image.Width() << " " << image.Height() << "\n";
  text << "frame " << frame.Left << " " << frame.Top << " " << frame.Right << " " << frame.Bottom << "\n";
  for (int y = 0; y < image.Height(); ++y) {
    std::string runs;
    for (int x = 0; x < image.Width(); ++x) {
      if (!IsRed(image.Pixel(x, y))) continue;
      const int start = x;
      while (x + 1 < image.Width() && IsRed(image.Pixel(x + 1, y))) ++x;
      // Appended, not literal plus string: GCC 12 at -O3 reports a false -Wrestrict there.
      runs.append(" ").append(std::to_string(start)).append("-").append(std::to_string(x));
    }
    if (!runs.empty()) text << y << ":" << runs << "\n";
  }
  return text.str();
}

}  // namespace history_pictures
