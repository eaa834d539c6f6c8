// Small bitmaps for pixel tests and a readable picture of their rows: '#' for a pixel that
// differs from the background, '.' for one that does not.
#pragma once

#include <algorithm>
#include <ostream>
#include <string>

#include "chart/bitmap.h"

inline constexpr TRgb kBackground = 0xFFFFFFFF;

inline TBitmap BlankImage(int width, int height) { return TBitmap(width, height, kBackground); }

// Columns first..last (inclusive) of row y.
inline std::string Row(const TBitmap& image, int y, int first, int last) {
  std::string row;
  for (int x = first; x <= last; ++x) row += image.Pixel(x, y) == kBackground ? '.' : '#';
  return row;
}

inline std::string Column(const TBitmap& image, int x, int first, int last) {
  std::string column;
  for (int y = first; y <= last; ++y) column += image.Pixel(x, y) == kBackground ? '.' : '#';
  return column;
}

// Smallest rectangle holding every changed pixel (right and bottom outside); all 0 for none.
inline TRect InkBounds(const TBitmap& image) {
  TRect bounds{image.Width(), image.Height(), 0, 0};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixel(x, y) != kBackground)
        bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                  std::max(bounds.Bottom, y + 1)};
  return bounds.IsEmpty() ? TRect{} : bounds;
}

inline int ChangedPixels(const TBitmap& image) {
  int count = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) count += image.Pixel(x, y) != kBackground;
  return count;
}

// Readable rectangles and bitmaps in failure messages.
inline void PrintTo(const TRect& rect, std::ostream* out) {
  *out << "(" << rect.Left << ", " << rect.Top << ", " << rect.Right << ", " << rect.Bottom << ")";
}
inline void PrintTo(const TBitmap& bitmap, std::ostream* out) { *out << bitmap.Width() << " x " << bitmap.Height() << " bitmap"; }
