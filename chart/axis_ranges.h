// The ranges of the four side axes as a zoom or pan found them, so that undoing the zoom
// can put back exactly what was there: automatic flags and both ends of each axis.
#pragma once

#include <array>

class TCustomChartAxis;

struct TSavedAxisScale {
  bool Automatic = true;
  bool AutomaticMinimum = true;
  bool AutomaticMaximum = true;
  double Minimum = 0;
  double Maximum = 0;
};

// The top, left, right and bottom axes, in this order.
using TSideAxes = std::array<TCustomChartAxis*, 4>;
using TSavedScales = std::array<TSavedAxisScale, 4>;

TSavedScales SaveAxisRanges(const TSideAxes& axes);
// Sets Automatic, AutomaticMinimum and AutomaticMaximum through their setters, then the
// saved ends of every axis that is not Automatic afterwards (an automatic axis takes its
// range from the series at the next paint).
void RestoreAxisRanges(const TSideAxes& axes, const TSavedScales& saved);
