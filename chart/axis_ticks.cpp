// Axis line, ticks and grid.
#include "chart/axis_ticks.h"

#include "chart/axis.h"
#include "chart/axis_text.h"
#include "chart/canvas.h"
#include "chart/frame_context.h"
#include "chart/rounding.h"

namespace {

// What every line of one axis drawing needs: the axis and its side, the frame (wall size,
// depth of the back plane, plot area) and its canvas.
struct TLineContext {
  TCustomChartAxis& axis;
  const TFrameContext& frame;
  TChartCanvas& canvas;
  TAxisSide side;
  int wall;
  int depth;
};

void DrawAxisLine(const TLineContext& c) {
  const TCustomChartAxis& axis = c.axis;
  const int position = axis.AxisPosition();
  switch (c.side) {
    case TAxisSide::Bottom:
      // The left wall's room reaches under the bottom axis line's start.
      c.canvas.DrawHorizontalLine(axis.StartPixel() - c.wall, axis.EndPixel(), position + c.wall);
      break;
    case TAxisSide::Left:
      c.canvas.DrawVerticalLine(position - c.wall, axis.StartPixel(), axis.EndPixel() + c.wall);
      break;
    case TAxisSide::Top:
      c.canvas.DrawHorizontalLineAtDepth(axis.StartPixel(), axis.EndPixel(), position, c.depth);
      break;
    case TAxisSide::Right:
      // The depth axis has no line of its own in a flat chart; this one runs along its side.
      c.canvas.DrawVerticalLineAtDepth(position, axis.StartPixel(), axis.EndPixel(), c.depth);
      break;
  }
}

// One tick at p: `start` pixels beyond the axis line (1 outside, -1 inside), `length` long.
void DrawTick(const TLineContext& c, int p, int start, int length) {
  const int position = c.axis.AxisPosition();
  switch (c.side) {
    case TAxisSide::Bottom: {
      const int y = position + start + c.wall;
      c.canvas.DrawVerticalLineAtDepth(p, y, y + length, 0);
      break;
    }
    case TAxisSide::Left: {
      const int x = position - (start + c.wall);
      c.canvas.DrawHorizontalLineAtDepth(x, x - length, p, 0);
      break;
    }
    case TAxisSide::Top:
      c.canvas.DrawVerticalLineAtDepth(p, position - start, position - start - length, c.depth);
      break;
    case TAxisSide::Right:
      c.canvas.DrawHorizontalLineAtDepth(position + start, position + start + length, p, c.depth);
      break;
  }
}

void DrawTicks(const TLineContext& c, const TChartPen& pen, std::span<const int> positions, int start, int length) {
  c.canvas.ApplyChartPen(pen);
  for (const int p : positions) DrawTick(c, p, start, length);
}

// Grid lines cross the whole plot area on the back plane.
void DrawGridLines(const TLineContext& c, const TChartPen& grid, std::span<const int> positions) {
  c.canvas.Brush().SetStyle(bsClear);
  c.canvas.SetBackgroundMode(TRANSPARENT);
  TChartPen pen;
  pen.Assign(grid);
  if (pen.Color() == clDefault) pen.SetColor(clGray);
  c.canvas.ApplyChartPen(pen);
  c.frame.AdjustPenForPrinting(c.canvas.Pen());
  const TRect& plot = c.frame.plot_area;
  for (const int p : positions) {
    if (c.axis.IsHorizontal())
      c.canvas.DrawVerticalLineAtDepth(p, plot.Top, plot.Bottom, c.depth);
    else
      c.canvas.DrawHorizontalLineAtDepth(plot.Left, plot.Right, p, c.depth);
  }
  c.canvas.SetBackgroundMode(OPAQUE);
}

void AddIfInside(const TCustomChartAxis& axis, std::vector<int>& positions, int p) {
  if (axis.StartPixel() < p && p < axis.EndPixel()) positions.push_back(p);
}

void AddLogarithmicBetween(const TCustomChartAxis& axis, std::vector<int>& positions, int lower_tick) {
  double v = axis.PixelToValue(lower_tick);
  const double d = (axis.LogarithmicBase() * v - v) / (axis.MinorTickCount() + 1);
  for (int j = 1; j <= axis.MinorTickCount(); ++j) {
    v += d;
    if (v > axis.ScaleMaximum()) break;
    AddIfInside(axis, positions, axis.ValueToPixel(v));
  }
}

}  // namespace

std::vector<int> MinorTickPositions(const TCustomChartAxis& axis, std::span<const int> ticks) {
  std::vector<int> positions;
  const int n = axis.MinorTickCount();
  const std::size_t k = ticks.size();
  if (k > 1 && !axis.Logarithmic()) {
    const double g = double(ticks[1] - ticks[0]) / (n + 1);
    for (int j = 1; j <= n; ++j) {
      AddIfInside(axis, positions, ticks[0] - Nearest(j * g));
      AddIfInside(axis, positions, ticks[k - 1] + Nearest(j * g));
    }
  }
  for (std::size_t i = 1; i < k; ++i) {
    if (axis.Logarithmic()) {
      AddLogarithmicBetween(axis, positions, ticks[i - 1]);
      continue;
    }
    const double gap = ticks[i] - ticks[i - 1];
    for (int j = 1; j <= n; ++j) AddIfInside(axis, positions, ticks[i] - Nearest(j * gap / (n + 1)));
  }
  return positions;
}

std::vector<int> GridPositions(std::span<const int> ticks, bool centred) {
  if (!centred) return {ticks.begin(), ticks.end()};
  std::vector<int> positions;
  for (std::size_t i = 1; i < ticks.size(); ++i) positions.push_back(Nearest((ticks[i] + ticks[i - 1]) * 0.5));
  return positions;
}

void DrawAxisLines(TCustomChartAxis& axis, const TFrameContext& frame, std::span<const int> ticks) {
  const TLineContext c{axis, frame, frame.canvas, AxisSide(axis), frame.wall_size, frame.depth};
  if (axis.Axis().Visible()) {
    c.canvas.ApplyChartPen(axis.Axis());
    DrawAxisLine(c);
  }
  if (axis.Ticks().Visible()) DrawTicks(c, axis.Ticks(), ticks, 1, axis.TickLength());
  if (axis.Grid().Visible()) DrawGridLines(c, axis.Grid(), GridPositions(ticks, axis.GridCentered()));
  if (axis.TicksInner().Visible()) DrawTicks(c, axis.TicksInner(), ticks, -1, -axis.TickInnerLength());
  if (ticks.empty()) return;
  const bool minor_ticks = axis.MinorTicks().Visible();
  const bool minor_grid = axis.MinorGrid().Visible();
  if (!minor_ticks && !minor_grid) return;
  const std::vector<int> minor = MinorTickPositions(axis, ticks);
  if (minor_ticks) DrawTicks(c, axis.MinorTicks(), minor, 1, axis.MinorTickLength());
  if (minor_grid) DrawGridLines(c, axis.MinorGrid(), minor);
}
