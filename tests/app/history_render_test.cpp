// "sharemon --render": the program run on prepared table files. The
// pictures are checked by their geometry (panel colour, the back wall's black frame, where
// the red line lies), never by glyph pixels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "chart/qt/qt_device.h"
#include "chart/pens.h"
#include "qt_application.h"
#include "tests/support/history_pictures.h"
#include "tests/support/special_files.h"

namespace {

struct RunResult {
  int exit_code;
  QString error_output;
};

// The program, as a user would run it, in its own process.
class RenderProgramTest : public testing::Test {
 protected:
  RunResult Run(const QStringList& arguments) {
    QProcess process;
    // A runtime directory of its own keeps Qt's notice about a missing one off standard error.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime_directory_.path());
    process.setProcessEnvironment(environment);
    process.start(QString::fromLocal8Bit(qgetenv("SHAREMON_BUILD_DIR")) + "/sharemon",
                  QStringList{"--render"} + arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
  }
  QString WriteTable(const QByteArray& text) {
    const QString name = directory_.filePath("list.txt");
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return name;
  }
  QString Out() const { return directory_.filePath("chart.png"); }

  QApplication& application_ = TestApplication();
  QTemporaryDir directory_;
  QTemporaryDir runtime_directory_;
};

namespace pictures = history_pictures;

const QByteArray kTable = QByteArray::fromStdString(pictures::kTwoDays);

// The picture written to `file`, as the engine's bitmap (a copy of its pixels).
TBitmap ReadPicture(const QString& file) {
  QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
  const TBitmap view = BitmapOf(image);
  return TBitmap(view);
}

// Width of a text and height of "W" in the chart's default font ("Arial" 8).
TTextExtent ChartFontExtent(const rtl::Text& text) {
  TFont font;
  InitChartFont(font, {});
  TQtChartDevice device;
  return device.MeasureText(font, text);
}

TEST_F(RenderProgramTest, WritesChart1AsAPicture) {
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", Out()});
  ASSERT_EQ(result.exit_code, 0) << result.error_output.toStdString();
  const TBitmap image = ReadPicture(Out());
  ASSERT_EQ(image.Rect(), (TRect{0, 0, 817, 250}));
  // The panel colour inside the one-pixel bevel.
  EXPECT_EQ(image.Pixel(3, 3), SystemColorRGB(15, application_.palette()));  // clBtnFace
  // The plot area starts at (25, 10, 792, 240), 3 % and 4 % of 817 x 250 inside; the title
  // line and its 5-pixel gap take the top, the left axis its widest label ("12" and a blank)
  // and 6 pixels of ticks, the bottom axis its widest point label (a date, turned upright)
  // and the ticks.
  const TRect frame = pictures::BlackFrame(image);
  const int line_height = ChartFontExtent("W").Height;
  EXPECT_EQ(frame.Top, 10 + line_height + 5);
  EXPECT_EQ(frame.Right, 817 - 25);
  EXPECT_EQ(frame.Left, 25 + ChartFontExtent("12").Width + ChartFontExtent(" ").Width + 6);
  // The bottom axis line is two pixels thick and ends on the plot's bottom row, so the edge
  // met first from the centre is the row above that.
  EXPECT_EQ(frame.Bottom, 240 - ChartFontExtent("08.12.2026").Width - 6 - 1);
  // The line runs from the frame's left inside to its right inside and never leaves it.
  const TRect red = pictures::RedBounds(image);
  EXPECT_EQ(red.Left, frame.Left + 1);
  EXPECT_EQ(red.Right, frame.Right - 1);
  EXPECT_GT(red.Top, frame.Top);
  EXPECT_LT(red.Bottom, frame.Bottom);
}

TEST_F(RenderProgramTest, SizeOptionSetsThePictureSize) {
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", Out(), "--size", "400x300"});
  ASSERT_EQ(result.exit_code, 0) << result.error_output.toStdString();
  const TBitmap image = ReadPicture(Out());
  EXPECT_EQ(image.Rect(), (TRect{0, 0, 400, 300}));
  EXPECT_EQ(pictures::BlackFrame(image).Right, 400 - 12);
}

// An empty chart for a share the file does not hold looked like a share nobody used.
TEST_F(RenderProgramTest, ShareWithoutColumnNamesTheShareAndTheColumnsAndWritesNoPicture) {
  const QString table = WriteTable(kTable);
  const RunResult result = Run({table, "--share", "print$", "--out", Out()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(),
            QStringLiteral("В файле \"%1\" нет столбца \"print$\". Столбцы файла: \"Время\", \"docs\"").arg(table));
  EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(RenderProgramTest, DataErrorPrintsTheErrorBoxTextAndWritesNoPicture) {
  const RunResult result =
      Run({WriteTable(kTable + "09.12.2026 11:00:00,many\r\n"), "--share", "docs", "--out", Out()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(), QStringLiteral("'many' is not a valid integer value."));
  EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(RenderProgramTest, FirstCountThatIsNoNumberPrintsTheNoticeToo) {
  const RunResult result = Run({WriteTable("\xC2\xF0\xE5\xEC\xFF,docs\r\n08.12.2026 10:00:00,many\r\n"), "--share",
                                "docs", "--out", Out()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(), QStringLiteral("many\n'many' is not a valid integer value."));
}

TEST_F(RenderProgramTest, MissingTableFileIsAnError) {
  const RunResult result = Run({directory_.filePath("absent.txt"), "--share", "docs", "--out", Out()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(), QStringLiteral("File not found."));
  EXPECT_FALSE(QFile::exists(Out()));
}

// A table file name taken by what is no regular file is refused at once, naming the file.
TEST_F(RenderProgramTest, TableFileThatIsNoRegularFileIsNamed) {
  const struct {
    const char* name;
    bool (*make)(const std::string& path);
  } cases[] = {{"fifo", special_files::MakeFifo},
               {"directory", [](const std::string& path) { return QDir().mkdir(QString::fromStdString(path)); }}};
  for (const auto& c : cases) {
    const std::string table = directory_.filePath(c.name).toStdString();
    ASSERT_TRUE(c.make(table)) << c.name;
    const RunResult result = Run({QString::fromStdString(table), "--share", "docs", "--out", Out()});
    EXPECT_EQ(result.exit_code, 1) << c.name;
    EXPECT_EQ(result.error_output.trimmed().toStdString(), "Cannot open file \"" + table + "\". Not a regular file.");
    EXPECT_FALSE(QFile::exists(Out()));
  }
}

TEST_F(RenderProgramTest, UnwritablePictureIsAnError) {
  const QString out = directory_.filePath("no/such/dir/chart.png");
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", out});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(), "Cannot create file \"" + out + "\". No such file or directory.");
}

// A picture name taken by a FIFO or a device (a private copy of /dev/full, made only as
// root) is refused and left as it was; the program fails and names the file.
struct SpecialOutCase {
  const char* name;
  bool (*make)(const std::string& path);
};

void PrintTo(const SpecialOutCase& special, std::ostream* out) { *out << special.name; }

class SpecialOutTest : public RenderProgramTest, public testing::WithParamInterface<SpecialOutCase> {};

TEST_P(SpecialOutTest, IsRefusedAndLeftAsItIs) {
  const std::string out = Out().toStdString();
  if (!GetParam().make(out)) GTEST_SKIP() << "cannot make a " << GetParam().name << " here";
  const auto before = special_files::NodeAt(out);
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", Out()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed().toStdString(), "Cannot create file \"" + out + "\". Not a regular file.");
  EXPECT_EQ(special_files::NodeAt(out), before);
}

INSTANTIATE_TEST_SUITE_P(Nodes, SpecialOutTest,
                         testing::Values(SpecialOutCase{"fifo", special_files::MakeFifo},
                                         SpecialOutCase{"dev_full", [](const std::string& path) {
                                                          return special_files::MakeCharacterDevice(path, 1, 7);
                                                        }}),
                         testing::PrintToStringParamName());

// On a full disk (a small tmpfs filled up) the program fails with "Disk full" and leaves no
// picture, or the earlier one unchanged.
class FullDiskRenderTest : public RenderProgramTest, public testing::WithParamInterface<bool> {};

TEST_P(FullDiskRenderTest, FailsAndLeavesNoNewPicture) {
  const special_files::SmallTmpfs disk(directory_.filePath("disk").toStdString());
  if (!disk.Mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  const QString out = QString::fromStdString(disk.File("chart.png"));
  if (GetParam()) {
    QFile earlier(out);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("old");
  }
  ASSERT_TRUE(disk.Fill());
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", out});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error_output.trimmed(), QStringLiteral("Disk full."));
  QFile picture(out);
  if (GetParam()) {
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_EQ(picture.readAll(), QByteArray("old"));
  } else {
    EXPECT_FALSE(picture.exists());
  }
  const QStringList names = QDir(directory_.filePath("disk")).entryList(QDir::Files | QDir::System, QDir::Name);
  EXPECT_EQ(names.join(' ').toStdString(), GetParam() ? "chart.png filler" : "filler");
}

INSTANTIATE_TEST_SUITE_P(EarlierPicture, FullDiskRenderTest, testing::Bool());

class render_program_test : public RenderProgramTest {};

TEST_F(render_program_test, a_command_line_it_does_not_take_exits_with_2_naming_the_problem) {
  const RunResult result = Run({"list.txt", "--share"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.error_output.startsWith("sharemon --render: missing value after --share\nUsage: sharemon "))
      << result.error_output.toStdString();
}

// Counts near the ends of the int range, which the left axis maps to offsets just inside its
// pixel guard, far beyond the picture, and lines from there into it: the program must draw
// them without overflow (the sanitizer build stops at the first one) and in time.
TEST_F(RenderProgramTest, CountsNearTheEndsOfTheIntRangeAreDrawn) {
  const QByteArray header = "\xC2\xF0\xE5\xEC\xFF,docs\r\n";
  struct Case {
    const char* name;
    QByteArray rows;
    const char* size;
  };
  const Case cases[] = {
      {"a count just inside the guard, axis 0..15",
       "08.12.2026 10:00:00,10\r\n08.12.2026 10:30:00,-2147483643\r\n08.12.2026 11:00:00,10\r\n", "100x100"},
      {"a count just inside the guard, axis 0..20",
       "08.12.2026 10:00:00,15\r\n08.12.2026 10:30:00,-2147483643\r\n08.12.2026 11:00:00,15\r\n", "100x100"},
      {"both ends of the int range",
       "08.12.2026 10:00:00,2147483642\r\n08.12.2026 10:30:00,-2147483648\r\n08.12.2026 11:00:00,0\r\n",
       "100x100"},
      {"$80000000 over the whole calendar", "01.01.0001 00:00:00,30\r\n31.12.9999 00:00:00,$80000000\r\n", "40x40"},
      {"$80000000 first, over the whole calendar", "01.01.0001 00:00:00,$80000000\r\n31.12.9999 00:00:00,30\r\n",
       "40x40"},
  };
  for (const Case& c : cases) {
    QFile::remove(Out());
    const RunResult result = Run({WriteTable(header + c.rows), "--share", "docs", "--out", Out(), "--size", c.size});
    EXPECT_EQ(result.exit_code, 0) << c.name << ": " << result.error_output.toStdString();
    const QImage image = QImage(Out()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.size(), QSize(QString(c.size).section('x', 0, 0).toInt(), QString(c.size).section('x', 1).toInt()))
        << c.name;
  }
}

// --- golden pictures, compared by geometry ------------------------------------------------
// The Windows build's pictures are checked against the same files (tests/windows).

class GoldenPictureTest : public RenderProgramTest {
 protected:
  // Renders and compares with tests/app/golden/NAME.txt; SHAREMON_UPDATE_GOLDEN=1 rewrites
  // the file instead (after a deliberate change of the layout).
  void ExpectGolden(const char* name, const QByteArray& table, const QStringList& options) {
    const RunResult result = Run(QStringList{WriteTable(table)} + options + QStringList{"--out", Out()});
    ASSERT_EQ(result.exit_code, 0) << result.error_output.toStdString();
    const std::string actual = pictures::Geometry(ReadPicture(Out()));
    QFile golden(QString::fromLocal8Bit(qgetenv("SHAREMON_SOURCE_DIR")) + "/tests/app/golden/" + name + ".txt");
    if (!qEnvironmentVariableIsEmpty("SHAREMON_UPDATE_GOLDEN")) {
      ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
      golden.write(actual.c_str());
      return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << golden.fileName().toStdString();
    EXPECT_EQ(actual, golden.readAll().toStdString()) << "SHAREMON_UPDATE_GOLDEN=1 accepts a new layout";
  }
};

TEST_F(GoldenPictureTest, TwoDays) { ExpectGolden("render_two_days", kTable, {"--share", "docs"}); }

TEST_F(GoldenPictureTest, ThreeDaysDense) { ExpectGolden("render_three_days", QByteArray::fromStdString(pictures::ThreeDays()), {"--share", "docs"}); }

TEST_F(GoldenPictureTest, SingleRowWithZero) {
  ExpectGolden("render_single_zero", QByteArray::fromStdString(pictures::kSingleZero), {"--share", "docs"});
}

TEST_F(GoldenPictureTest, OtherSize) {
  ExpectGolden("render_400x300", kTable, {"--share", "docs", "--size", "400x300"});
}

TEST_F(GoldenPictureTest, CyrillicShare) {
  ExpectGolden("render_cyrillic_share", QByteArray::fromStdString(pictures::kCyrillicShare),
               {"--share", QString::fromStdString(pictures::kCyrillicShareName)});
}

}  // namespace
