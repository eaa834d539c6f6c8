// Saving and restoring the side axes' ranges around a zoom or pan.
#include "chart/axis_ranges.h"

#include "chart/axis.h"

TSavedScales SaveAxisRanges(const TSideAxes& axes) {
  TSavedScales saved;
  for (std::size_t i = 0; i < axes.size(); ++i) {
    const TCustomChartAxis& axis = *axes[i];
    saved[i] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(), axis.Minimum(), axis.Maximum()};
  }
  return saved;
}

void RestoreAxisRanges(const TSideAxes& axes, const TSavedScales& saved) {
  for (std::size_t i = 0; i < axes.size(); ++i) {
    TCustomChartAxis& axis = *axes[i];
    // Automatic first: setting it also sets both automatic ends, which the saved ends then
    // override one by one.
    axis.SetAutomatic(saved[i].Automatic);
    axis.SetAutomaticMinimum(saved[i].AutomaticMinimum);
    axis.SetAutomaticMaximum(saved[i].AutomaticMaximum);
    if (!axis.Automatic()) axis.SetScaleRange(saved[i].Minimum, saved[i].Maximum);
  }
}
