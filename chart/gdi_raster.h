// Pixel rules of the Windows graphics calls the chart canvas relies on, written straight
// into the engine's bitmap: cosmetic lines (first pixel in, last pixel out, ties to the
// upper or left pixel), dash patterns counted along the drawn pixels, wide pens, the pen's
// raster operation and rectangle extents. One rasteriser for every platform, so that line
// geometry is the same wherever the chart is drawn; toolkits' own lines follow other rules.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "chart/bitmap.h"
#include "chart/geometry.h"
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
  TRgb color = kRgbBlack;
  TPenMode mode = pmCopy;
  DashPattern pattern;     // used at width 1 only; wider pens draw solid
  int width = 1;           // pixels; 0 and 1 are the cosmetic pen
  bool fill_gaps = false;  // opaque background mode with a styled (non-alternate) pen
  TRgb gap_color = kRgbWhite;
};

// dst as the raster operation of `mode` leaves it with the pen colour `pen`.
TRgb ApplyMode(TPenMode mode, TRgb pen, TRgb dst);

// The pixels of the cosmetic line from (x0, y0) up to, not including, (x1, y1), one per step
// along the major axis: a zero-length line has none; ties go to the upper pixel of an x-major
// line and to the left pixel of a y-major line, whatever the direction. The walk is in 64-bit
// arithmetic, so ends anywhere in the int range neither overflow nor cost a step for pixels
// nobody sees: it can begin at any step, in the state the walk from the start reaches there.
class LineWalk {
 public:
  LineWalk(int x0, int y0, int x1, int y1);

  // Number of pixels (steps): the larger of |x1 - x0| and |y1 - y0|.
  std::int64_t Length() const { return major_length_; }
  // The steps [first, end) whose pixels lie within the columns (x-major) or rows (y-major)
  // of `box` (columns Left..Right-1, rows Top..Bottom-1); first == end when there are none.
  std::pair<std::int64_t, std::int64_t> StepsWithin(const TRect& box) const;

  // Calls put(x, y) for the pixels of steps [first, end), 0 <= first <= end <= Length().
  template <class Put>
  void Walk(std::int64_t first, std::int64_t end, Put&& put) const {
    if (first >= end) return;
    if (x_major_) {
      WalkAlongMajor(first, end, [&](std::int64_t major, std::int64_t minor) { put(int(major), int(minor)); });
    } else {
      WalkAlongMajor(first, end, [&](std::int64_t major, std::int64_t minor) { put(int(minor), int(major)); });
    }
  }

 private:
  template <class Put>
  void WalkAlongMajor(std::int64_t first, std::int64_t end, Put&& put) const {
    std::int64_t major = major_start_ + major_sign_ * first, minor, error;
    StateAt(first, minor, error);
    const std::int64_t toward_minor = 2 * (minor_length_ - major_length_), along_major = 2 * minor_length_;
    for (std::int64_t n = first; n < end; ++n, major += major_sign_) {
      put(major, minor);
      if (error + bias_ > 0) {
        minor += minor_sign_;
        error += toward_minor;
      } else {
        error += along_major;
      }
    }
  }
  // The minor coordinate and the error term at step n, in closed form.
  void StateAt(std::int64_t n, std::int64_t& minor, std::int64_t& error) const;

  bool x_major_;
  std::int64_t major_start_, minor_start_;
  std::int64_t major_length_, minor_length_;  // absolute extents
  std::int64_t major_sign_, minor_sign_;
  std::int64_t bias_;
};

// Calls put(x, y) for every pixel of the cosmetic line from (x0, y0) up to, not including,
// (x1, y1) (LineWalk).
template <class Put>
void ForEachLinePixel(int x0, int y0, int x1, int y1, Put&& put) {
  const LineWalk walk(x0, y0, x1, y1);
  walk.Walk(0, walk.Length(), put);
}

// A raster target: the bitmap and the clip (already within the bitmap).
class Raster {
 public:
  // `clip`: columns Left..Right-1 and rows Top..Bottom-1; none = the whole bitmap.
  Raster(TBitmap& bitmap, const std::optional<TRect>& clip);

  // Runs once per drawn pixel, so it is inline.
  bool Visible(int x, int y) const { return x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom; }
  void Plot(int x, int y, TRgb color, TPenMode mode) {
    if (!Visible(x, y)) return;
    TRgb* pixel = Pixel(x, y);
    *pixel = mode == pmCopy ? (0xFF000000u | color) : ApplyMode(mode, color, *pixel);
  }
  // LineTo from (x0, y0) to (x1, y1), any ends in the int range; only the pixels near the
  // clip cost time. `pattern_position` is where the dash pattern stands at the start; it
  // advances by one per pixel of the line (modulo the pattern's period; a solid pen's stays)
  // so that a figure continues it.
  void Line(int x0, int y0, int x1, int y1, const LinePen& pen, int& pattern_position);
  // The outline of Rectangle(left, top, right, bottom): one closed figure from the top
  // right, anticlockwise, over columns left and right-1 and rows top and bottom-1.
  void RectangleOutline(int left, int top, int right, int bottom, const LinePen& pen);
  // Columns area.Left..area.Right-1, rows area.Top..area.Bottom-1, each pixel once.
  void Fill(const TRect& area, TRgb color, TPenMode mode);

 private:
  void WideLine(int x0, int y0, int x1, int y1, const LinePen& pen);
  // A dash pattern along a row or a column, in copy mode.
  void StraightPatternedLine(int x0, int y0, int x1, int y1, const LinePen& pen, int pattern_position);
  // The pixels of columns left..right and rows top..bottom (both included) that lie in the
  // clip; empty if none.
  TRect VisiblePart(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const;
  // Every pixel that one of `areas` covers, once, under the raster operation.
  void FillUnion(const std::vector<TRect>& areas, TRgb color, TPenMode mode);
  // A solid one-pixel line in copy mode, the chart's common case.
  void SolidLine(int x0, int y0, int x1, int y1, TRgb color);
  // SolidLine for a line steeper than 45 degrees whose pixels are all visible.
  void SteepLine(int x0, int y0, int x1, int y1, TRgb color);
  // Copies `color` to the pixels from (x0, y0) to (x1, y1), both included, on one row or
  // one column, within the clip.
  void Stretch(int x0, int y0, int x1, int y1, TRgb color);
  TRgb* Pixel(int x, int y) const { return reinterpret_cast<TRgb*>(bits_ + std::ptrdiff_t(y) * bytes_per_line_) + x; }

  TRect clip_;
  unsigned char* bits_;  // taken once, with the row length, for the loops below
  std::ptrdiff_t bytes_per_line_;
};

}  // namespace gdi
