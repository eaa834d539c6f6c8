#include "chart/label_steps.h"

#include <algorithm>
#include <cmath>

#include "chart/date_time_steps.h"
#include "chart/rounding.h"

namespace {

// Ratios from here on no longer fit the label counter; the step just keeps growing.
constexpr double LargestCountableRatio = 2147483647;

}  // namespace

namespace {

// v * 10^exponent with the power held exactly where a double can (|exponent| <= 22), so that
// 2e-12 comes out as the double nearest to 2e-12, which repeated multiplying by 0.1 misses.
double ScaleByPowerOfTen(double v, int exponent) {
  if (exponent > 300 || exponent < -300) {
    const int half = exponent / 2;
    return ScaleByPowerOfTen(ScaleByPowerOfTen(v, half), exponent - half);
  }
  return exponent >= 0 ? v * std::pow(10.0, exponent) : v / std::pow(10.0, -exponent);
}

// The 1-2-5 value above x: the mantissa of x in [1, 10) picks 2, 5 or 10 of the same decade.
// 0.3 -> mantissa 3 -> 5 -> 0.5; 20 -> 2 -> 5 -> 50.
double NiceStepAbove(double x) {
  int exponent = static_cast<int>(std::floor(std::log10(x)));
  double mantissa = ScaleByPowerOfTen(x, -exponent);
  // log10 may land one decade off right at a power of ten.
  if (mantissa >= 10) {
    ++exponent;
    mantissa = ScaleByPowerOfTen(x, -exponent);
  } else if (mantissa < 1) {
    --exponent;
    mantissa = ScaleByPowerOfTen(x, -exponent);
  }
  const double nice = mantissa < 2 ? 2 : mantissa < 5 ? 5 : 10;
  return ScaleByPowerOfTen(nice, exponent);
}

}  // namespace

double NextNiceStep(double x) {
  if (!(x > 0) || !std::isfinite(x)) return x;
  const double step = NiceStepAbove(x);
  // Should scaling round x's mantissa down onto the nice value itself, nudging past it keeps
  // the search moving up the series.
  return step > x ? step : NiceStepAbove(x * (1 + 1e-9));
}

int LabelCount(int label_size, int axis_length, int labels_separation) {
  if (label_size <= 0) return 1;
  const int gap = labels_separation > 0 ? Nearest(labels_separation * 0.01 * label_size) : 0;
  return Nearest(static_cast<double>(axis_length) / (label_size + gap));
}

double NumericLabelStep(double increment, double scale_range, int labels_separation, int count) {
  double step = increment > 0 ? increment : std::abs(scale_range) >= 1 ? 1.0 : SmallestNumericStep;
  if (labels_separation > 0) {
    // Before the first pass n stands above count, so a ratio too large to count grows the
    // step until it can be counted.
    double labels = static_cast<double>(count) + 1;
    do {
      const double ratio = scale_range / step;
      if (std::abs(ratio) < LargestCountableRatio) {
        labels = std::nearbyint(ratio);
        if (labels > count) step = NextNiceStep(step);
      } else {
        step = NextNiceStep(step);
      }
    } while (labels > count && std::isfinite(step));
  }
  return std::max(step, SmallestNumericStep);
}

double LabelStepForCount(int count, bool is_date_time, double increment, double scale_range,
                         int labels_separation) {
  if (count < 1) return is_date_time ? OneSecond : SmallestNumericStep;
  if (is_date_time) return DateTimeLabelStep(increment, scale_range, count);
  return NumericLabelStep(increment, scale_range, labels_separation, count);
}
