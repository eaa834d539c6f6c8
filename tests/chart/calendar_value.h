// Date-time values of calendar dates for the chart engine's tests, worked out with the standard
// library's calendar rather than the runtime's date functions that the engine itself uses.
#pragma once

#include <chrono>

// Days since 30 December 1899 of the date y-m-d, plus hours as a fraction of its day.
inline double At(int y, unsigned m, unsigned d, double hours = 0) {
  using namespace std::chrono;
  const sys_days date{year{y} / month{m} / day{d}};
  return (date - sys_days{year{1899} / December / 30}).count() + hours / 24;
}
