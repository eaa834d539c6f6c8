// The lines of an axis drawing: the tick list that labels fill, the axis line, the outer,
// inner and minor ticks and the major and minor grid lines, drawn in that order through the
// frame's canvas after the labels.
#pragma once

#include <array>
#include <span>
#include <vector>

class TCustomChartAxis;
struct TFrameContext;

// Pixel positions along the axis where major ticks and grid lines go, in the order the labels
// were produced. Holds 2000 positions; further ones are ignored.
class TTickList {
 public:
  static constexpr int Capacity = 2000;

  void Add(int position) {
    if (count_ < Capacity) positions_[count_++] = position;
  }
  void Clear() { count_ = 0; }
  std::span<const int> Positions() const { return {positions_.data(), static_cast<std::size_t>(count_)}; }
  bool Empty() const { return count_ == 0; }

 private:
  std::array<int, Capacity> positions_{};
  int count_ = 0;
};

// Minor tick positions for the ticks p[0..k-1], MinorTickCount n between neighbours, only
// those strictly between StartPixel and EndPixel:
// - linear axes with k > 1 first get n positions beyond each outermost tick, spaced by
//   (p[1] - p[0]) / (n + 1), alternating p[0] - Nearest(j * g) and p[k-1] + Nearest(j * g);
// - then between p[i-1] and p[i]: linear p[i] - Nearest(j * (p[i] - p[i-1]) / (n + 1));
//   logarithmic v = PixelToValue(p[i-1]) stepped n times by (base * v - v) / (n + 1) while it
//   stays <= ScaleMaximum.
std::vector<int> MinorTickPositions(const TCustomChartAxis& axis, std::span<const int> ticks);

// Axis line, outer ticks, grid (or centred grid), inner ticks, minor ticks and minor grid, each
// with its own pen when that pen is visible. Uses AxisPosition, StartPixel and EndPixel of the
// axis and the frame's plot area.
void DrawAxisLines(TCustomChartAxis& axis, const TFrameContext& frame, std::span<const int> ticks);

// Grid positions: the ticks themselves, or with `centred` Nearest((p[i] + p[i-1]) / 2) for
// each pair of neighbours (one fewer than ticks).
std::vector<int> GridPositions(std::span<const int> ticks, bool centred);
