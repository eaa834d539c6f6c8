// The fast line series: one pen set-up per paint, at most one line operation per point,
// none for a point on the pixel of the previous drawn end.
#include "chart/fast_line_series.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "chart/axis.h"
#include "chart/canvas.h"
#include "chart/chart_host.h"

namespace {

// Consecutive vertical segments in one pixel column, drawn as one span with the pixels
// they would set one by one. A cosmetic line sets its start pixel and not its end, so the
// segments y0 -> y1 -> ... -> yk together cover one unbroken run of rows: each starts where
// the previous one stopped. Worked example: 10 -> 20 -> 15 sets rows 10..19 and 20..16,
// together 10..20, and leaves the pen at 15.
class ColumnRun {
 public:
  explicit ColumnRun(TChartCanvas& canvas) : canvas_(canvas) {}

  void Begin(int x, int y) {
    x_ = x;
    end_y_ = y;
    segments_ = 0;
  }

  void Extend(int y) {
    const int low = y > end_y_ ? end_y_ : y + 1;
    const int high = y > end_y_ ? y - 1 : end_y_;
    low_ = segments_ == 0 ? low : std::min(low_, low);
    high_ = segments_ == 0 ? high : std::max(high_, high);
    end_y_ = y;
    ++segments_;
  }

  // Segments known only by the rows they cover together and the row where they end.
  void Cover(int low, int high, int end_y) {
    low_ = segments_ == 0 ? low : std::min(low_, low);
    high_ = segments_ == 0 ? high : std::max(high_, high);
    end_y_ = end_y;
    segments_ += 2;
  }

  // Draws what was gathered and leaves the pen at the last point, as the single segments would.
  void Flush() {
    if (segments_ == 1) {
      canvas_.DrawLineTo(x_, end_y_);
    } else if (segments_ > 1) {
      // The segment ends one row past the run; the last row of the int range lies on no
      // bitmap, so a run reaching it may stop one row short.
      const int high = std::min(high_, std::numeric_limits<int>::max() - 1);
      canvas_.DrawLineSegment(x_, low_, x_, high + 1);
      canvas_.MovePen(x_, end_y_);
    }
    segments_ = 0;
  }

