#include "app/table_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>

#include "rtl/errors.h"
#include "tests/support/special_files.h"

namespace {

using Row = core::ConnectionTable::Row;

const rtl::Text kTime = rtl::Windows1251FromUtf8("Время");

core::ConnectionTable Table(std::vector<rtl::Text> columns, std::vector<Row> rows) {
  core::ConnectionTable table;
  table.AddColumns(std::move(columns));
  table.AppendRows(std::move(rows));
  return table;
}

void ExpectRows(const core::ConnectionTable& table, const std::vector<Row>& rows) {
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

TEST_F(TableFileTest, LoadingAppendsAfterWhatIsThere) {
  WriteBytes(PathOf("in.txt"), "T,docs\r\nd t,1\r\n");
  core::ConnectionTable table;
  LoadConnectionTable(table, PathOf("in.txt"));
  LoadConnectionTable(table, PathOf("in.txt"));
  EXPECT_EQ(table.Columns(), (std::vector<rtl::Text>{"T", "docs", "T", "docs"}));
  ExpectRows(table, {{"d t", {"1"}}, {"d t", {"1"}}});
}

TEST_F(TableFileTest, MissingFileIsIgnored) {
  core::ConnectionTable table = Table({"keep"}, {});
  LoadConnectionTable(table, PathOf("nowhere.txt"));
  LoadConnectionTable(table, directory_.path());  // a directory is no file either
  EXPECT_EQ(table.Columns(), std::vector<rtl::Text>{"keep"});
}

TEST_F(TableFileTest, WrittenTableReadsBackWithOneSpaceInCaptions) {
  const core::ConnectionTable written =
      Table({kTime, "docs", "scan inbox"}, {{"08.12.2026  9:05:07", {"3", "0"}}, {"08.12.2026  9:35:07", {"4"}}});
  SaveConnectionTable(written, PathOf("list.txt"));
  core::ConnectionTable read;
  LoadConnectionTable(read, PathOf("list.txt"));
  EXPECT_EQ(read.Columns(), written.Columns());
  ExpectRows(read, {{"08.12.2026 9:05:07", {"3", "0"}}, {"08.12.2026 9:35:07", {"4"}}});
}

// A write that fails (here: the file size limit, which binds even the superuser) must be
// reported, naming the file and saying why in the system's words (the runtime has no text of
// its own for it), and leave the earlier file as it was and no temporary file behind, also
// when the whole table is smaller than any write buffer.
class table_file_save_test : public TableFileTest, public testing::WithParamInterface<int> {};

TEST_P(table_file_save_test, a_failed_write_names_the_file_and_keeps_the_earlier_one) {
  WriteBytes(PathOf("list.txt"), "old");
  const core::ConnectionTable table =
      Table({kTime}, std::vector<Row>(static_cast<size_t>(GetParam()), Row{"08.12.2026  9:05:07", {"1", "2", "3"}}));
  struct rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4;
  setrlimit(RLIMIT_FSIZE, &limited);
  std::string message = "saved";
  try {
    SaveConnectionTable(table, PathOf("list.txt"));
  } catch (const rtl::Exception& error) {
    message = error.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(message, "Cannot create file \"" + PathOf("list.txt").toStdString() + "\". " + std::strerror(EFBIG));
  EXPECT_EQ(ReadBytes(PathOf("list.txt")), "old");
  EXPECT_EQ(Names(directory_.path()), "list.txt");
}

INSTANTIATE_TEST_SUITE_P(Rows, table_file_save_test, testing::Values(0, 1, 20000));

// A full disk (a small tmpfs filled up) with and without an earlier file.
class FullDiskSaveTest : public TableFileTest, public testing::WithParamInterface<bool> {};

TEST_P(FullDiskSaveTest, ReportsDiskFullAndLeavesNoNewFile) {
  const special_files::SmallTmpfs disk(PathOf("disk").toStdString());
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  const QString target = QString::fromStdString(disk.File("list.txt"));
  if (GetParam()) WriteBytes(target, "old");
  ASSERT_TRUE(disk.Fill());
  const core::ConnectionTable model = Table({kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}});
  try {
    SaveConnectionTable(model, target);
    ADD_FAILURE() << "saved on a full disk";
  } catch (const rtl::InOutError& error) {
    EXPECT_STREQ(error.what(), "Disk full");
  }
  EXPECT_EQ(ReadBytes(target), GetParam() ? "old" : "<missing>");
  EXPECT_EQ(Names(PathOf("disk")), GetParam() ? "filler list.txt" : "filler");
}

INSTANTIATE_TEST_SUITE_P(EarlierFile, FullDiskSaveTest, testing::Bool());

TEST_F(TableFileTest, SaveIntoMissingDirectoryReportsFileNotFound) {
  try {
    SaveConnectionTable(core::ConnectionTable(), PathOf("no/such/list.txt"));
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
  const core::ConnectionTable model = Table({kTime, "docs"}, {{"08.12.2026  9:05:07", {"3"}}});
  try {
    SaveConnectionTable(model, PathOf("list.txt"));
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
  const core::ConnectionTable model = Table({kTime, "docs"}, {});
  SaveConnectionTable(model, PathOf("list.txt"));
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
        core::ConnectionTable model;
        try {
          LoadConnectionTable(model, QString::fromStdString(source));
        } catch (const std::exception& error) {
          return std::string(error.what());
        }
        return "loaded " + std::to_string(model.ColumnCount()) + " columns";
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

}  // namespace
