// The mapping of an axis from values to pixels, as a small object the axis hands out: the
// axis's working state read once, so that a loop over many points (the fast line) maps each
// one exactly as the axis's own ValueToPixel does, without a call per point.
// Values are in series units, pixels are device pixels along the axis; no operation fails.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// An offset of this many pixels or more from an axis end cannot be drawn; such values go to
// the axis's centre pixel instead.
inline constexpr double kPixelGuard = 2147483647.0;

// Where an offset along an axis lands: origin + direction * Nearest(offset), or the centre
// pixel when the offset reaches the guard (or is NaN) and when the pixel itself would leave
// the 32-bit range (an end pixel plus an offset just inside the guard). No offset overflows.
class TAxisPixelPlacement {
 public:
  // origin: the end pixel offsets count from; direction: +1 or -1, the way they count.
  TAxisPixelPlacement(int origin, int direction, int center) : origin_(origin), direction_(direction), center_(center) {}

  // The pixel `offset` pixels from the origin; false, leaving `pixel` alone, when a guard
  // sends it to the centre.
  bool PixelAtOffset(double offset, int& pixel) const {
    // Written as "not <" so that NaN is caught as well.
    if (!(std::fabs(offset) < kPixelGuard)) return false;
    const std::int64_t wide = origin_ + direction_ * RoundHalfEven(offset);
    if (wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max()) return false;
    pixel = static_cast<int>(wide);
    return true;
  }

  int PixelOrCenter(double offset) const {
    int pixel;
    return PixelAtOffset(offset, pixel) ? pixel : center_;
  }

  int Center() const { return center_; }

 private:
  // Nearest, halves to even: adding and removing 1.5 * 2^52 leaves no fraction bits, so the
  // sum rounds by the processor's mode, as nearbyint does (2.5 -> 2, 3.5 -> 4), and much
  // cheaper than a library call. Valid for |t| < 2^51, which the guard ensures. (Strict
  // floating point, the build's default, never folds the pair away.)
  static std::int64_t RoundHalfEven(double t) {
    constexpr double kShift = 6755399441055744.0;
    return static_cast<std::int64_t>((t + kShift) - kShift);
  }

  std::int64_t origin_;
  std::int64_t direction_;
  int center_;
};

// The linear mapping: offset = (value - minimum) * length / range, placed as above; a scale
// without range maps every value to the centre.
class TAxisPixelMapping {
 public:
  // minimum, range, length: the axis's ScaleMinimum, ScaleRange and AxisLength.
  TAxisPixelMapping(double minimum, double range, int length, TAxisPixelPlacement placement)
      : minimum_(minimum), range_(range), length_(length), placement_(placement) {}

  int operator()(double value) const {
    if (range_ == 0) return placement_.Center();
    return placement_.PixelOrCenter(Offset(value));
  }

  // The value's pixel is its own, not the centre put in by a guard: pixels of such values
  // follow the values' order.
  bool MapsInOrder(double value) const {
    int pixel;
    return range_ == 0 || placement_.PixelAtOffset(Offset(value), pixel);
  }

 private:
  double Offset(double value) const { return (value - minimum_) * length_ / range_; }

  double minimum_;
  double range_;
  int length_;
  TAxisPixelPlacement placement_;
};
