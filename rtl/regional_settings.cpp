#include "rtl/regional_settings.h"

#include <cctype>
#include <cstdlib>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace rtl {
namespace {

template <size_t N>
std::array<Text, N> FromUtf8(const std::array<const char*, N>& names) {
  std::array<Text, N> result;
  for (size_t i = 0; i < N; ++i) result[i] = Windows1251FromUtf8(names[i]);
  return result;
}

// One strftime conversion ("%d", "%-m", "%e"...) as our format letters; empty for the rest.
Text DatePart(char conversion) {
  switch (conversion) {
    case 'd': return "dd";
    case 'e': return "d";
    case 'm': return "MM";
    case 'Y': return "yyyy";
    case 'y': return "yy";
    case 'b': case 'h': return "MMM";
    case 'B': return "MMMM";
    case 'a': return "ddd";
    case 'A': return "dddd";
    case 'D': return "MM/dd/yy";
    case 'F': return "yyyy-MM-dd";
    case '%': return "'%'";
    default: return "";
  }
}

struct TimeShape {
  bool leading_zero = false;
  bool twelve_hour = false;
  bool am_pm_first = false;
  char separator = ':';
};

TimeShape ShapeOfTimePattern(std::string_view pattern) {
  TimeShape shape;
  bool seen_hour = false;
  bool separator_found = false;
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      if (seen_hour && !separator_found && pattern[i] != ' ') {
        shape.separator = pattern[i];
        separator_found = true;
      }
      continue;
    }
    size_t at = i + 1;
    const bool no_padding = pattern[at] == '-' && at + 1 < pattern.size();
    if (no_padding) ++at;
    const char conversion = pattern[at];
    i = at;
    if (conversion == 'p' || conversion == 'P') {
      shape.twelve_hour = true;
      if (!seen_hour) shape.am_pm_first = true;
    } else if (conversion == 'H' || conversion == 'I' || conversion == 'k' || conversion == 'l') {
      if (seen_hour) continue;
      seen_hour = true;
      shape.leading_zero = !no_padding && (conversion == 'H' || conversion == 'I');
      if (conversion == 'I' || conversion == 'l') shape.twelve_hour = true;
    } else if (conversion == 'T' || conversion == 'R') {
      seen_hour = true;
      shape.leading_zero = true;
      separator_found = true;
    }
  }
  return shape;
}

#ifdef _WIN32

}  // namespace

Text LocaleText(unsigned long type) {
  char buffer[128] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return Text();
  return Text(buffer);
}

namespace {

RegionalSettings SystemRegionalSettings() {
  RegionalSettings s = RussianRegionalSettings();
  const Text short_date = LocaleText(LOCALE_SSHORTDATE);
  if (short_date.empty()) return s;
  s.short_date_format = short_date;
  const Text date_separator = LocaleText(LOCALE_SDATE);
  const Text time_separator = LocaleText(LOCALE_STIME);
  if (!date_separator.empty()) s.date_separator = date_separator[0];
  if (!time_separator.empty()) s.time_separator = time_separator[0];
  s.time_am_string = LocaleText(LOCALE_S1159);
  s.time_pm_string = LocaleText(LOCALE_S2359);
  s.long_time_format = BuildLongTimeFormat(LocaleText(LOCALE_ITLZERO) == "1", LocaleText(LOCALE_ITIME) == "0",
                                           LocaleText(LOCALE_ITIMEMARKPOSN) == "1");
  for (int i = 0; i < 12; ++i) {
    s.short_month_names[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i);
    s.long_month_names[i] = LocaleText(LOCALE_SMONTHNAME1 + i);
  }
  // The locale counts days from Monday; our names start on Sunday.
  for (int i = 0; i < 7; ++i) {
    s.short_day_names[(i + 1) % 7] = LocaleText(LOCALE_SABBREVDAYNAME1 + i);
    s.long_day_names[(i + 1) % 7] = LocaleText(LOCALE_SDAYNAME1 + i);
  }
  return s;
}

#else

// The locale name that decides LC_TIME, by the POSIX order of the environment variables.
Text TimeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return Text();
}

Text NameFromLocale(const char* name, bool utf8) { return utf8 ? Windows1251FromUtf8(name) : Text(name); }

void ReadNames(locale_t locale, RegionalSettings& s) {
  const bool utf8 = Text(nl_langinfo_l(CODESET, locale)) == "UTF-8";
  for (int i = 0; i < 12; ++i) {
    s.short_month_names[i] = NameFromLocale(nl_langinfo_l(ABMON_1 + i, locale), utf8);
    s.long_month_names[i] = NameFromLocale(nl_langinfo_l(MON_1 + i, locale), utf8);
  }
  for (int i = 0; i < 7; ++i) {
    s.short_day_names[i] = NameFromLocale(nl_langinfo_l(ABDAY_1 + i, locale), utf8);
    s.long_day_names[i] = NameFromLocale(nl_langinfo_l(DAY_1 + i, locale), utf8);
  }
}

