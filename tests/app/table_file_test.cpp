#include "app/table_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>

#include "rtl/errors.h"

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

// A write that fails midway (here: the file size limit, which binds even the superuser)
// must leave the earlier file as it was and no temporary file behind.
TEST_F(TableFileTest, FailedSaveKeepsTheEarlierFile) {
  WriteBytes(PathOf("list.txt"), "old");
  const core::ConnectionTable table = Table({}, std::vector<Row>(20000, Row{"08.12.2026  9:05:07", {"1", "2", "3"}}));
  struct rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &limited);
  std::string message;
  try {
    SaveConnectionTable(table, PathOf("list.txt"));
  } catch (const rtl::InOutError& error) {
    message = error.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(message, "I/O error " + std::to_string(EFBIG));
  EXPECT_EQ(ReadBytes(PathOf("list.txt")), "old");
  EXPECT_EQ(QDir(directory_.path()).entryList(QDir::Files), QStringList{"list.txt"});
}

TEST_F(TableFileTest, SaveIntoMissingDirectoryReportsFileNotFound) {
  try {
    SaveConnectionTable(core::ConnectionTable(), PathOf("no/such/list.txt"));
    ADD_FAILURE() << "saved";
  } catch (const rtl::InOutError& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
}

// A name taken by a directory cannot become the table file; the save reports it.
TEST_F(TableFileTest, TargetThatIsADirectoryIsRefusedOnSave) {
  QDir(directory_.path()).mkdir("list.txt");
  try {
    SaveConnectionTable(core::ConnectionTable(), PathOf("list.txt"));
    ADD_FAILURE() << "saved over a directory";
  } catch (const rtl::InOutError& error) {
    EXPECT_STREQ(error.what(), "File access denied");
  }
}

}  // namespace
