// The step between the value labels of an axis: how many labels of a measured size fit the
// axis length, and the smallest "nice" step (1, 2, 5 times a power of ten, or a calendar step
// on date-time axes) that keeps the labels within that count. Pure arithmetic over plain
// numbers; chart/axis_labels.h feeds it from an axis and a canvas.
#pragma once

// 1, 2, 5, 10, 20, 50, ...: the next step of that series above x; x between two of them goes
// to the upper one (3 -> 5, 0.3 -> 0.5). x must be positive and finite; other x come back
// unchanged.
double NextNiceStep(double x);

// Labels that fit axis_length pixels when each takes label_size pixels plus a gap of
// labels_separation percent of label_size: Nearest(axis_length / (size + gap)), with the gap
// Nearest(separation * 0.01 * size) when labels_separation > 0. A size <= 0 gives 1.
// 200 pixels of 13-pixel labels, separation 10: gap Nearest(1.3) = 1, count Nearest(14.28) = 14.
int LabelCount(int label_size, int axis_length, int labels_separation);

// Step of a numeric axis: from increment (when > 0), else 1 when |scale_range| >= 1, else 1e-12;
// when labels_separation > 0, grown by NextNiceStep until Nearest(scale_range / step) <= count
// (a ratio beyond the int range always grows the step). At least 1e-12.
// 0..65 with count 14: 1 gives 65, 2 gives Nearest(32.5) = 32, 5 gives 13: step 5.
double NumericLabelStep(double increment, double scale_range, int labels_separation, int count);

inline constexpr double SmallestNumericStep = 1e-12;

// The label step for a label count: below 1 the smallest step (one second on date-time axes,
// 1e-12 otherwise), else DateTimeLabelStep or NumericLabelStep.
double LabelStepForCount(int count, bool is_date_time, double increment, double scale_range,
                         int labels_separation);