 private:
  TChartCanvas& canvas_;
  int x_ = 0;
  int end_y_ = 0;
  int low_ = 0;
  int high_ = 0;
  int segments_ = 0;
};

// One past the last index in [from, last] whose X maps to column x, given that `from` does.
// Ascending values map to pixels in order, so the column is one stretch of indexes. It is
// found from a guess (the length of the column before, as evenly spaced points give), by
// doubling steps away from the guess and then halving: a dense column costs a few mappings,
// and they touch memory near one place instead of all over the column.
template <class ToPixel>
int ColumnEnd(const double* xs, double multiplier, const ToPixel& to_x, int x, int from, int last,
              int expected_length) {
  auto in_column = [&](int index) { return to_x(xs[index] * multiplier) == x; };
  const int guess = from + std::clamp(expected_length - 1, 0, last - from);
  int inside = from;   // maps to x
  int outside;         // maps elsewhere, or one past the end
  int step = 1;
  if (in_column(guess)) {
    inside = guess;
    while (last - inside >= step && in_column(inside + step)) {
      inside += step;
      step *= 2;
    }
    outside = std::min(last + 1, inside + step);
  } else {
    outside = guess;
    while (outside - step > from && !in_column(outside - step)) {
      outside -= step;
      step *= 2;
    }
    inside = std::max(from, outside - step);
  }
  while (outside - inside > 1) {
    const int middle = inside + (outside - inside) / 2;
    (in_column(middle) ? inside : outside) = middle;
  }
  return inside + 1;
}

// Smallest and largest of values[from, to) (from < to); any NaN makes them meaningless.
struct ValueExtremes {
  double Lowest;
  double Highest;
  bool HasNaN;
};

ValueExtremes ExtremesOf(const double* values, int from, int to) {
  int index = from;
#if defined(__SSE2__)
  // Two lanes a register and four registers apart: a dense column holds thousands of
  // points, and a single chain of minimum operations would wait on itself at every step.
  const __m128d first = _mm_set1_pd(values[from]);
  __m128d lowest[4] = {first, first, first, first}, highest[4] = {first, first, first, first};
  __m128d unordered = _mm_setzero_pd();
  for (; index + 8 <= to; index += 8)
    for (int lane = 0; lane < 4; ++lane) {
      const __m128d pair = _mm_loadu_pd(values + index + 2 * lane);
      lowest[lane] = _mm_min_pd(lowest[lane], pair);
      highest[lane] = _mm_max_pd(highest[lane], pair);
      unordered = _mm_or_pd(unordered, _mm_cmpunord_pd(pair, pair));
    }
  const __m128d low_pair = _mm_min_pd(_mm_min_pd(lowest[0], lowest[1]), _mm_min_pd(lowest[2], lowest[3]));
  const __m128d high_pair = _mm_max_pd(_mm_max_pd(highest[0], highest[1]), _mm_max_pd(highest[2], highest[3]));
  double lanes[2];
  _mm_storeu_pd(lanes, low_pair);
  double low = std::min(lanes[0], lanes[1]);
  _mm_storeu_pd(lanes, high_pair);
  double high = std::max(lanes[0], lanes[1]);
  bool has_nan = _mm_movemask_pd(unordered) != 0;
#else
  double low = values[from], high = values[from];
  bool has_nan = false;
#endif
  for (; index < to; ++index) {
    const double value = values[index];
    has_nan = has_nan || std::isnan(value);
    low = std::min(low, value);
    high = std::max(high, value);
  }
  return {low, high, has_nan};
}

// Gathers the points [from, to) of one dense pixel column into the run from their extremes
// alone: the mapping to pixels keeps the values' order, so the rows the segments cover are
// those between the highest and lowest pixel and the pen's start. The last segment stops
// short of its end, so an extreme row reached only by the final points stays undrawn,
// unless the line was on that row before and left it. Returns the last point's row, or
// nothing when a NaN or a pixel beyond the overflow guard breaks the order.
std::optional<int> CoverDenseColumn(ColumnRun& run, const double* ys, double multiplier,
                                    const TAxisPixelMapping& to_y, int from, int to, int start_y) {
  const ValueExtremes extremes = ExtremesOf(ys, from, to);
  if (extremes.HasNaN) return std::nullopt;
  const double a = extremes.Lowest * multiplier, b = extremes.Highest * multiplier;
  if (!to_y.MapsInOrder(a) || !to_y.MapsInOrder(b)) return std::nullopt;
  const int pixel_a = to_y(a), pixel_b = to_y(b);
  const int low = std::min({pixel_a, pixel_b, start_y}), high = std::max({pixel_a, pixel_b, start_y});
  const int end_y = to_y(ys[to - 1] * multiplier);
  if (low == high) return end_y;  // every point on the pen's row: no segment
  int drawn_low = low, drawn_high = high;
  if (end_y == low || end_y == high) {
    int tail = to - 1;
    while (tail > from && to_y(ys[tail - 1] * multiplier) == end_y) --tail;
    bool visited_before = start_y == end_y;
    if (!visited_before && tail > from) {
      const ValueExtremes before = ExtremesOf(ys, from, tail);
      const int before_a = to_y(before.Lowest * multiplier), before_b = to_y(before.Highest * multiplier);
      visited_before = end_y == low ? std::min(before_a, before_b) == low : std::max(before_a, before_b) == high;
    }
    if (!visited_before) {
      if (end_y == low) ++drawn_low;
      else --drawn_high;
    }
  }
  run.Cover(drawn_low, drawn_high, end_y);
  return end_y;
}

// a exceeds b by more than the tolerance.
bool Exceeds(int a, int b, int tolerance) { return a > b + tolerance; }

// Along one axis: p lies beyond the farther end of p0-q0 by more than the tolerance.
bool BeyondEnds(int p, int p0, int q0, int tolerance) {
  return (Exceeds(p0, q0, tolerance) && Exceeds(p, p0, tolerance)) ||
         (Exceeds(p0, p, tolerance) && Exceeds(q0, p0, tolerance)) ||
         (Exceeds(q0, p0, tolerance) && Exceeds(p, q0, tolerance)) ||
         (Exceeds(q0, p, tolerance) && Exceeds(p0, q0, tolerance));
}

}  // namespace

