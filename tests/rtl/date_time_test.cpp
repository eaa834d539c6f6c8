#include "rtl/date_time.h"

#include <gtest/gtest.h>

#include "rtl/errors.h"

namespace {

rtl::RegionalSettings Russian() { return rtl::RussianRegionalSettings(); }

// A 12-hour clock with the designator after the time and month-first dates, as in the US.
rtl::RegionalSettings TwelveHour() {
  rtl::RegionalSettings s = rtl::RussianRegionalSettings();
  s.short_date_format = "M/d/yyyy";
  s.date_separator = '/';
  s.long_time_format = rtl::BuildLongTimeFormat(false, true, false);
  s.time_am_string = "AM";
  s.time_pm_string = "PM";
  return s;
}

rtl::DateTime At(int year, unsigned month, unsigned day, unsigned hour, unsigned minute, unsigned second) {
  return rtl::EncodeDate(year, month, day) + rtl::EncodeTime(hour, minute, second, 0);
}

TEST(DateTimeValueTest, CountsDaysFromTheLastDaysOf1899) {
  EXPECT_EQ(rtl::EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(rtl::EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(rtl::EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(rtl::EncodeDate(2026, 12, 8), 46364.0);
  EXPECT_EQ(rtl::EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(rtl::EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTimeValueTest, DatesBeforeDayZeroSubtractTheTime) {
  rtl::DateTimeParts parts;
  parts.year = 1899, parts.month = 12, parts.day = 29, parts.hour = 6;
  EXPECT_EQ(rtl::EncodeDateTime(parts), -1.25);
  const rtl::DateTimeParts back = rtl::DecodeDateTime(-1.25);
  EXPECT_EQ(back.day, 29u);
  EXPECT_EQ(back.hour, 6u);
}

TEST(DateTimeValueTest, DecodeRoundsToTheMillisecondAcrossMidnight) {
  const rtl::DateTimeParts parts = rtl::DecodeDateTime(rtl::EncodeDate(2026, 12, 8) + 0.99999999999);
  EXPECT_EQ(parts.day, 9u);
  EXPECT_EQ(parts.hour, 0u);
  EXPECT_EQ(parts.second, 0u);
  const rtl::DateTimeParts tuesday = rtl::DecodeDateTime(At(2026, 12, 8, 9, 5, 7));
  EXPECT_EQ(tuesday.day_of_week, 2u);
  EXPECT_EQ(tuesday.minute, 5u);
  EXPECT_EQ(tuesday.second, 7u);
}

TEST(DateTimeValueTest, EncodeRefusesImpossibleDatesAndTimes) {
  EXPECT_THROW(rtl::EncodeDate(2026, 2, 29), rtl::ConvertError);
  EXPECT_THROW(rtl::EncodeDate(2026, 13, 1), rtl::ConvertError);
  EXPECT_THROW(rtl::EncodeDate(0, 1, 1), rtl::ConvertError);
  EXPECT_THROW(rtl::EncodeTime(24, 0, 0, 0), rtl::ConvertError);
  EXPECT_EQ(rtl::EncodeDate(2024, 2, 29), 45351.0);
}

// The named calendar edges are the days the encoder accepts first and last, and every value
// of the last day, up to its final millisecond, stays below the end.
TEST(DateTimeValueTest, CalendarEdgesAreTheFirstAndLastEncodableDays) {
  EXPECT_EQ(rtl::EncodeDate(1, 1, 1), rtl::kFirstCalendarDay);
  EXPECT_EQ(rtl::EncodeDate(9999, 12, 31), rtl::kLastCalendarDay);
  EXPECT_THROW(rtl::EncodeDate(10000, 1, 1), rtl::ConvertError);
  EXPECT_LT(rtl::EncodeDate(9999, 12, 31) + rtl::EncodeTime(23, 59, 59, 999), rtl::kEndOfCalendar);
  const rtl::DateTimeParts epoch = rtl::DecodeDateTime(0);
  EXPECT_EQ(std::chrono::year_month_day(rtl::kDateTimeEpoch),
            std::chrono::year{epoch.year} / std::chrono::month{epoch.month} / std::chrono::day{epoch.day});
}

struct FormatCase {
  const char* format;
  const char* text;
};

class FormatRussianTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatRussianTest, Formats9h05m07sOn8December2026) {
  const rtl::RegionalSettings s = Russian();
  EXPECT_EQ(rtl::FormatDateTime(GetParam().format, At(2026, 12, 8, 9, 5, 7) + 0.123 / 86400, s),
            GetParam().text)
      << GetParam().format;
}

INSTANTIATE_TEST_SUITE_P(
    Specifiers, FormatRussianTest,
    testing::Values(FormatCase{"dd.MM.yyyy", "08.12.2026"}, FormatCase{"d.m.yy", "8.12.26"},
                    FormatCase{"hh:mm", "09:05"}, FormatCase{"h:mm:ss", "9:05:07"}, FormatCase{"h:n:s", "9:5:7"},
                    FormatCase{"hh:nn:ss.zzz", "09:05:07.123"}, FormatCase{"d/m/yyyy", "8.12.2026"},
                    FormatCase{"yyyy-mm-dd", "2026-12-08"}, FormatCase{"'mm' mm", "mm 12"},
                    FormatCase{"\"hh\"hh", "hh09"}, FormatCase{"h am/pm", "9 am"}, FormatCase{"h A/P", "9 A"},
                    FormatCase{"hh ampm", "09 AM"}, FormatCase{"t", "9:05"}, FormatCase{"tt", "9:05:07"},
                    FormatCase{"c", "08.12.2026 9:05:07"}, FormatCase{"ddddd", "08.12.2026"},
                    FormatCase{"x-q!", "x-q!"}, FormatCase{"'open", "open"}, FormatCase{"", ""}));

TEST(FormatDateTimeTest, NamesComeFromTheRegionalSettings) {
  const rtl::RegionalSettings s = Russian();
  EXPECT_EQ(rtl::FormatDateTime("dddd, d mmmm", At(2026, 12, 8, 0, 0, 0), s),
            rtl::Windows1251FromUtf8("вторник, 8 Декабрь"));
  EXPECT_EQ(rtl::FormatDateTime("ddd mmm", At(2026, 12, 8, 0, 0, 0), s), rtl::Windows1251FromUtf8("Вт дек"));
}

TEST(FormatDateTimeTest, CombinedFormatOmitsMidnight) {
  EXPECT_EQ(rtl::FormatDateTime("c", rtl::EncodeDate(2026, 12, 8), Russian()), "08.12.2026");
}

TEST(FormatDateTimeTest, TwelveHourClockShowsMiddayAndMidnightAsTwelve) {
  const rtl::RegionalSettings s = TwelveHour();
  EXPECT_EQ(rtl::TimeText(At(2026, 12, 8, 0, 5, 7), s), "12:05:07 AM");
  EXPECT_EQ(rtl::TimeText(At(2026, 12, 8, 12, 0, 0), s), "12:00:00 PM");
  EXPECT_EQ(rtl::TimeText(At(2026, 12, 8, 21, 5, 7), s), "9:05:07 PM");
  EXPECT_EQ(rtl::DateText(At(2026, 12, 8, 21, 5, 7), s), "12/8/2026");
}

TEST(FormatDateTimeTest, RegionalSeparatorsReplaceSlashAndColon) {
  rtl::RegionalSettings s = Russian();
  s.date_separator = '-';
  s.time_separator = '.';
  EXPECT_EQ(rtl::FormatDateTime("dd/mm/yyyy hh:nn", At(2026, 12, 8, 9, 5, 7), s), "08-12-2026 09.05");
}

TEST(FormatDateTimeTest, RussianTextsOfTheExampleStop) {
  const rtl::RegionalSettings s = Russian();
  EXPECT_EQ(rtl::DateText(At(2026, 12, 8, 9, 5, 7), s), "08.12.2026");
  EXPECT_EQ(rtl::TimeText(At(2026, 12, 8, 9, 5, 7), s), "9:05:07");
  EXPECT_EQ(rtl::TimeText(At(2026, 12, 8, 19, 5, 7), s), "19:05:07");
}

struct ReadCase {
  const char* text;
  rtl::DateTime value;
};

class ReadRussianTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadRussianTest, ReadsCaption) {
  EXPECT_DOUBLE_EQ(rtl::StrToDateTime(GetParam().text, Russian()), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Captions, ReadRussianTest,
    testing::Values(ReadCase{"08.12.2026  9:05:07", At(2026, 12, 8, 9, 5, 7)},
                    ReadCase{"08.12.2026 9:05:07", At(2026, 12, 8, 9, 5, 7)},
                    ReadCase{"8.12.2026 09:05", At(2026, 12, 8, 9, 5, 0)},
                    ReadCase{"  08.12.2026 23:59:59  ", At(2026, 12, 8, 23, 59, 59)},
                    ReadCase{"29.12.1899 6:00", -1.25}, ReadCase{"9:05:07", rtl::EncodeTime(9, 5, 7, 0)},
                    ReadCase{"9:05 pm", rtl::EncodeTime(21, 5, 0, 0)},
                    ReadCase{"AM 12:30", rtl::EncodeTime(0, 30, 0, 0)}));

TEST(StrToDateTimeTest, TwoDigitYearsLieAroundTheCurrentYear) {
  rtl::SetClockForTesting([] { return rtl::EncodeDate(2026, 6, 1); });
  EXPECT_EQ(rtl::DecodeDateTime(rtl::StrToDateTime("08.12.26 1:00", Russian())).year, 2026);
  EXPECT_EQ(rtl::DecodeDateTime(rtl::StrToDateTime("08.12.76 1:00", Russian())).year, 1976);
  EXPECT_EQ(rtl::DecodeDateTime(rtl::StrToDateTime("08.12.75 1:00", Russian())).year, 2075);
  rtl::SetClockForTesting({});
}

TEST(StrToDateTimeTest, TwelveHourCaptionsInMonthFirstOrder) {
  const rtl::RegionalSettings s = TwelveHour();
  EXPECT_DOUBLE_EQ(rtl::StrToDateTime("12/8/2026  9:05:07 PM", s), At(2026, 12, 8, 21, 5, 7));
  EXPECT_DOUBLE_EQ(rtl::StrToDateTime("12/8/2026 12:05:07 AM", s), At(2026, 12, 8, 0, 5, 7));
  EXPECT_DOUBLE_EQ(rtl::StrToDateTime(rtl::DateText(At(2026, 1, 2, 13, 0, 0), s) + "  " +
                                          rtl::TimeText(At(2026, 1, 2, 13, 0, 0), s), s),
                   At(2026, 1, 2, 13, 0, 0));
}

TEST(StrToDateTimeTest, YearFirstOrder) {
  rtl::RegionalSettings s = Russian();
  s.short_date_format = "yyyy-MM-dd";
  s.date_separator = '-';
  EXPECT_DOUBLE_EQ(rtl::StrToDateTime("2026-12-08 9:05:07", s), At(2026, 12, 8, 9, 5, 7));
}

class ReadRefusedTest : public testing::TestWithParam<const char*> {};

TEST_P(ReadRefusedTest, ThrowsWithTheText) {
  const std::string text = GetParam();
  try {
    rtl::StrToDateTime(text, Russian());
    FAIL() << "accepted " << text;
  } catch (const rtl::ConvertError& error) {
    EXPECT_STREQ(error.what(), ("'" + text + "' is not a valid date and time").c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(Refused, ReadRefusedTest,
                         testing::Values("", "08.12.2026", "31.02.2026 1:00", "08.12.2026 24:00",
                                         "08.12.2026 9:60", "08/12/2026 9:05", "9", "13:00 PM", "0:30 AM",
                                         "08.12.2026 9:05 x", "Время", "9:05:07:01"));

TEST(NowTest, FollowsTheTestClock) {
  rtl::SetClockForTesting([] { return 46364.5; });
  EXPECT_EQ(rtl::Now(), 46364.5);
  rtl::SetClockForTesting({});
  EXPECT_GT(rtl::Now(), rtl::EncodeDate(2020, 1, 1));
}

}  // namespace
