#include "rtl/regional_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(RegionalSettingsTest, LongTimeFormatFollowsClockChoices) {
  EXPECT_EQ(rtl::BuildLongTimeFormat(false, false, false), "h:mm:ss");
  EXPECT_EQ(rtl::BuildLongTimeFormat(true, false, false), "hh:mm:ss");
  EXPECT_EQ(rtl::BuildLongTimeFormat(false, true, false), "h:mm:ss ampm");
  EXPECT_EQ(rtl::BuildLongTimeFormat(true, true, true), "ampm hh:mm:ss");
}

TEST(RegionalSettingsTest, RussianConventions) {
  const rtl::RegionalSettings s = rtl::RussianRegionalSettings();
  EXPECT_EQ(s.short_date_format, "dd.MM.yyyy");
  EXPECT_EQ(s.long_time_format, "h:mm:ss");
  EXPECT_EQ(s.date_separator, '.');
  EXPECT_EQ(s.time_separator, ':');
  EXPECT_EQ(s.long_month_names[11], rtl::Windows1251FromUtf8("Декабрь"));
  EXPECT_EQ(s.short_day_names[0], rtl::Windows1251FromUtf8("Вс"));
}

TEST(RegionalSettingsTest, NeutralLocaleNames) {
  for (const char* name : {"", "C", "C.UTF-8", "C.utf8", "POSIX"}) EXPECT_TRUE(rtl::IsNeutralLocaleName(name)) << name;
  for (const char* name : {"ru_RU.UTF-8", "en_US", "de_DE@euro", "Ca"}) {
    EXPECT_FALSE(rtl::IsNeutralLocaleName(name)) << name;
  }
}

struct PosixCase {
  const char* date_pattern;
  const char* time_pattern;
  const char* short_date_format;
  char date_separator;
  const char* long_time_format;
  char time_separator;
};

class PosixFormatsTest : public testing::TestWithParam<PosixCase> {};

TEST_P(PosixFormatsTest, BecomeRegionalFormats) {
  const PosixCase& c = GetParam();
  const rtl::RegionalSettings s =
      rtl::RegionalSettingsFromPosixFormats(c.date_pattern, c.time_pattern, "%I:%M:%S %p", "AM", "PM");
  EXPECT_EQ(s.short_date_format, c.short_date_format);
  EXPECT_EQ(s.date_separator, c.date_separator);
  EXPECT_EQ(s.long_time_format, c.long_time_format);
  EXPECT_EQ(s.time_separator, c.time_separator);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, PosixFormatsTest,
    testing::Values(PosixCase{"%d.%m.%Y", "%H:%M:%S", "dd.MM.yyyy", '.', "hh:mm:ss", ':'},   // ru_RU
                    PosixCase{"%m/%d/%Y", "%r", "MM/dd/yyyy", '/', "hh:mm:ss ampm", ':'},   // en_US
                    PosixCase{"%d/%m/%y", "%T", "dd/MM/yy", '/', "hh:mm:ss", ':'},          // en_GB
                    PosixCase{"%Y-%m-%d", "%k.%M.%S", "yyyy-MM-dd", '-', "h:mm:ss", '.'},
                    PosixCase{"%F", "%p %l:%M:%S", "yyyy-MM-dd", '-', "ampm h:mm:ss", ':'},
                    PosixCase{"%-d.%-m.%Y", "%-H:%M:%S", "d.M.yyyy", '.', "h:mm:ss", ':'},
                    PosixCase{"%D", "%H:%M:%S", "MM/dd/yy", '/', "hh:mm:ss", ':'}));

TEST(RegionalSettingsTest, SetReplacesTheSettingsInForce) {
  rtl::RegionalSettings s = rtl::RussianRegionalSettings();
  s.short_date_format = "yyyy-MM-dd";
  rtl::SetRegionalSettings(s);
  EXPECT_EQ(rtl::CurrentRegionalSettings().short_date_format, "yyyy-MM-dd");
  rtl::SetRegionalSettings(rtl::RussianRegionalSettings());
  EXPECT_EQ(rtl::CurrentRegionalSettings().short_date_format, "dd.MM.yyyy");
}

}  // namespace

namespace {

// A locale without a regional choice, or one that is not installed, means the Russian
// conventions the program was made for.
TEST(RegionalSettingsTest, NeutralOrMissingLocaleGivesRussianConventions) {
  for (const char* name : {"C", "C.UTF-8", "POSIX", "xx_NOWHERE.UTF-8"}) {
    setenv("LC_ALL", name, 1);
    const rtl::RegionalSettings s = rtl::ReadSystemRegionalSettings();
    EXPECT_EQ(s.short_date_format, "dd.MM.yyyy") << name;
    EXPECT_EQ(s.long_time_format, "h:mm:ss") << name;
    EXPECT_EQ(s.date_separator, '.') << name;
  }
  unsetenv("LC_ALL");
}

}  // namespace