bool PointOnSegment(TPoint p, TPoint a, TPoint b, int tolerance) {
  const std::int64_t span = std::max(std::abs(std::int64_t(b.X) - a.X), std::abs(std::int64_t(b.Y) - a.Y));
  const std::int64_t cross = std::abs((std::int64_t(p.X) - a.X) * (std::int64_t(b.Y) - a.Y) -
                                      (std::int64_t(p.Y) - a.Y) * (std::int64_t(b.X) - a.X));
  // cross / span approximates the distance to the line in pixels; span 0 holds nothing.
  if (cross >= span) return false;
  return !BeyondEnds(p.X, a.X, b.X, tolerance) && !BeyondEnds(p.Y, a.Y, b.Y, tolerance);
}

TFastLineSeries::TFastLineSeries() : line_pen_([this] { PenOrBrushChanged(); }) {
  draw_between_points_ = true;
  allow_single_point_ = false;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  line_pen_.Assign(pen);
  SetSeriesColor(line_pen_.Color());
}

void TFastLineSeries::SetSeriesColor(TColor value) {
  TChartSeries::SetSeriesColor(value);
  line_pen_.SetColor(value);
}

void TFastLineSeries::Assign(const TFastLineSeries& source) {
  auto_repaint_ = source.auto_repaint_;
  line_pen_.Assign(source.line_pen_);
}

TChartCanvas* TFastLineSeries::ChartCanvas() const { return ParentChart() ? ParentChart()->Canvas() : nullptr; }

bool TFastLineSeries::DrawsInDepth() const { return ParentChart() && ParentChart()->View3D(); }

void TFastLineSeries::PrepareLinePen(TChartCanvas& canvas) {
  canvas.ApplyChartPen(line_pen_);
  if (ParentChart()) ParentChart()->AdjustPenForPrinting(canvas.Pen());
  canvas.Brush().SetStyle(bsClear);
}

void TFastLineSeries::DrawPoints() {
  TChartCanvas* canvas = ChartCanvas();
  if (!canvas || FirstVisibleIndex() < 0) return;
  PrepareLinePen(*canvas);
  if (CanMergeColumnRuns(*canvas)) {
    DrawVisibleMerged(*canvas);
  } else {
    TChartSeries::DrawPoints();
  }
}

void TFastLineSeries::DrawPoint(int index) {
  if (TChartCanvas* canvas = ChartCanvas()) DrawPointAt(*canvas, index, PointScreenX(index), PointScreenY(index));
}

void TFastLineSeries::DrawPointAt(TChartCanvas& canvas, int index, int x, int y) {
  const bool depth = DrawsInDepth();
  const int z = DepthBand().Middle;
  if (index == FirstVisibleIndex()) {
    if (index > 0) {
      // The line enters the plot area from the last point before it; the clip cuts it.
      const int from_x = PointScreenX(index - 1), from_y = PointScreenY(index - 1);
      depth ? canvas.DrawLineSegmentAtDepth(from_x, from_y, x, y, z) : canvas.DrawLineSegment(from_x, from_y, x, y);
    } else {
      depth ? canvas.MovePenAtDepth(x, y, z) : canvas.MovePen(x, y);
    }
  } else {
    if (x == last_drawn_x_ && y == last_drawn_y_) return;
    depth ? canvas.DrawLineToAtDepth(x, y, z) : canvas.DrawLineTo(x, y);
  }
  last_drawn_x_ = x;
  last_drawn_y_ = y;
}

// Merging column runs only pays for dense lines and only keeps the pixels of the single
// segments for a flat solid one-pixel pen that overwrites (a raster operation would undo
// pixels hit twice, a dash pattern restarts per segment). A hidden pen draws nothing either way.
bool TFastLineSeries::CanMergeColumnRuns(TChartCanvas& canvas) const {
  const TCustomChartAxis* horizontal = GetHorizAxis();
  const TCustomChartAxis* vertical = GetVertAxis();
  if (DrawsInDepth() || !DrawsPointsForward() || !horizontal || !vertical) return false;
  if (horizontal->Logarithmic() || vertical->Logarithmic()) return false;
  if (LastVisibleIndex() >= PointCount()) return false;
  const TPen& pen = canvas.Pen();
  if (pen.Style() == psClear) return true;
  return pen.Style() == psSolid && pen.Mode() == pmCopy && pen.Width() <= 1 && !pen.HasAlternateCosmeticHandle();
}

