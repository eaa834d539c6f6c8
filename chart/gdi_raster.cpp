// Pixel rules of the Windows graphics calls, on the engine's bitmap.
#include "chart/gdi_raster.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

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

TRgb ApplyMode(TPenMode mode, TRgb pen, TRgb dst) {
  const TRgb p = pen & 0xFFFFFF, d = dst & 0xFFFFFF;
  TRgb result = p;
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

LineWalk::LineWalk(int x0, int y0, int x1, int y1) {
  const std::int64_t dx = std::int64_t(x1) - x0, dy = std::int64_t(y1) - y0;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int octant;  // numbered clockwise from +x, y pointing down
  if (dy > 0) octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  // The bias makes a tie step in octants 3, 5, 6 and 8 only, which picks the upper
  // respectively left pixel in every direction.
  bias_ = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
  x_major_ = adx > ady;
  major_start_ = x_major_ ? x0 : y0;
  minor_start_ = x_major_ ? y0 : x0;
  major_length_ = x_major_ ? adx : ady;
  minor_length_ = x_major_ ? ady : adx;
  major_sign_ = (x_major_ ? dx : dy) > 0 ? 1 : -1;
  minor_sign_ = (x_major_ ? dy : dx) > 0 ? 1 : -1;
}

std::pair<std::int64_t, std::int64_t> LineWalk::StepsWithin(const TRect& box) const {
  const std::int64_t low = x_major_ ? box.Left : box.Top, high = std::int64_t(x_major_ ? box.Right : box.Bottom) - 1;
  std::int64_t first = major_sign_ > 0 ? low - major_start_ : major_start_ - high;
  std::int64_t last = major_sign_ > 0 ? high - major_start_ : major_start_ - low;
  first = std::max<std::int64_t>(first, 0);
  const std::int64_t end = std::clamp<std::int64_t>(last + 1, 0, major_length_);
  return {std::min(first, end), end};
}

void LineWalk::StateAt(std::int64_t n, std::int64_t& minor, std::int64_t& error) const {
  // The walk steps the minor axis after step n exactly when error + bias > 0, with
  // error = 2 * minor_length * (n + 1) - major_length - 2 * major_length * k after k minor
  // steps; by induction over n, k = floor((2 * minor_length * n + major_length + bias - 1) /
  // (2 * major_length)). The products reach 2^65, hence 128 bits; a walk from the start, the
  // common case, needs none of it.
  if (n == 0) {
    minor = minor_start_;
    error = 2 * minor_length_ - major_length_;
    return;
  }
  __extension__ using Wide = __int128;
  const Wide m = minor_length_, M = major_length_;
  const Wide k = (2 * m * n + M + bias_ - 1) / (2 * M);
  minor = minor_start_ + minor_sign_ * static_cast<std::int64_t>(k);
  error = static_cast<std::int64_t>(2 * m * (n + 1) - M - 2 * M * k);
}

Raster::Raster(TBitmap& bitmap, const std::optional<TRect>& clip)
    : clip_(bitmap.Rect()),
      bits_(bitmap.IsEmpty() ? nullptr : reinterpret_cast<unsigned char*>(bitmap.Row(0))),
      bytes_per_line_(bitmap.BytesPerLine()) {
  if (clip) clip_ = Intersection(clip_, *clip);
}

namespace {

// The dash pattern followed pixel by pixel: which run the position is in and how far into
// it, so that a long dotted line does not divide once per pixel.
class DashWalker {
 public:
  DashWalker(const DashPattern& pattern, std::int64_t position) : pattern_(pattern), period_(pattern.Period()) {
    if (period_ <= 0) return;
    int offset = static_cast<int>(position % period_);
    if (offset < 0) offset += period_;
    while (offset >= pattern_.runs[run_]) offset -= pattern_.runs[run_++];
    into_run_ = offset;
  }

  bool On() const { return period_ <= 0 || run_ % 2 == 0; }
  // Pixels from here to the end of the current run, this one included.
  int RunLeft() const { return period_ <= 0 ? std::numeric_limits<int>::max() : pattern_.runs[run_] - into_run_; }

  // Moves on by `pixels`, at most RunLeft().
  void Skip(int pixels) {
    if (period_ <= 0) return;
    into_run_ += pixels;
    while (into_run_ >= pattern_.runs[run_]) {
      into_run_ -= pattern_.runs[run_];
      run_ = run_ + 1 == pattern_.count ? 0 : run_ + 1;
    }
  }

  void Advance() {
    if (period_ <= 0) return;
    ++into_run_;
    while (into_run_ >= pattern_.runs[run_]) {
      into_run_ = 0;
      run_ = run_ + 1 == pattern_.count ? 0 : run_ + 1;
    }
  }

 private:
  const DashPattern& pattern_;
  int period_;
  int run_ = 0;
  int into_run_ = 0;
};

// Only the place in the pattern matters to the next line, so the position is kept within
// one period, however long the lines of a figure are. A solid pen has no place to keep.
int AdvancedPattern(int position, std::int64_t length, int period) {
  return period > 0 ? static_cast<int>((position + length) % period) : position;
}

}  // namespace

void Raster::Line(int x0, int y0, int x1, int y1, const LinePen& pen, int& pattern_position) {
  if (pen.width > 1) {
    WideLine(x0, y0, x1, y1, pen);
    return;
  }
  const std::int64_t length = std::max(std::abs(std::int64_t(x1) - x0), std::abs(std::int64_t(y1) - y0));
  if (pen.pattern.count == 0 && pen.mode == pmCopy) {
    SolidLine(x0, y0, x1, y1, 0xFF000000u | pen.color);
  } else if ((x0 == x1 || y0 == y1) && pen.mode == pmCopy) {
    StraightPatternedLine(x0, y0, x1, y1, pen, pattern_position);
  } else {
    const LineWalk walk(x0, y0, x1, y1);
    const auto [first, end] = walk.StepsWithin(clip_);
    DashWalker dash(pen.pattern, std::int64_t(pattern_position) + first);
    walk.Walk(first, end, [&](int x, int y) {
      if (dash.On()) Plot(x, y, pen.color, pen.mode);
      else if (pen.fill_gaps) Plot(x, y, pen.gap_color, pen.mode);  // the gaps take the raster operation too
      dash.Advance();
    });
  }
  pattern_position = AdvancedPattern(pattern_position, length, pen.pattern.Period());
}

void Raster::StraightPatternedLine(int x0, int y0, int x1, int y1, const LinePen& pen, int pattern_position) {
  // Along a row or a column (grid lines) the pattern's runs are stretches of their own.
  const int step_x = x1 > x0 ? 1 : (x1 < x0 ? -1 : 0), step_y = y1 > y0 ? 1 : (y1 < y0 ? -1 : 0);
  const auto [first, end] = LineWalk(x0, y0, x1, y1).StepsWithin(clip_);
  DashWalker dash(pen.pattern, std::int64_t(pattern_position) + first);
  // Every step lies between the ends, so its coordinates are ints.
  auto x_at = [&](std::int64_t step) { return static_cast<int>(x0 + step_x * step); };
  auto y_at = [&](std::int64_t step) { return static_cast<int>(y0 + step_y * step); };
  for (std::int64_t done = first; done < end;) {
    const int run = static_cast<int>(std::min<std::int64_t>(dash.RunLeft(), end - done));
    if (dash.On() || pen.fill_gaps) {
      const TRgb color = 0xFF000000u | (dash.On() ? pen.color : pen.gap_color);
      Stretch(x_at(done), y_at(done), x_at(done + run - 1), y_at(done + run - 1), color);
    }
    dash.Skip(run);
    done += run;
  }
}

void Raster::SolidLine(int x0, int y0, int x1, int y1, TRgb color) {
  if (x0 == x1 && y0 == y1) return;
  if (x0 == x1 || y0 == y1) {
    // Along a row or a column the pixels are one stretch, the end pixel left out.
    const int last_x = x0 == x1 ? x0 : x1 + (x1 > x0 ? -1 : 1);
    const int last_y = y0 == y1 ? y0 : y1 + (y1 > y0 ? -1 : 1);
    Stretch(x0, y0, last_x, last_y, color);
    return;
  }
  // Every pixel lies in the box of the two ends: with both ends visible none needs a test.
  if (Visible(x0, y0) && Visible(x1, y1)) {
    const int adx = std::abs(x1 - x0), ady = std::abs(y1 - y0);
    if (ady > adx) {
      SteepLine(x0, y0, x1, y1, color);
      return;
    }
    ForEachLinePixel(x0, y0, x1, y1, [&](int x, int y) { *Pixel(x, y) = color; });
    return;
  }
  const LineWalk walk(x0, y0, x1, y1);
  const auto [first, end] = walk.StepsWithin(clip_);
  walk.Walk(first, end, [&](int x, int y) {
    if (Visible(x, y)) *Pixel(x, y) = color;
  });
}

void Raster::SteepLine(int x0, int y0, int x1, int y1, TRgb color) {
  // ForEachLinePixel's y-major walk taken one column stretch at a time: while error + bias
  // stays at or below zero the walk stays in its column, adding 2 * adx per row, so the
  // stretch's length follows from one division instead of a test per row.
  const int dx = x1 - x0, dy = y1 - y0;
  const int adx = std::abs(dx), ady = std::abs(dy);
  const int sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
  const int bias = dx < 0 ? 1 : 0;  // the walk's ties to the left: its steep octants 3 and 6
  const std::ptrdiff_t row_step = sy * bytes_per_line_;
  int error = 2 * adx - ady;
  int x = x0, y = y0;
  for (int left = ady; left > 0;) {
    const int below = -(error + bias);
    int stretch = below < 0 ? 1 : below / (2 * adx) + 2;
    stretch = std::min(stretch, left);
    unsigned char* pixel = reinterpret_cast<unsigned char*>(Pixel(x, y));
    for (int n = 0; n < stretch; ++n, pixel += row_step) *reinterpret_cast<TRgb*>(pixel) = color;
    error += (stretch - 1) * 2 * adx + 2 * (adx - ady);
    x += sx;
    y += sy * stretch;
    left -= stretch;
  }
}

void Raster::Stretch(int x0, int y0, int x1, int y1, TRgb color) {
  if (x0 == x1) {
    if (x0 < clip_.Left || x0 >= clip_.Right) return;
    const int low = std::max(std::min(y0, y1), clip_.Top), high = std::min(std::max(y0, y1), clip_.Bottom - 1);
    if (low > high) return;
    unsigned char* pixel = reinterpret_cast<unsigned char*>(Pixel(x0, low));
    for (int y = low; y <= high; ++y, pixel += bytes_per_line_) *reinterpret_cast<TRgb*>(pixel) = color;
    return;
  }
  if (y0 < clip_.Top || y0 >= clip_.Bottom) return;
  const int low = std::max(std::min(x0, x1), clip_.Left), high = std::min(std::max(x0, x1), clip_.Right - 1);
  if (low <= high) std::fill(Pixel(low, y0), Pixel(high, y0) + 1, color);
}

void Raster::WideLine(int x0, int y0, int x1, int y1, const LinePen& pen) {
  // A geometric pen with round caps: for width 2 every pixel of the line, end included,
  // carries a 2x2 block up and left of it, which gives rows y-1..y and columns x0-1..x1 for
  // a horizontal line in either direction. The union keeps each pixel once under raster ops.
  const std::int64_t reach = pen.width / 2, beyond = pen.width - 1 - reach;
  if (x0 == x1 || y0 == y1) {
    // Blocks along a row or a column overlap into one rectangle.
    Fill(VisiblePart(std::int64_t(std::min(x0, x1)) - reach, std::int64_t(std::min(y0, y1)) - reach,
                     std::int64_t(std::max(x0, x1)) + beyond, std::int64_t(std::max(y0, y1)) + beyond),
         pen.color, pen.mode);
    return;
  }
  // Blocks of pixels beyond these columns or rows cannot reach the clip.
  const TRect reaching{clip_.Left - int(beyond), clip_.Top - int(beyond), clip_.Right + int(reach),
                       clip_.Bottom + int(reach)};
  auto for_each_block = [&](auto&& take) {
    auto stamp = [&](int x, int y) {
      const TRect block = VisiblePart(std::int64_t(x) - reach, std::int64_t(y) - reach, std::int64_t(x) + beyond,
                                      std::int64_t(y) + beyond);
      if (!block.IsEmpty()) take(block);
    };
    const LineWalk walk(x0, y0, x1, y1);
    const auto [first, end] = walk.StepsWithin(reaching);
    walk.Walk(first, end, stamp);
    stamp(x1, y1);
  };
  if (pen.mode == pmCopy) {
    // Copying a pixel twice leaves it as copying it once: no union needed.
    for_each_block([&](const TRect& block) { Fill(block, pen.color, pmCopy); });
    return;
  }
  std::vector<TRect> covered;
  for_each_block([&](const TRect& block) { covered.push_back(block); });
  FillUnion(covered, pen.color, pen.mode);
}

TRect Raster::VisiblePart(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
  left = std::max<std::int64_t>(left, clip_.Left);
  top = std::max<std::int64_t>(top, clip_.Top);
  right = std::min<std::int64_t>(right + 1, clip_.Right);
  bottom = std::min<std::int64_t>(bottom + 1, clip_.Bottom);
  if (left >= right || top >= bottom) return {};
  return {int(left), int(top), int(right), int(bottom)};
}

void Raster::FillUnion(const std::vector<TRect>& areas, TRgb color, TPenMode mode) {
  int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
  for (const TRect& area : areas) {
    if (area.IsEmpty()) continue;
    top = std::min(top, area.Top);
    bottom = std::max(bottom, area.Bottom);
  }
  // Row by row: the spans the areas cover there, merged where they touch or overlap.
  std::vector<std::pair<int, int>> spans;
  for (int y = top; y < bottom; ++y) {
    spans.clear();
    for (const TRect& area : areas)
      if (area.Top <= y && y < area.Bottom && area.Left < area.Right) spans.emplace_back(area.Left, area.Right);
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 0; i < spans.size();) {
      int right = spans[i].second;
      std::size_t next = i + 1;
      for (; next < spans.size() && spans[next].first <= right; ++next) right = std::max(right, spans[next].second);
      Fill({spans[i].first, y, right, y + 1}, color, mode);
      i = next;
    }
  }
}

