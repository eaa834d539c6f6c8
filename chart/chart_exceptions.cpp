#include "chart/chart_exceptions.h"

#include <string>

ChartException AngleRangeError(const rtl::Text& what) {
  return ChartException(what + " Angle must be between 0 and 359 degrees");
}

ChartException Chart3DPercentError(int lowest, int highest) {
  return ChartException("3D effect percent must be between " + std::to_string(lowest) + " and " +
                        std::to_string(highest));
}
