#include "app/table_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <optional>

#include "rtl/errors.h"
#include "tests/special_files.h"

namespace {

using Row = ConnectionTable::Row;

const rtl::Text kTime = rtl::Windows1251FromUtf8("Время");

struct TableContent {
  std::vector<rtl::Text> columns;
  std::vector<Row> rows;
};

void Fill(ConnectionTableModel& model, const TableContent& content) {
  for (const rtl::Text& caption : content.columns) model.AddColumn(caption);
  for (const Row& row : content.rows) {
    const int index = model.AddRow(row.caption);
    for (const rtl::Text& value : row.values) model.AppendValue(index, value);
  }
}

std::vector<rtl::Text> Columns(const ConnectionTable& table) {
  std::vector<rtl::Text> columns;
  for (int i = 0; i < table.ColumnCount(); ++i) columns.push_back(table.Column(i));
  return columns;
}

void ExpectRows(const ConnectionTable& table, const std::vector<Row>& rows) {
  ASSERT_EQ(table.RowCount(), static_cast<int>(rows.size()));
  for (int i = 0; i < table.RowCount(); ++i) {
    EXPECT_EQ(table.RowAt(i).caption, rows[i].caption) << "row " << i;
    EXPECT_EQ(table.RowAt(i).values, rows[i].values) << "row " << i;
  }
}

// The names in a directory, sorted and joined by blanks: a save leaves no temporary file.
std::string Names(const QString& directory) {
  const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
  return QDir(directory).entryList(all, QDir::Name).join(' ').toStdString();
}

class TableFileTest : public testing::Test {
 protected:
  QString PathOf(const char* name) const { return QDir(directory_.path()).filePath(name); }

  void WriteBytes(const QString& path, const rtl::Text& bytes) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

  rtl::Text ReadBytes(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    const QByteArray bytes = file.readAll();
    return rtl::Text(bytes.constData(), static_cast<size_t>(bytes.size()));
  }

