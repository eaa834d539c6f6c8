// Errors of the chart engine: the exception classes and the fixed English texts of its
// string table. Setters raise them for invalid values and keep the old value.
#pragma once

#include "rtl/errors.h"
#include "rtl/text.h"

// A refused chart, series or panel setting.
class ChartException : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
};

// A refused axis setting.
class AxisException : public rtl::Exception {
 public:
  using rtl::Exception::Exception;
};

// The chart engine's message texts.
namespace chart_text {
inline constexpr char kAxisMinimum[] = "Axis Minimum Value must be <= Maximum";
inline constexpr char kAxisMaximum[] = "Axis Maximum Value must be >= Minimum";
inline constexpr char kAxisIncrement[] = "Axis increment must be >= 0";
inline constexpr char kLabelsSeparation[] = "Labels Separation % must be greater than 0";
inline constexpr char kLogarithmicBase[] = "Axis Logarithmic Base should be >= 2";
inline constexpr char kDateTimeLogarithmic[] = "DateTime Axis cannot be Logarithmic";
inline constexpr char kLogarithmicNegative[] = "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr char kAxisLabelsAngleWhat[] = "Axis Labels";
inline constexpr char kAxisTitleAngleWhat[] = "Axis Title";
inline constexpr char kFillSampleCount[] = "FillSampleValues NumValues must be > 0";
inline constexpr char kMaxPointsPerPage[] = "MaxPointsPerPage must be >= 0";
}  // namespace chart_text

// "%s Angle must be between 0 and 359 degrees" with what = "Axis Labels" or "Axis Title".
ChartException AngleRangeError(const rtl::Text& what);
// "3D effect percent must be between %d and %d".
ChartException Chart3DPercentError(int lowest, int highest);
