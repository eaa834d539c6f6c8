#include "core/table_file_text.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "core/polling_run.h"
#include "rtl/errors.h"
#include "table_written_before.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/windows1251_text.h"

namespace {

using Row = core::ConnectionTable::Row;

const rtl::Text kTime = W("Время");

core::ConnectionTable Table(std::vector<rtl::Text> columns, std::vector<Row> rows) {
  core::ConnectionTable table;
  table.AddColumns(std::move(columns));
  table.AppendRows(std::move(rows));
  return table;
}

struct SaveCase {
  const char* name;
  std::vector<rtl::Text> columns;
  std::vector<Row> rows;
  rtl::Text bytes;
};

TEST(table_file_text_test, writes_fields_plain_unless_the_reader_would_split_them) {
  const SaveCase cases[] = {
      {"empty", {}, {}, "\r\n"},
      {"header only", {kTime, "docs", "pub"}, {}, kTime + ",docs,pub\r\n"},
      {"rows", {kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}, {"08.12.2026  9:35:07", {"12"}}},
       kTime + ",docs\r\n08.12.2026  9:05:07,3\r\n08.12.2026  9:35:07,12\r\n"},
      {"row without values", {kTime}, {{"a b", {}}}, kTime + "\r\na b\r\n"},
      {"cyrillic share", {kTime, W("Общая")}, {}, kTime + "," + W("Общая") + "\r\n"},
      {"share with a space", {kTime, "scan inbox"}, {}, kTime + ",\"scan inbox\"\r\n"},
      {"comma, quote, tab, empty", {"x,y", "say \"hi\"", "a\tb", ""}, {}, "\"x,y\",\"say \"\"hi\"\"\",\"a\tb\",\"\"\r\n"},
      {"control character", {"a\x01" "b"}, {}, "\"a\x01" "b\"\r\n"},
      {"quoted values", {"T"}, {{"d t", {"1 2", "", "3"}}}, "T\r\nd t,\"1 2\",\"\",3\r\n"},
      // Date and time each stay one field; the spaces between them are kept as they are.
      {"12-hour caption", {"T"}, {{"08.12.2026  9:05:07 PM", {"3"}}}, "T\r\n08.12.2026  \"9:05:07 PM\",3\r\n"},
      {"designator first", {"T"}, {{"12/8/2026  PM 9:05:07", {"3"}}}, "T\r\n12/8/2026  \"PM 9:05:07\",3\r\n"},
      {"caption without a space", {"T"}, {{"x,y", {"1"}}}, "T\r\n\"x,y\",1\r\n"},
      {"caption starting with a space", {"T"}, {{" 9:05:07", {"1"}}}, "T\r\n\"\" 9:05:07,1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(core::TableFileText(Table(c.columns, c.rows)), c.bytes) << c.name;
  }
}

// A file today's writer produced stays byte for byte what the writer produces.
TEST(table_file_text_test, tables_without_such_names_are_written_as_before) {
  const auto golden = std::string(std::getenv("SHAREMON_SOURCE_DIR")) + "/tests/core/golden/table_written_before.txt";
  EXPECT_EQ(core::TableFileText(TableWrittenBefore()), TemporaryDirectory::ReadBytes(golden));
}

struct LoadCase {
  const char* name;
  rtl::Text bytes;
  std::vector<rtl::Text> columns;
  std::vector<Row> rows;
  int missing_field;  // -1: the read ends normally
};

TEST(table_file_text_test, reads_columns_and_rows_by_the_field_rule) {
  const LoadCase cases[] = {
      {"header only", "T,docs,pub\r\n", {"T", "docs", "pub"}, {}, -1},
      {"written caption splits at the spaces", "T,docs\r\n08.12.2026  9:05:07,3\r\n", {"T", "docs"},
       {{"08.12.2026 9:05:07", {"3"}}}, -1},
      {"row without values", "T\r\na b\r\n", {"T"}, {{"a b", {}}}, -1},
      {"trailing comma gives empty caption", "T,docs,\r\n", {"T", "docs", ""}, {}, -1},
      {"trailing comma on a row", "T\r\nd t,1,\r\n", {"T"}, {{"d t", {"1", ""}}}, -1},
      {"unquoted share with a space shifts columns", "T,my docs,pub\r\nd t,1,2\r\n", {"T", "my", "docs", "pub"},
       {{"d t", {"1", "2"}}}, -1},
      {"quoted fields", "\"T\",\"a,b\",\"say \"\"hi\"\"\"\r\n\"d 1\",\"t\",\"7\"\r\n", {"T", "a,b", "say \"hi\""},
       {{"d 1 t", {"7"}}}, -1},
      {"unclosed quote runs to the end", "\"a,b\r\n", {"a,b"}, {}, -1},
      {"empty first line adds no columns", "\r\nd t,5\r\n", {}, {{"d t", {"5"}}}, -1},
      {"two commas give an empty field", "a,,b\r\n", {"a", "", "b"}, {}, -1},
      {"blanks and tabs around fields", "  a ,\tb\t\r\n", {"a", "b"}, {}, -1},
      {"lf only and no final line end", "T\nd t,1\nd u,2", {"T"}, {{"d t", {"1"}}, {"d u", {"2"}}}, -1},
      {"lone cr is dropped", "T\rX\r\nd t,1\r2\r\n", {"TX"}, {{"d t", {"12"}}}, -1},
      {"nul ends the line", rtl::Text("T,a\0b,c\r\n", 9), {"T", "a"}, {}, -1},
      {"unquoted am/pm caption takes the first value", "T,docs\r\n12/8/2026  9:05:07 PM,3\r\n", {"T", "docs"},
       {{"12/8/2026 9:05:07", {"PM", "3"}}}, -1},
      {"one field line ends the read", "T\r\nd t,1\r\nlonely\r\nd u,2\r\n", {"T"}, {{"d t", {"1"}}, {"", {}}}, 1},
      {"empty data line ends the read", "T\r\nd t,1\r\n\r\nd u,2\r\n", {"T"}, {{"d t", {"1"}}, {"", {}}}, 0},
      {"empty file", "", {}, {}, -1},
  };
  for (const auto& c : cases) {
    core::ConnectionTable table;
    try {
      core::ReadTableFileText(c.bytes, table);
      EXPECT_EQ(c.missing_field, -1) << c.name << ": the read did not stop";
    } catch (const rtl::ListIndexError& error) {
      EXPECT_EQ(error.what(), "List index out of bounds (" + std::to_string(c.missing_field) + ")") << c.name;
    }
    EXPECT_EQ(table.Columns(), c.columns) << c.name;
    std::vector<Row> rows;
    for (int i = 0; i < table.RowCount(); ++i) rows.push_back(table.RowAt(i));
    EXPECT_EQ(rows, c.rows) << c.name;
  }
}

TEST(table_file_text_test, reading_appends_after_what_is_there) {
  core::ConnectionTable table = Table({"keep"}, {{"r 1", {"9"}}});
  core::ReadTableFileText("T,docs\r\nd t,1\r\n", table);
  EXPECT_EQ(table.Columns(), (std::vector<rtl::Text>{"keep", "T", "docs"}));
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.RowAt(1), (Row{"d t", {"1"}}));
}