void Raster::RectangleOutline(int left, int top, int right, int bottom, const LinePen& pen) {
  const int corners[5][2] = {{right - 1, top}, {left, top}, {left, bottom - 1}, {right - 1, bottom - 1}, {right - 1, top}};
  if (pen.width > 1) {
    std::vector<TRect> covered;
    for (int i = 0; i < 4; ++i) {
      const int x0 = std::min(corners[i][0], corners[i + 1][0]), x1 = std::max(corners[i][0], corners[i + 1][0]);
      const int y0 = std::min(corners[i][1], corners[i + 1][1]), y1 = std::max(corners[i][1], corners[i + 1][1]);
      const int reach = pen.width / 2;
      covered.push_back(VisiblePart(std::int64_t(x0) - reach, std::int64_t(y0) - reach,
                                    std::int64_t(x1) - reach + pen.width - 1, std::int64_t(y1) - reach + pen.width - 1));
    }
    FillUnion(covered, pen.color, pen.mode);
    return;
  }
  int pattern_position = 0;
  for (int i = 0; i < 4; ++i) Line(corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1], pen, pattern_position);
}

void Raster::Fill(const TRect& area, TRgb color, TPenMode mode) {
  const TRect visible = Intersection(area, clip_);
  if (visible.IsEmpty()) return;
  // Bounds and the copy case hoisted: a background fill covers every pixel of the frame.
  const int left = visible.Left, right = visible.Right;
  for (int y = visible.Top; y < visible.Bottom; ++y) {
    TRgb* row = Pixel(0, y);
    if (mode == pmCopy) {
      std::fill(row + left, row + right, 0xFF000000u | color);
      continue;
    }
    for (int x = left; x < right; ++x) row[x] = ApplyMode(mode, color, row[x]);
  }
}

}  // namespace gdi
