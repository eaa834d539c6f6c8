// The regional date and time conventions the program formats and reads dates with.
// They are read once at program start (Linux: the LC_TIME locale; Windows: the user's locale);
// where no regional choice was made (locale C, C.UTF-8, POSIX) the Russian conventions apply.
#pragma once

#include <array>
#include <string_view>

#include "rtl/text.h"

namespace rtl {

struct RegionalSettings {
  Text short_date_format = "dd.MM.yyyy";  // format of the date text
  Text long_time_format = "h:mm:ss";      // format of the time text, see BuildLongTimeFormat
  char date_separator = '.';              // what "/" in a format stands for
  char time_separator = ':';              // what ":" in a format stands for
  Text time_am_string = "AM";             // designators of a 12-hour clock
  Text time_pm_string = "PM";
  std::array<Text, 12> short_month_names;  // Windows-1251, January first
  std::array<Text, 12> long_month_names;
  std::array<Text, 7> short_day_names;  // Sunday first
  std::array<Text, 7> long_day_names;
};

// Hours as "h" or "hh" (by the leading-zero choice), then ":mm:ss"; on a 12-hour clock the
// designator "ampm" follows after a space, or precedes with a space when the region puts it first.
Text BuildLongTimeFormat(bool hour_leading_zero, bool twelve_hour_clock, bool am_pm_first);

// The conventions the program was made for: "dd.MM.yyyy", "." and ":", 24-hour clock,
// hours without leading zero, Russian month and day names.
RegionalSettings RussianRegionalSettings();

// Conventions from a POSIX locale's date and time formats (the strftime patterns D_FMT,
// T_FMT and T_FMT_AMPM, with "%r" in the time pattern standing for the 12-hour pattern).
// Names are left at the Russian ones; the caller fills them from the locale when it can.
RegionalSettings RegionalSettingsFromPosixFormats(std::string_view date_pattern, std::string_view time_pattern,
                                                  std::string_view twelve_hour_pattern, const Text& am_string,
                                                  const Text& pm_string);

// True for the locale names that mean "no regional choice": "", "C", "C.<codeset>", "POSIX".
bool IsNeutralLocaleName(std::string_view locale_name);

// Reads the system's settings now (the Linux LC_TIME locale, named by LC_ALL, LC_TIME or LANG;
// the Windows user locale). Neutral or unknown locales give RussianRegionalSettings().
RegionalSettings ReadSystemRegionalSettings();

#ifdef _WIN32
// One setting of the Windows user locale (`type` is an LCTYPE) in the ANSI code page; empty
// when the system gives none.
Text LocaleText(unsigned long type);
#endif

// The settings in force. Read from the system on first use and kept for the program's life.
const RegionalSettings& CurrentRegionalSettings();

// Replaces the settings in force (tests; a program reads the system's once).
void SetRegionalSettings(const RegionalSettings& settings);

}  // namespace rtl
