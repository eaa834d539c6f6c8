#include "chart/label_sequence.h"

#include <cmath>

#include "chart/rounding.h"

namespace {

// The lowest label may sit a hair below the minimum, so rounding in value - step does not
// drop the label at the minimum itself. Dividing a negative minimum by 1.000000000001 would
// move the bound above it (-5 gives -4.999999999996, losing the label at -5), so a negative
// minimum is multiplied instead.
double LowestLabelValue(double minimum) {
  const double lowered = minimum - 1e-12;
  return minimum >= 0 ? lowered / 1.000000000001 : lowered * 1.000000000001;
}

constexpr double CustomLabelTolerance = 1e-7;

bool IsCalendarAxis(const LabelScale& scale) { return scale.DateTime && scale.ExactDateTime; }

double FirstLinearLabel(const LabelScale& scale, double step, TDateTimeStep calendar_step) {
  if (IsCalendarAxis(scale) && calendar_step >= dtOneDay && calendar_step <= dtOneYear) {
    return TruncateToStepStart(calendar_step, scale.Maximum);
  }
  if (scale.Minimum == scale.Maximum || !scale.RoundFirstLabel) return scale.Maximum;
  // std::trunc, not the int Trunc: Maximum / step may exceed the int range.
  return std::trunc(scale.Maximum / step) * step;
}

}  // namespace

void EmitLinearLabels(const LabelScale& scale, double step, TDateTimeStep calendar_step,
                      const LabelAction& on_label) {
  const double steps_in_range = std::abs((scale.Maximum - scale.Minimum) / step);
  if (!std::isfinite(step) || !(steps_in_range < MaximumLabelSteps)) return;
  const bool calendar = IsCalendarAxis(scale);
  double value = FirstLinearLabel(scale, step, calendar_step);
  while (value > scale.Maximum) {
    const double previous = StepBack(value, calendar_step, step, calendar);
    if (!(previous < value)) return;
    value = previous;
  }
  const double lowest = LowestLabelValue(scale.Minimum);
  // A range of zero emits the labels of the ~1e-12 band below the value; the count stays
  // within the same bound as the steps of a range.
  for (int emitted = 0; value >= lowest && emitted <= MaximumLabelSteps; ++emitted) {
    on_label(value);
    const double previous = StepBack(value, calendar_step, step, calendar);
    if (!(previous < value)) return;
    value = previous;
  }
}

double LogarithmicScaleMinimum(double minimum) {
  if (minimum > 0) return minimum;
  return minimum == 0 ? 0.1 : 1e-10;
}

void EmitLogarithmicLabels(double minimum, double maximum, int base, const LabelAction& on_label) {
  if (minimum == maximum || base < 2) return;
  const double working_minimum = LogarithmicScaleMinimum(minimum);
  double value = minimum > 0 ? std::pow(base, Nearest(std::log(minimum) / std::log(base))) : working_minimum;
  // An infinite maximum would be reached by no power; stop once the powers overflow.
  for (; value <= maximum && std::isfinite(value); value *= base) {
    if (value >= working_minimum) on_label(value);
  }
}

bool EmitCustomLabels(double minimum, double maximum, const NextLabelQuery& next_label,
                      const LabelAction& on_label) {
  double value = minimum;
  bool stop = true;
  for (int index = 0; index <= MaximumCustomLabelIndex; ++index) {
    next_label(index, value, stop);
    if (stop) return index > 0;
    if (!(value >= minimum - CustomLabelTolerance && value <= maximum + CustomLabelTolerance)) return true;
    on_label(value);
  }
  return true;
}
