// Small images for pixel tests and a readable picture of their rows: '#' for a pixel that
// differs from the background, '.' for one that does not.
#pragma once

#include <string>

#include <QImage>

inline constexpr QRgb kBackground = 0xFFFFFFFF;

inline QImage BlankImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kBackground);
  return image;
}

// Columns first..last (inclusive) of row y.
inline std::string Row(const QImage& image, int y, int first, int last) {
  std::string row;
  for (int x = first; x <= last; ++x) row += image.pixel(x, y) == kBackground ? '.' : '#';
  return row;
}

inline std::string Column(const QImage& image, int x, int first, int last) {
  std::string column;
  for (int y = first; y <= last; ++y) column += image.pixel(x, y) == kBackground ? '.' : '#';
  return column;
}

// Smallest rectangle holding every changed pixel, as (left, top, right + 1, bottom + 1).
inline QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kBackground) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

inline int ChangedPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != kBackground;
  return count;
}
