// The date-time reader on any text under several regional conventions (the last input byte
// picks them). Properties: the throwing and the non-throwing reader agree; a value read lies
// in the calendar, and its date and time texts read back as the same moment to the second.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>

#include "fuzz/property.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"

namespace {

// Russian (the program's own), a 12-hour clock with the designator after the time, ISO
// order, and a designator before the time; all with four-digit years, so that a date text
// reads back as the same year.
const std::array<rtl::RegionalSettings, 4>& Conventions() {
  static const std::array<rtl::RegionalSettings, 4> conventions = {
      rtl::RussianRegionalSettings(),
      rtl::RegionalSettingsFromPosixFormats("%m/%d/%Y", "%r", "%I:%M:%S %p", "AM", "PM"),
      rtl::RegionalSettingsFromPosixFormats("%Y-%m-%d", "%H:%M:%S", "", "", ""),
      rtl::RegionalSettingsFromPosixFormats("%Y/%m/%d", "%r", "%p %I:%M:%S", "am", "pm"),
  };
  return conventions;
}

bool SameSecond(const rtl::DateTimeParts& a, const rtl::DateTimeParts& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

void CheckValue(rtl::DateTime value, const rtl::RegionalSettings& settings) {
  fuzz::Require(std::isfinite(value), "a value read is finite");
  const rtl::DateTimeParts parts = rtl::DecodeDateTime(value);
  fuzz::Require(parts.year >= 1 && parts.year <= 9999, "a value read lies in years 1..9999");
  const rtl::Text text = rtl::DateText(value, settings) + " " + rtl::TimeText(value, settings);
  rtl::DateTime again = 0;
  fuzz::Require(rtl::TryStrToDateTime(text, again, settings), "the texts of a value read can be read");
  fuzz::Require(SameSecond(rtl::DecodeDateTime(again), parts), "the texts of a value read give the same moment");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Two-digit years lie around the current one: a fixed clock keeps every run the same.
  rtl::SetClockForTesting([] { return rtl::EncodeDate(2026, 12, 8); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const rtl::RegionalSettings& settings = Conventions()[input.ConsumeIntegralInRange<std::size_t>(0, 3)];
  const rtl::Text text = input.ConsumeRemainingBytesAsString();
  rtl::DateTime value = 0;
  const bool read = rtl::TryStrToDateTime(text, value, settings);
  try {
    const rtl::DateTime thrown = rtl::StrToDateTime(text, settings);
    fuzz::Require(read && thrown == value, "StrToDateTime reads what TryStrToDateTime reads");
  } catch (const rtl::ConvertError&) {
    fuzz::Require(!read, "StrToDateTime refuses only what TryStrToDateTime refuses");
  }
  if (read) CheckValue(value, settings);
  return 0;
}