  QTemporaryDir directory_;
};

struct SaveCase {
  const char* name;
  TableContent table;
  rtl::Text bytes;
};

class SaveFormatTest : public TableFileTest, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveFormatTest, WritesTheBytes) {
  ConnectionTableModel model;
  Fill(model, GetParam().table);
  SaveConnectionTable(model.Table(), PathOf("list.txt"));
  EXPECT_EQ(ReadBytes(PathOf("list.txt")), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SaveFormatTest,
    testing::Values(
        SaveCase{"empty", {}, "\r\n"},
        SaveCase{"header_only", {{kTime, "docs", "pub"}, {}}, kTime + ",docs,pub\r\n"},
        SaveCase{"rows", {{kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}, {"08.12.2026  9:35:07", {"12"}}}},
                 kTime + ",docs\r\n08.12.2026  9:05:07,3\r\n08.12.2026  9:35:07,12\r\n"},
        SaveCase{"row_without_values", {{kTime}, {{"a b", {}}}}, kTime + "\r\na b\r\n"},
        SaveCase{"nothing_quoted", {{"x,y", "\"q\""}, {{"c,d", {"1 2", ""}}}}, "x,y,\"q\"\r\nc,d,1 2,\r\n"},
        SaveCase{"cyrillic_share", {{kTime, rtl::Windows1251FromUtf8("Общая")}, {}},
                 kTime + "," + rtl::Windows1251FromUtf8("Общая") + "\r\n"}),
    [](const testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

struct LoadCase {
  const char* name;
  rtl::Text bytes;
  std::vector<rtl::Text> columns;
  std::vector<Row> rows;
  int missing_field;  // -1: the load ends normally
};

class LoadFormatTest : public TableFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadFormatTest, ReadsColumnsAndRows) {
  const LoadCase& c = GetParam();
  WriteBytes(PathOf("in.txt"), c.bytes);
  ConnectionTableModel model;
  if (c.missing_field < 0) {
    LoadConnectionTable(model, PathOf("in.txt"));
  } else {
    try {
      LoadConnectionTable(model, PathOf("in.txt"));
      ADD_FAILURE() << "load did not stop";
    } catch (const rtl::ListIndexError& error) {
      EXPECT_EQ(error.what(), "List index out of bounds (" + std::to_string(c.missing_field) + ")");
    }
  }
  EXPECT_EQ(Columns(model.Table()), c.columns);
  ExpectRows(model.Table(), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadFormatTest,
    testing::Values(
        LoadCase{"header_only", "T,docs,pub\r\n", {"T", "docs", "pub"}, {}, -1},
        LoadCase{"written_caption_splits_at_the_spaces", "T,docs\r\n08.12.2026  9:05:07,3\r\n",
                 {"T", "docs"}, {{"08.12.2026 9:05:07", {"3"}}}, -1},
        LoadCase{"row_without_values", "T\r\na b\r\n", {"T"}, {{"a b", {}}}, -1},
        LoadCase{"trailing_comma_gives_empty_caption", "T,docs,\r\n", {"T", "docs", ""}, {}, -1},
        LoadCase{"trailing_comma_on_a_row", "T\r\nd t,1,\r\n", {"T"}, {{"d t", {"1", ""}}}, -1},
        LoadCase{"share_with_a_space_shifts_columns", "T,my docs,pub\r\nd t,1,2\r\n", {"T", "my", "docs", "pub"},
                 {{"d t", {"1", "2"}}}, -1},
        LoadCase{"quoted_fields", "\"T\",\"a,b\",\"say \"\"hi\"\"\"\r\n\"d 1\",\"t\",\"7\"\r\n",
                 {"T", "a,b", "say \"hi\""}, {{"d 1 t", {"7"}}}, -1},
        LoadCase{"unclosed_quote_runs_to_the_end", "\"a,b\r\n", {"a,b"}, {}, -1},
        LoadCase{"empty_first_line_adds_no_columns", "\r\nd t,5\r\n", {}, {{"d t", {"5"}}}, -1},
        LoadCase{"two_commas_give_an_empty_field", "a,,b\r\n", {"a", "", "b"}, {}, -1},
        LoadCase{"blanks_and_tabs_around_fields", "  a ,\tb\t\r\n", {"a", "b"}, {}, -1},
        LoadCase{"lf_only_and_no_final_line_end", "T\nd t,1\nd u,2", {"T"}, {{"d t", {"1"}}, {"d u", {"2"}}},
                 -1},
        LoadCase{"lone_cr_is_dropped", "T\rX\r\nd t,1\r2\r\n", {"TX"}, {{"d t", {"12"}}}, -1},
        LoadCase{"nul_ends_the_line", rtl::Text("T,a\0b,c\r\n", 9), {"T", "a"}, {}, -1},
        LoadCase{"am_pm_caption_takes_the_first_value", "T,docs\r\n12/8/2026  9:05:07 PM,3\r\n", {"T", "docs"},
                 {{"12/8/2026 9:05:07", {"PM", "3"}}}, -1},
        LoadCase{"one_field_line_ends_the_load", "T\r\nd t,1\r\nlonely\r\nd u,2\r\n", {"T"},
                 {{"d t", {"1"}}, {"", {}}}, 1},
        LoadCase{"empty_data_line_ends_the_load", "T\r\nd t,1\r\n\r\nd u,2\r\n", {"T"},
                 {{"d t", {"1"}}, {"", {}}}, 0},
        LoadCase{"empty_file", "", {}, {}, -1}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(TableFileTest, LoadingAppendsAfterWhatIsThere) {
  WriteBytes(PathOf("in.txt"), "T,docs\r\nd t,1\r\n");
  ConnectionTableModel model;
  LoadConnectionTable(model, PathOf("in.txt"));
  LoadConnectionTable(model, PathOf("in.txt"));
  EXPECT_EQ(Columns(model.Table()), (std::vector<rtl::Text>{"T", "docs", "T", "docs"}));
  ExpectRows(model.Table(), {{"d t", {"1"}}, {"d t", {"1"}}});
}

TEST_F(TableFileTest, MissingFileIsIgnored) {
  ConnectionTableModel model;
  model.AddColumn("keep");
  LoadConnectionTable(model, PathOf("nowhere.txt"));
  LoadConnectionTable(model, directory_.path());  // a directory is no file either
  EXPECT_EQ(Columns(model.Table()), std::vector<rtl::Text>{"keep"});
}

TEST_F(TableFileTest, WrittenTableReadsBackWithOneSpaceInCaptions) {
  ConnectionTableModel written;
  Fill(written, {{kTime, "docs", "pub"}, {{"08.12.2026  9:05:07", {"3", "0"}}, {"08.12.2026  9:35:07", {"4"}}}});
  SaveConnectionTable(written.Table(), PathOf("list.txt"));
  ConnectionTableModel read;
  LoadConnectionTable(read, PathOf("list.txt"));
  EXPECT_EQ(Columns(read.Table()), Columns(written.Table()));
  ExpectRows(read.Table(), {{"08.12.2026 9:05:07", {"3", "0"}}, {"08.12.2026 9:35:07", {"4"}}});
}

// A write that fails (here: the file size limit, which binds even the superuser) must be
// reported and leave the earlier file as it was and no temporary file behind, also when the
// whole table is smaller than any write buffer.
class FailedSaveTest : public TableFileTest, public testing::WithParamInterface<int> {};

TEST_P(FailedSaveTest, KeepsTheEarlierFile) {
  WriteBytes(PathOf("list.txt"), "old");
  ConnectionTableModel model;
  model.AddColumn(kTime);
  std::vector<Row> rows(static_cast<size_t>(GetParam()), Row{"08.12.2026  9:05:07", {"1", "2", "3"}});
  model.AppendRows(std::move(rows));
  struct rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4;
  setrlimit(RLIMIT_FSIZE, &limited);
  std::string message = "saved";
  try {
    SaveConnectionTable(model.Table(), PathOf("list.txt"));
  } catch (const rtl::InOutError& error) {
    message = error.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(message, "I/O error " + std::to_string(EFBIG));
  EXPECT_EQ(ReadBytes(PathOf("list.txt")), "old");
  EXPECT_EQ(Names(directory_.path()), "list.txt");
}

INSTANTIATE_TEST_SUITE_P(Rows, FailedSaveTest, testing::Values(0, 1, 20000));

// A full disk (a small tmpfs filled up) with and without an earlier file.
class FullDiskSaveTest : public TableFileTest, public testing::WithParamInterface<bool> {};

TEST_P(FullDiskSaveTest, ReportsDiskFullAndLeavesNoNewFile) {
  const special_files::SmallTmpfs disk(PathOf("disk").toStdString());
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  const QString target = QString::fromStdString(disk.File("list.txt"));
  if (GetParam()) WriteBytes(target, "old");
  ASSERT_TRUE(disk.Fill());
  ConnectionTableModel model;
  Fill(model, {{kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}}});
  try {
    SaveConnectionTable(model.Table(), target);
    ADD_FAILURE() << "saved on a full disk";
  } catch (const rtl::InOutError& error) {
    EXPECT_STREQ(error.what(), "Disk full");
  }
  EXPECT_EQ(ReadBytes(target), GetParam() ? "old" : "<missing>");
  EXPECT_EQ(Names(PathOf("disk")), GetParam() ? "filler list.txt" : "filler");
}

INSTANTIATE_TEST_SUITE_P(EarlierFile, FullDiskSaveTest, testing::Bool());

TEST_F(TableFileTest, SaveIntoMissingDirectoryReportsFileNotFound) {
  ConnectionTableModel model;
  try {
    SaveConnectionTable(model.Table(), PathOf("no/such/list.txt"));
    ADD_FAILURE() << "saved";
  } catch (const rtl::InOutError& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
}

// A name taken by something that is no regular file is left as it is; the save names the
// file. The device is a private copy of /dev/null.
struct SpecialFileCase {
  const char* name;
  bool (*make)(const std::string& path);
};

void PrintTo(const SpecialFileCase& special, std::ostream* out) { *out << special.name; }

const SpecialFileCase kSpecialFiles[] = {
    {"directory", [](const std::string& path) { return QDir().mkdir(QString::fromStdString(path)); }},
    {"fifo", special_files::MakeFifo},
    {"socket", special_files::MakeSocket},
    {"device", [](const std::string& path) { return special_files::MakeCharacterDevice(path, 1, 3); }},
};

class SpecialTargetTest : public TableFileTest, public testing::WithParamInterface<SpecialFileCase> {};

TEST_P(SpecialTargetTest, IsRefusedOnSaveAndLeftAsItIs) {
  const std::string target = PathOf("list.txt").toStdString();
  if (!GetParam().make(target)) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  const auto before = special_files::NodeAt(target);
  ConnectionTableModel model;
  Fill(model, {{kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}}});
  try {
    SaveConnectionTable(model.Table(), PathOf("list.txt"));
    ADD_FAILURE() << "saved over a " << GetParam().name;
  } catch (const rtl::Exception& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + target + "\". Not a regular file");
  }
  EXPECT_EQ(special_files::NodeAt(target), before);
  EXPECT_EQ(Names(directory_.path()), "list.txt");
}

INSTANTIATE_TEST_SUITE_P(Nodes, SpecialTargetTest, testing::ValuesIn(kSpecialFiles),
                         testing::PrintToStringParamName());

// A table file reached through a link: the link stays, the file it names gets the table.
TEST_F(TableFileTest, SaveThroughALinkReplacesTheLinkedFile) {
  QDir(directory_.path()).mkdir("real");
  WriteBytes(PathOf("real/list.txt"), "old");
  ASSERT_TRUE(QFile::link("real/list.txt", PathOf("list.txt")));
  ConnectionTableModel model;
  Fill(model, {{kTime, "docs"}, {}});
  SaveConnectionTable(model.Table(), PathOf("list.txt"));
  EXPECT_EQ(QFileInfo(PathOf("list.txt")).symLinkTarget(), PathOf("real/list.txt"));
  EXPECT_EQ(ReadBytes(PathOf("real/list.txt")), kTime + ",docs\r\n");
  EXPECT_EQ(Names(PathOf("real")), "list.txt");
  EXPECT_EQ(Names(directory_.path()), "list.txt real");
}

// Loading what is no regular file ends at once with an error naming it: a FIFO without a
// writer would block the window, a device such as /dev/zero would be read until memory runs
// out. Each load runs in a child process with a time limit, so a wrong load fails the test
// instead of stalling it.
struct SpecialSourceCase {
  const char* name;
  std::function<bool(const std::string& path)> make;
};

void PrintTo(const SpecialSourceCase& special, std::ostream* out) { *out << special.name; }

class SpecialSourceTest : public TableFileTest, public testing::WithParamInterface<SpecialSourceCase> {};

TEST_P(SpecialSourceTest, IsRefusedQuicklyOnLoad) {
  const std::string source = PathOf("in.txt").toStdString();
  if (!GetParam().make(source)) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  const std::optional<std::string> outcome = special_files::RunInChild(
      [&] {
        ConnectionTableModel model;
        try {
          LoadConnectionTable(model, QString::fromStdString(source));
        } catch (const std::exception& error) {
          return std::string(error.what());
        }
        return "loaded " + std::to_string(model.Table().ColumnCount()) + " columns";
      },
      10);
  ASSERT_TRUE(outcome.has_value()) << "the load did not return";
  EXPECT_EQ(*outcome, "Cannot open file \"" + source + "\". Not a regular file");
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, SpecialSourceTest,
    testing::Values(SpecialSourceCase{"fifo", special_files::MakeFifo},
                    SpecialSourceCase{"dev_zero", [](const std::string& path) {
                                        return QFile::link("/dev/zero", QString::fromStdString(path));
                                      }},
                    SpecialSourceCase{"device", [](const std::string& path) {
                                        return special_files::MakeCharacterDevice(path, 1, 3);
                                      }}),
    testing::PrintToStringParamName());

TEST(TableFileNameTest, ExampleStopOf8December2026) {
  EXPECT_EQ(TableFileName("/opt/sharemon", "08.12.2026", "9.05.07"), "/opt/sharemon/list_08.12.2026_9.05.07.txt");
  EXPECT_EQ(TableFileName("/", "08.12.2026", "9.05.07"), "/list_08.12.2026_9.05.07.txt");
}

// A regional date such as "12/8/2026" would put directories into the name.
TEST(TableFileNameTest, CharactersNoFileNameCanHoldBecomeFullStops) {
  EXPECT_EQ(TableFileName("/d", "12/8/2026", "9.05.07 PM"), "/d/list_12.8.2026_9.05.07 PM.txt");
  EXPECT_EQ(TableFileName("/d", "a\\b:c*d?e\"f<g>h|i", "x"), "/d/list_a.b.c.d.e.f.g.h.i_x.txt");
}

}  // namespace