void TFastLineSeries::DrawVisibleMerged(TChartCanvas& canvas) {
  const TAxisPixelMapping to_x = GetHorizAxis()->LinearPixelMapping(true);
  const TAxisPixelMapping to_y = GetVertAxis()->LinearPixelMapping(false);
  const auto xs = XValues().StoredValues();
  const auto ys = YValues().StoredValues();
  const double x_multiplier = XValues().Multiplier(), y_multiplier = YValues().Multiplier();
  const int first = FirstVisibleIndex(), last = LastVisibleIndex();
  DrawPointAt(canvas, first, to_x(xs[first] * x_multiplier), to_y(ys[first] * y_multiplier));
  // A pixel column is one stretch of indexes only while the X pixels follow the index: the
  // stored values ascend and neither end of the range reaches the mapping's overflow guard.
  const bool ascending = XValues().StoredValuesAscend() && to_x.MapsInOrder(xs[first] * x_multiplier) &&
                         to_x.MapsInOrder(xs[last] * x_multiplier);
  ColumnRun run(canvas);
  run.Begin(last_drawn_x_, last_drawn_y_);
  int expected_length = 1;
  for (int index = first + 1; index <= last;) {
    const int x = to_x(xs[index] * x_multiplier);
    if (x != last_drawn_x_) {
      const int y = to_y(ys[index] * y_multiplier);
      run.Flush();
      canvas.DrawLineTo(x, y);
      run.Begin(x, y);
      last_drawn_x_ = x;
      last_drawn_y_ = y;
      ++index;
      continue;
    }
    const int end = ascending ? ColumnEnd(xs.data(), x_multiplier, to_x, x, index, last, expected_length) : index + 1;
    expected_length = end - index;
    constexpr int kDenseColumn = 4;
    if (end - index >= kDenseColumn) {
      if (const auto end_y = CoverDenseColumn(run, ys.data(), y_multiplier, to_y, index, end, last_drawn_y_)) {
        last_drawn_y_ = *end_y;
        index = end;
        continue;
      }
    }
    int end_y = last_drawn_y_;
    for (; index < end; ++index) {
      const int y = to_y(ys[index] * y_multiplier);
      if (y != end_y) run.Extend(y);
      end_y = y;
    }
    last_drawn_y_ = end_y;
  }
  run.Flush();
}

void TFastLineSeries::PointAdded(int index) {
  if (auto_repaint_) {
    TChartSeries::PointAdded(index);
    return;
  }
  TChartCanvas* canvas = ChartCanvas();
  if (!canvas) return;
  canvas->Pen().Assign(line_pen_);
  const int from = index > 0 ? index - 1 : 0;
  const int from_x = PointScreenX(from), from_y = PointScreenY(from);
  DrawsInDepth() ? canvas->MovePenAtDepth(from_x, from_y, DepthBand().Middle) : canvas->MovePen(from_x, from_y);
  DrawPoint(index);
}

int TFastLineSeries::PointAtPixel(int x, int y) const {
  const int first = FirstVisibleIndex();
  // Points removed since the last paint are no longer there to be hit.
  const int last = std::min(LastVisibleIndex(), PointCount() - 1);
  if (first < 0 || last < 0) return -1;
  TPoint click{x, y};
  if (TChartCanvas* canvas = ChartCanvas()) click = canvas->UnprojectPixel(x, y, DepthBand().Middle);
  TPoint previous;
  for (int index = first; index <= last; ++index) {
    const TPoint point{PointScreenX(index), PointScreenY(index)};
    if (point == click) return index;
    // A segment is reported by the index of its left end.
    if (index > first && PointOnSegment(click, point, previous, 0)) return index - 1;
    previous = point;
  }
  return -1;
}

void TFastLineSeries::DrawLegendSymbol(int /*index*/, const TRect& rect) {
  TChartCanvas* canvas = ChartCanvas();
  if (!canvas) return;
  PrepareLinePen(*canvas);
  const int middle = static_cast<int>(std::floor((double(rect.Top) + rect.Bottom) / 2));
  canvas->DrawHorizontalLine(rect.Left, rect.Right, middle);
}
