// Pixel rules of the Windows graphics calls, on a Format_RGB32 QImage.
#include "chart/gdi_raster.h"

#include <algorithm>

#include <QRegion>

namespace gdi {

int DashPattern::Period() const {
  int period = 0;
  for (int i = 0; i < count; ++i) period += runs[i];
  return period;
}

bool DashPattern::IsOn(int position) const {
  if (count == 0) return true;
  int offset = position % Period();
  for (int i = 0; i < count; ++i) {
    if (offset < runs[i]) return i % 2 == 0;
    offset -= runs[i];
  }
  return false;
}

DashPattern PatternOfStyle(TPenStyle style) {
  // The cosmetic patterns of the NT family, in pixels: one style step is three pixels.
  switch (style) {
    case psDot: return {{3, 3}, 2};
    case psDash: return {{18, 6}, 2};
    case psDashDot: return {{9, 6, 3, 6}, 4};
    case psDashDotDot: return {{9, 3, 3, 3, 3, 3}, 6};
    default: return {};
  }
}

DashPattern AlternatePattern() { return {{1, 1}, 2}; }

QRgb ApplyMode(TPenMode mode, QRgb pen, QRgb dst) {
  const QRgb p = pen & 0xFFFFFF, d = dst & 0xFFFFFF;
  QRgb result = p;
  switch (mode) {
    case pmBlack: result = 0; break;
    case pmWhite: result = 0xFFFFFF; break;
    case pmNop: result = d; break;
    case pmNot: result = ~d; break;
    case pmCopy: result = p; break;
    case pmNotCopy: result = ~p; break;
    case pmMergePenNot: result = p | ~d; break;
    case pmMaskPenNot: result = p & ~d; break;
    case pmMergeNotPen: result = ~p | d; break;
    case pmMaskNotPen: result = ~p & d; break;
    case pmMerge: result = p | d; break;
    case pmNotMerge: result = ~(p | d); break;
    case pmMask: result = p & d; break;
    case pmNotMask: result = ~(p & d); break;
    case pmXor: result = p ^ d; break;
    case pmNotXor: result = ~(p ^ d); break;
  }
  return 0xFF000000u | (result & 0xFFFFFF);
}

Raster::Raster(QImage& image, const std::optional<QRect>& clip)
    : clip_(image.rect()), bits_(image.bits()), bytes_per_line_(image.bytesPerLine()) {
  if (clip) clip_ = clip_.intersected(*clip);
}

void Raster::Plot(int x, int y, QRgb color, TPenMode mode) {
  if (!Visible(x, y)) return;
  QRgb* pixel = Pixel(x, y);
  *pixel = mode == pmCopy ? (0xFF000000u | color) : ApplyMode(mode, color, *pixel);
}

void Raster::Line(int x0, int y0, int x1, int y1, const LinePen& pen, int& pattern_position) {
  if (pen.width > 1) {
    WideLine(x0, y0, x1, y1, pen);
    return;
  }
  ForEachLinePixel(x0, y0, x1, y1, [&](int x, int y) {
    if (pen.pattern.IsOn(pattern_position)) Plot(x, y, pen.color, pen.mode);
    else if (pen.fill_gaps) Plot(x, y, pen.gap_color, pmCopy);
    ++pattern_position;
  });
}

void Raster::WideLine(int x0, int y0, int x1, int y1, const LinePen& pen) {
  // A geometric pen with round caps: for width 2 every pixel of the line, end included,
  // carries a 2x2 block up and left of it, which gives rows y-1..y and columns x0-1..x1 for
  // a horizontal line in either direction. The union keeps each pixel once under raster ops.
  const int reach = pen.width / 2;
  QRegion covered;
  auto stamp = [&](int x, int y) { covered += QRect(x - reach, y - reach, pen.width, pen.width); };
  ForEachLinePixel(x0, y0, x1, y1, stamp);
  stamp(x1, y1);
  for (const QRect& rect : covered) Fill(rect, pen.color, pen.mode);
}

void Raster::RectangleOutline(int left, int top, int right, int bottom, const LinePen& pen) {
  const int corners[5][2] = {{right - 1, top}, {left, top}, {left, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}};
  if (pen.width > 1) {
    QRegion covered;
    for (int i = 0; i < 4; ++i) {
      const int x0 = std::min(corners[i][0], corners[i + 1][0]), x1 = std::max(corners[i][0], corners[i + 1][0]);
      const int y0 = std::min(corners[i][1], corners[i + 1][1]), y1 = std::max(corners[i][1], corners[i + 1][1]);
      const int reach = pen.width / 2;
      covered += QRect(QPoint(x0 - reach, y0 - reach), QPoint(x1 - reach + pen.width - 1, y1 - reach + pen.width - 1));
    }
    for (const QRect& rect : covered) Fill(rect, pen.color, pen.mode);
    return;
  }
  int pattern_position = 0;
  for (int i = 0; i < 4; ++i) Line(corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1], pen, pattern_position);
}

void Raster::Fill(const QRect& area, QRgb color, TPenMode mode) {
  const QRect visible = area.intersected(clip_);
  if (visible.isEmpty()) return;
  // Bounds and the copy case hoisted: a background fill covers every pixel of the frame.
  const int left = visible.left(), right = visible.right();
  for (int y = visible.top(), bottom = visible.bottom(); y <= bottom; ++y) {
    QRgb* row = Pixel(0, y);
    if (mode == pmCopy) {
      std::fill(row + left, row + right + 1, 0xFF000000u | color);
      continue;
    }
    for (int x = left; x <= right; ++x) row[x] = ApplyMode(mode, color, row[x]);
  }
}

}  // namespace gdi
