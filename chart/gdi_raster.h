// Pixel rules of the Windows graphics calls the chart canvas relies on, written straight
// into a Format_RGB32 QImage: cosmetic lines (first pixel in, last pixel out, ties to the
// upper or left pixel), dash patterns counted along the drawn pixels, wide pens, the
// pen's raster operation and rectangle extents. QPainter's own lines follow other rules.
#pragma once

#include <optional>

#include <QImage>
#include <QRect>

#include "chart/pens.h"

namespace gdi {

// The on/off runs of a cosmetic pen, in pixels along the major axis; empty = solid.
struct DashPattern {
  int runs[6] = {};
  int count = 0;
  int Period() const;
  bool IsOn(int position) const;
};
// psDot 3 on 3 off, psDash 18/6, psDashDot 9/6/3/6, psDashDotDot 9/3/3/3/3/3; solid otherwise.
DashPattern PatternOfStyle(TPenStyle style);
// The alternate-pixel cosmetic pen: 1 on, 1 off.
DashPattern AlternatePattern();

struct LinePen {
  QRgb color = 0xFF000000;
  TPenMode mode = pmCopy;
  DashPattern pattern;     // used at width 1 only; wider pens draw solid
  int width = 1;           // pixels; 0 and 1 are the cosmetic pen
  bool fill_gaps = false;  // opaque background mode with a styled (non-alternate) pen
  QRgb gap_color = 0xFFFFFFFF;
};

// dst as the raster operation of `mode` leaves it with the pen colour `pen`.
QRgb ApplyMode(TPenMode mode, QRgb pen, QRgb dst);

// Calls put(x, y) for every pixel of the cosmetic line from (x0, y0) up to, not including,
// (x1, y1). A zero-length line has no pixel. Ties go to the upper pixel of an x-major line
// and to the left pixel of a y-major line, whatever the direction.
template <class Put>
void ForEachLinePixel(int x0, int y0, int x1, int y1, Put&& put) {
  const int dx = x1 - x0, dy = y1 - y0;
  if (dx == 0 && dy == 0) return;
  const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  int octant;  // numbered clockwise from +x, y pointing down
  if (dy > 0) octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  // The bias makes a tie step in octants 3, 5, 6 and 8 only, which picks the upper
  // respectively left pixel in every direction.
  const int bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  int x = x0, y = y0;
  if (adx > ady) {
    int error = 2 * ady - adx;
    for (int n = 0; n < adx; ++n, x += sx) {
      put(x, y);
      if (error + bias > 0) { y += sy; error += 2 * (ady - adx); } else { error += 2 * ady; }
    }
  } else {
    int error = 2 * adx - ady;
    for (int n = 0; n < ady; ++n, y += sy) {
      put(x, y);
      if (error + bias > 0) { x += sx; error += 2 * (adx - ady); } else { error += 2 * adx; }
    }
  }
}

// A raster target: the image and the clip (already within the image).
class Raster {
 public:
  // `clip` none = the whole image. The image must be Format_RGB32.
  Raster(QImage& image, const std::optional<QRect>& clip);

  // Compared inline: QRect::contains is out of line and runs once per drawn pixel.
  bool Visible(int x, int y) const {
    return x >= clip_.left() && x <= clip_.right() && y >= clip_.top() && y <= clip_.bottom();
  }
  void Plot(int x, int y, QRgb color, TPenMode mode) {
    if (!Visible(x, y)) return;
    QRgb* pixel = Pixel(x, y);
    *pixel = mode == pmCopy ? (0xFF000000u | color) : ApplyMode(mode, color, *pixel);
  }
  // LineTo from (x0, y0) to (x1, y1). `pattern_position` is where the dash pattern stands
  // at the start; it advances by one per drawn pixel so that a figure continues it.
  void Line(int x0, int y0, int x1, int y1, const LinePen& pen, int& pattern_position);
  // The outline of Rectangle(left, top, right, bottom): one closed figure from the top
  // right, anticlockwise, over columns left and right-1 and rows top and bottom-1.
  void RectangleOutline(int left, int top, int right, int bottom, const LinePen& pen);
  // Columns area.left()..area.right(), rows area.top()..area.bottom() (QRect's inclusive
  // edges), each pixel once.
  void Fill(const QRect& area, QRgb color, TPenMode mode);

 private:
  void WideLine(int x0, int y0, int x1, int y1, const LinePen& pen);
  // A solid one-pixel line in copy mode, the chart's common case.
  void SolidLine(int x0, int y0, int x1, int y1, QRgb color);
  // SolidLine for a line steeper than 45 degrees whose pixels are all visible.
  void SteepLine(int x0, int y0, int x1, int y1, QRgb color);
  // Copies `color` to the pixels from (x0, y0) to (x1, y1), both included, on one row or
  // one column, within the clip.
  void Stretch(int x0, int y0, int x1, int y1, QRgb color);
  QRgb* Pixel(int x, int y) const { return reinterpret_cast<QRgb*>(bits_ + std::ptrdiff_t(y) * bytes_per_line_) + x; }

  QRect clip_;
  uchar* bits_;  // taken once: every scanLine() call would check whether to detach the image
  qsizetype bytes_per_line_;
};

}  // namespace gdi
