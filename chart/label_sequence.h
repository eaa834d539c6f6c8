// The values at which an axis draws its value labels, from the top of the range downward:
// linear steps (plain or calendar-exact), powers of the base on logarithmic axes, or values
// supplied one by one by the program's handler. Pure arithmetic over plain numbers; each value
// is handed to a caller-supplied action (the axis drawing puts a label there).
#pragma once

#include <functional>

#include "chart/date_time_steps.h"

using LabelAction = std::function<void(double value)>;

// The scale a linear sequence runs over (the axis' working state and flags).
struct LabelScale {
  double Minimum = 0;           // ScaleMinimum
  double Maximum = 0;           // ScaleMaximum
  bool DateTime = false;        // IsDateTimeScale
  bool ExactDateTime = true;    // calendar-exact steps on date-time axes
  bool RoundFirstLabel = true;  // first label at a whole multiple of the step
};

// More label steps than this in the range give no value labels at all.
inline constexpr double MaximumLabelSteps = 10000;

// Labels from the top down, step apart (calendar-exact for calendar_step dtHalfMonth..dtOneYear
// with ExactDateTime on a date-time axis). The first value is the start of the calendar step of
// Maximum (dtOneDay..dtOneYear, exact date-time), else Maximum when Minimum equals Maximum or
// RoundFirstLabel is off, else Trunc(Maximum / step) * step; it steps back until it is not above
// Maximum, and labels follow while value >= (Minimum - 1e-12) / 1.000000000001.
// Nothing when |range / step| >= 10000 or the step is not finite. The sequence also ends when a
// step back no longer lowers the value (a step below the precision of the values).
// 0..8 by 1: 8, 7, ..., 0. One value v (range 0) by 1e-12: starts at v itself.
void EmitLinearLabels(const LabelScale& scale, double step, TDateTimeStep calendar_step,
                      const LabelAction& on_label);

// The minimum a logarithmic sequence works with: powers never reach a minimum <= 0, so 0 is
// replaced by 0.1 and a negative minimum by 1e-10 (the axis keeps the replacement for the rest
// of the paint); a positive minimum stays.
double LogarithmicScaleMinimum(double minimum);

// Powers of base up to maximum, emitting those >= the working minimum
// (LogarithmicScaleMinimum). They start at base^Nearest(log_base(minimum)) for a positive
// minimum, else at the replaced minimum itself (0.1, 1, 10, ...). Nothing when minimum equals
// maximum or base < 2. 1..1000, base 10: 1, 10, 100, 1000; 3..1000: 1 (not emitted), 10, ...
void EmitLogarithmicLabels(double minimum, double maximum, int base, const LabelAction& on_label);

// The program's handler for the next label: it gets the label's index and may change the
// value (starting at the scale's minimum and carried from call to call) and stop (True before
// index 0 and carried as well). Stop left True at index 0 declines; later it ends the sequence.
using NextLabelQuery = std::function<void(int label_index, double& label_value, bool& stop)>;

// Indices asked of the handler run 0..MaximumCustomLabelIndex.
inline constexpr int MaximumCustomLabelIndex = 2000;

// Asks the handler for label after label and emits each value that lies within
// minimum - 1e-7 .. maximum + 1e-7; a value outside that band ends the sequence. Returns false,
// having emitted nothing, when the handler declines at index 0 (the caller then runs the
// normal sequence).
bool EmitCustomLabels(double minimum, double maximum, const NextLabelQuery& next_label,
                      const LabelAction& on_label);