RegionalSettings SystemRegionalSettings() {
  const Text name = TimeLocaleName();
  if (IsNeutralLocaleName(name)) return RussianRegionalSettings();
  const locale_t locale = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  // A locale named but not installed is no regional choice the program can follow.
  if (locale == static_cast<locale_t>(nullptr)) return RussianRegionalSettings();
  const bool utf8 = Text(nl_langinfo_l(CODESET, locale)) == "UTF-8";
  RegionalSettings s = RegionalSettingsFromPosixFormats(
      nl_langinfo_l(D_FMT, locale), nl_langinfo_l(T_FMT, locale), nl_langinfo_l(T_FMT_AMPM, locale),
      NameFromLocale(nl_langinfo_l(AM_STR, locale), utf8), NameFromLocale(nl_langinfo_l(PM_STR, locale), utf8));
  ReadNames(locale, s);
  freelocale(locale);
  return s;
}

#endif

std::unique_ptr<RegionalSettings>& SettingsInForce() {
  static std::unique_ptr<RegionalSettings> settings;
  return settings;
}

}  // namespace

Text BuildLongTimeFormat(bool hour_leading_zero, bool twelve_hour_clock, bool am_pm_first) {
  const Text time = Text(hour_leading_zero ? "hh" : "h") + ":mm:ss";
  if (!twelve_hour_clock) return time;
  return am_pm_first ? "ampm " + time : time + " ampm";
}

RegionalSettings RussianRegionalSettings() {
  RegionalSettings s;
  s.short_month_names = FromUtf8<12>({"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт",
                                      "ноя", "дек"});
  s.long_month_names = FromUtf8<12>({"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август",
                                     "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"});
  s.short_day_names = FromUtf8<7>({"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"});
  s.long_day_names = FromUtf8<7>({"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница",
                                  "суббота"});
  return s;
}

RegionalSettings RegionalSettingsFromPosixFormats(std::string_view date_pattern, std::string_view time_pattern,
                                                  std::string_view twelve_hour_pattern, const Text& am_string,
                                                  const Text& pm_string) {
  RegionalSettings s = RussianRegionalSettings();
  Text format;
  bool separator_found = false;
  for (size_t i = 0; i < date_pattern.size(); ++i) {
    const char c = date_pattern[i];
    if (c == '%' && i + 1 < date_pattern.size()) {
      const bool no_padding = date_pattern[i + 1] == '-' && i + 2 < date_pattern.size();
      i += no_padding ? 2 : 1;
      Text part = DatePart(date_pattern[i]);
      if (no_padding && part.size() == 2 && part[0] == part[1]) part.pop_back();
      if (part == "MM/dd/yy") s.date_separator = '/', separator_found = true;
      if (part == "yyyy-MM-dd") s.date_separator = '-', separator_found = true;
      format += part;
      continue;
    }
    if (!separator_found && !format.empty() && c != ' ') {
      s.date_separator = c;
      separator_found = true;
    }
    // Letters in the pattern are literal text, which our format has to quote.
    const bool letter = std::isalpha(static_cast<unsigned char>(c)) != 0;
    if (letter) format += '\'';
    format += c;
    if (letter) format += '\'';
  }
  if (!format.empty()) s.short_date_format = format;
  const std::string_view time = time_pattern == "%r" ? twelve_hour_pattern : time_pattern;
  const TimeShape shape = ShapeOfTimePattern(time.empty() ? std::string_view("%I:%M:%S %p") : time);
  s.time_separator = shape.separator;
  s.long_time_format = BuildLongTimeFormat(shape.leading_zero, shape.twelve_hour, shape.am_pm_first);
  s.time_am_string = am_string;
  s.time_pm_string = pm_string;
  return s;
}

bool IsNeutralLocaleName(std::string_view locale_name) {
  return locale_name.empty() || locale_name == "C" || locale_name == "POSIX" || locale_name.starts_with("C.");
}

const RegionalSettings& CurrentRegionalSettings() {
  auto& settings = SettingsInForce();
  if (!settings) settings = std::make_unique<RegionalSettings>(ReadSystemRegionalSettings());
  return *settings;
}

RegionalSettings ReadSystemRegionalSettings() { return SystemRegionalSettings(); }

void SetRegionalSettings(const RegionalSettings& settings) {
  SettingsInForce() = std::make_unique<RegionalSettings>(settings);
}

}  // namespace rtl