// A table loaded from any file saves as a file that loads back as it: only a run of spaces
// after a caption's first word, which the file cannot tell from the field separator, comes
// back as one space; from the first save on nothing changes.
TEST(table_file_text_test, a_loaded_table_saved_and_loaded_again_is_the_same_but_for_caption_spaces) {
  struct Case {
    const char* name;
    rtl::Text bytes;
    rtl::Text caption_after_save;
  };
  const Case cases[] = {
      {"plain caption", "T\r\nd t,1\r\n", "d t"},
      {"quoted date ending with a space", "T\r\n\"d \",t,1\r\n", "d t"},
      {"quoted time starting with spaces", "T\r\nd,\"  t u\",1\r\n", "d t u"},
      {"empty time", "T\r\nd,\"\",1\r\n", "d "},
      {"empty date", "T\r\n\"\",t,1\r\n", " t"},
      {"quote inside, space first", "T\r\n12\",\" \"\" x\r\n", "12\" \" x"},
  };
  for (const auto& c : cases) {
    core::ConnectionTable loaded;
    core::ReadTableFileText(c.bytes, loaded);
    const rtl::Text saved = core::TableFileText(loaded);
    core::ConnectionTable again;
    core::ReadTableFileText(saved, again);
    EXPECT_EQ(again.Columns(), loaded.Columns()) << c.name;
    ASSERT_EQ(again.RowCount(), 1) << c.name;
    EXPECT_EQ(again.RowAt(0).values, loaded.RowAt(0).values) << c.name;
    EXPECT_EQ(again.RowAt(0).caption, c.caption_after_save) << c.name;
    core::ConnectionTable third;
    core::ReadTableFileText(core::TableFileText(again), third);
    ASSERT_EQ(third.RowCount(), 1) << c.name;
    EXPECT_EQ(third.RowAt(0), again.RowAt(0)) << c.name;
  }
}

