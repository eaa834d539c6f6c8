// Rounding rules of the chart engine. Pixel mappings, label counts and label placements
// use Nearest (halves to the even neighbour, the processor's default mode); panel margins
// use MulDiv (halves away from zero); label overlap and first label values truncate.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Nearest(2.5) = 2, Nearest(3.5) = 4, Nearest(-2.5) = -2. Values beyond the int range
// saturate instead of overflowing; NaN gives 0.
inline int Nearest(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded == rounded)) return 0;
  if (rounded >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (rounded <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

// Toward zero, saturating like Nearest.
inline int Trunc(double value) {
  if (!(value == value)) return 0;
  if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

namespace gdi {

// The platform's MulDiv: number * numerator / denominator with a 64-bit intermediate,
// rounded half away from zero: MulDiv(3, 817, 100) = 25 (24.51), MulDiv(1, 5, 2) = 3,
// MulDiv(-1, 5, 2) = -3. A zero denominator or a result outside the int range gives -1.
inline int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = std::int64_t(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -std::int64_t(denominator) : denominator;
  std::int64_t result = (magnitude + divisor / 2) / divisor;
  if (negative) result = -result;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}

}  // namespace gdi
