// "sharemon --render": the arguments, and the program run on prepared table files. The
// pictures are checked by their geometry (panel colour, the back wall's black frame, where
// the red line lies), never by glyph pixels.
#include "app/history_render.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "chart/device_canvas.h"
#include "chart/pens.h"
#include "qt_application.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(RenderArgumentsTest, FullForm) {
  const auto request = ParseRenderArguments(
      {"sharemon", "--render", "list.txt", "--share", "docs", "--out", "a.png", "--size", "400x300"});
  ASSERT_TRUE(request);
  EXPECT_EQ(request->table_file, "list.txt");
  EXPECT_EQ(request->share, "docs");
  EXPECT_EQ(request->out_file, "a.png");
  EXPECT_EQ(request->width, 400);
  EXPECT_EQ(request->height, 300);
}

TEST(RenderArgumentsTest, SizeDefaultsToChart1) {
  const auto request = ParseRenderArguments({"sharemon", "--render", "t", "--out", "a.png", "--share", "d"});
  ASSERT_TRUE(request);
  EXPECT_EQ(request->width, 817);
  EXPECT_EQ(request->height, 250);
}

TEST(RenderArgumentsTest, UnusableArgumentsAreRefused) {
  const Arguments refused[] = {
      {"sharemon", "--render"},
      {"sharemon", "--render", "t", "--share", "d"},
      {"sharemon", "--render", "t", "--out", "a.png"},
      {"sharemon", "--render", "t", "--share", "d", "--out"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "400"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "0x10"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--size", "10x10px"},
      {"sharemon", "--render", "t", "--share", "d", "--out", "a.png", "--colour", "red"},
  };
  for (const Arguments& arguments : refused) EXPECT_FALSE(ParseRenderArguments(arguments)) << arguments.size();
}

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

// Header "Время,docs", three polls on one day and two on the next (counts 3 7 2 5 4).
const QByteArray kTable =
    "\xC2\xF0\xE5\xEC\xFF,docs\r\n08.12.2026 10:00:00,3\r\n08.12.2026 10:30:00,7\r\n08.12.2026 11:00:00,2\r\n"
    "09.12.2026 10:00:00,5\r\n09.12.2026 10:30:00,4\r\n";

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

// The back wall's frame: the black rectangle whose left column is the first black pixel
// of the middle row and whose top row is the first black pixel of a column just inside it.
QRect BlackFrame(const QImage& image) {
  const int middle = image.height() / 2;
  int left = 1;
  while (left < image.width() && image.pixel(left, middle) != kBlack) ++left;
  int right = image.width() - 2;
  while (right > left && image.pixel(right, middle) != kBlack) --right;
  int top = 1;
  while (top < image.height() && image.pixel(left + 1, top) != kBlack) ++top;
  int bottom = image.height() - 2;
  while (bottom > top && image.pixel(left + 1, bottom) != kBlack) --bottom;
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool OutlineIsBlack(const QImage& image, const QRect& frame) {
  for (int x = frame.left(); x <= frame.right(); ++x)
    if (image.pixel(x, frame.top()) != kBlack || image.pixel(x, frame.bottom()) != kBlack) return false;
  for (int y = frame.top(); y <= frame.bottom(); ++y)
    if (image.pixel(frame.left(), y) != kBlack || image.pixel(frame.right(), y) != kBlack) return false;
  return true;
}

QRect RedBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == kRed) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

// Height of "W" in the chart's default font ("Arial" 8): the title's line height.
int ChartFontHeight() {
  TFont font;
  InitChartFont(font, {});
  TCanvas measuring;
  measuring.Font().Assign(font);
  return measuring.TextExtent("W").height();
}

TEST_F(RenderProgramTest, WritesChart1AsAPicture) {
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", Out()});
  ASSERT_EQ(result.exit_code, 0) << result.error_output.toStdString();
  const QImage image = QImage(Out()).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(817, 250));
  // The panel colour inside the one-pixel bevel.
  EXPECT_EQ(image.pixel(3, 3), ColorToRGB(clBtnFace, application_.palette(), clBlack));
  const QRect frame = BlackFrame(image);
  EXPECT_TRUE(OutlineIsBlack(image, frame));
  // Margins of 3 % and 4 % of 817 x 250 and below the title's line plus its 5-pixel gap.
  EXPECT_EQ(frame.right(), 817 - 25);
  EXPECT_EQ(frame.top(), 10 + ChartFontHeight() + 5);
  EXPECT_LE(frame.bottom(), 250 - 10);
  EXPECT_GE(frame.left(), 25);
  // The line runs from the frame's left inside to its right inside and never leaves it.
  const QRect red = RedBounds(image);
  EXPECT_EQ(red.left(), frame.left() + 1);
  EXPECT_EQ(red.right(), frame.right() - 1);
  EXPECT_GT(red.top(), frame.top());
  EXPECT_LT(red.bottom(), frame.bottom());
}

TEST_F(RenderProgramTest, SizeOptionSetsThePictureSize) {
  const RunResult result = Run({WriteTable(kTable), "--share", "docs", "--out", Out(), "--size", "400x300"});
  ASSERT_EQ(result.exit_code, 0) << result.error_output.toStdString();
  const QImage image(Out());
  EXPECT_EQ(image.size(), QSize(400, 300));
  EXPECT_EQ(BlackFrame(image.convertToFormat(QImage::Format_RGB32)).right(), 400 - 12);
}

TEST_F(RenderProgramTest, ShareWithoutColumnDrawsNoLine) {
  const RunResult result = Run({WriteTable(kTable), "--share", "print$", "--out", Out()});
  ASSERT_EQ(result.exit_code, 0);
  EXPECT_TRUE(RedBounds(QImage(Out()).convertToFormat(QImage::Format_RGB32)).isEmpty());
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

TEST_F(RenderProgramTest, UnwritablePictureIsAnError) {
  const RunResult result =
      Run({WriteTable(kTable), "--share", "docs", "--out", directory_.filePath("no/such/dir/chart.png")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(result.error_output.startsWith("Cannot open file \"")) << result.error_output.toStdString();
}

TEST_F(RenderProgramTest, UsageErrorExitsWithTwo) {
  const RunResult result = Run({"list.txt", "--share"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_TRUE(result.error_output.startsWith("usage: sharemon --render"));
}

}  // namespace