// Every table a run can make comes back with the same columns, values and date-times.
class round_trip_test : public ::testing::Test {
 protected:
  void TearDown() override { rtl::SetRegionalSettings(rtl::RussianRegionalSettings()); }

  class Clock : public core::Clock {
   public:
    rtl::DateTime now = rtl::EncodeDate(2026, 12, 8) + rtl::EncodeTime(9, 5, 7, 0);
    rtl::DateTime Now() override { return now; }
  };

  class Prober : public core::ShareProber {
   public:
    int calls = 0;
    core::ProbeResult Probe(const rtl::Text&, const platform::CancelSignal&) override {
      core::ProbeResult result;
      result.count = (calls++ * 7) % 13;
      return result;
    }
  };

  // Three ticks over the shares, the last one in the afternoon.
  core::ConnectionTable RunTable(const std::vector<rtl::Text>& shares) {
    core::ConnectionTable table;
    Clock clock;
    Prober prober;
    core::RunListener listener;
    core::PollingRun run(table, clock, listener);
    platform::CancelSignal never;
    run.Start(shares, "30");
    for (const double later : {0.0, 0.021, 0.3}) {
      clock.now += later;
      core::ProbeTick(run, *run.TimerFired(shares), prober, never, shares);
    }
    return table;
  }
};

TEST_F(round_trip_test, names_and_clocks_of_every_kind_load_back_unchanged) {
  const std::vector<rtl::Text> shares = {W("Бухгалтерия"), "public", "scan inbox", "a,b", "say \"hi\"", "", "x\ty"};
  struct Clock {
    const char* name;
    rtl::Text time_format;
  };
  const Clock clocks[] = {{"24-hour", "h:mm:ss"},
                          {"24-hour, leading zero", "hh:mm:ss"},
                          {"12-hour", rtl::BuildLongTimeFormat(false, true, false)},
                          {"12-hour, designator first", rtl::BuildLongTimeFormat(true, true, true)}};
  for (const auto& clock : clocks) {
    rtl::RegionalSettings settings = rtl::RussianRegionalSettings();
    settings.long_time_format = clock.time_format;
    rtl::SetRegionalSettings(settings);
    const core::ConnectionTable written = RunTable(shares);
    core::ConnectionTable read;
    core::ReadTableFileText(core::TableFileText(written), read);
    EXPECT_EQ(read.Columns(), written.Columns()) << clock.name;
    ASSERT_EQ(read.RowCount(), written.RowCount()) << clock.name;
    for (int row = 0; row < read.RowCount(); ++row) {
      EXPECT_EQ(read.RowAt(row).values, written.RowAt(row).values) << clock.name;
      EXPECT_EQ(rtl::StrToDateTime(read.RowAt(row).caption), rtl::StrToDateTime(written.RowAt(row).caption))
          << clock.name;
      // The loaded caption has one space between date and time.
      EXPECT_EQ(read.RowAt(row).caption.find("  "), rtl::Text::npos) << clock.name;
    }
  }
}

// A run of commas is a field per byte: counted before any is stored, the text is refused once
// it passes the limit, and what was read before stays.
TEST(table_file_text_test, a_text_of_more_fields_than_the_limit_is_refused_before_they_are_stored) {
  const std::string rows = "\xC2\xF0\xE5\xEC\xFF,docs\r\n08.12.2026  9:05:07,2\r\n";
  core::ConnectionTable table;
  EXPECT_THROW(core::ReadTableFileText(rows + std::string(core::kMostTableFields, ','), table),
               core::TableTooLargeError);
  EXPECT_EQ(table.ColumnCount(), 2);
  EXPECT_EQ(table.RowCount(), 1);
}

TEST(table_file_name_test, the_name_holds_date_and_time_with_unsafe_characters_as_full_stops) {
  EXPECT_EQ(core::TableFileName("08.12.2026", "9.05.07"), "list_08.12.2026_9.05.07.txt");
  // A regional date such as "12/8/2026" would put directories into the name.
  EXPECT_EQ(core::TableFileName("12/8/2026", "9.05.07 PM"), "list_12.8.2026_9.05.07 PM.txt");
  EXPECT_EQ(core::TableFileName("a\\b:c*d?e\"f<g>h|i", "x"), "list_a.b.c.d.e.f.g.h.i_x.txt");
}

}  // namespace
