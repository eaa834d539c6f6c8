// The display-less history chart face: the window's ShowShareHistory and RenderChart on an
// off-screen Chart1, with the error box's text on standard error instead of a box.
#include "app/history_render.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <charconv>
#include <filesystem>

#include "app/history_chart.h"
#include "core/connection_table.h"
#include "core/table_file.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "platform/standard_streams.h"
#include "platform/whole_file.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace {

constexpr char kUsage[] = "usage: sharemon --render TABLEFILE --share NAME --out FILE.png [--size WxH]\n";
constexpr int kLargestSide = 16384;  // pixels; a frame beyond that is a typing error

bool ParseSide(std::string_view text, int& side) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side > 0 && side <= kLargestSide;
}

// "WxH", both sides 1..16384.
bool ParseSize(const std::string& text, int& width, int& height) {
  const auto cross = text.find('x');
  if (cross == std::string::npos) return false;
  return ParseSide(std::string_view(text).substr(0, cross), width) &&
         ParseSide(std::string_view(text).substr(cross + 1), height);
}

void PrintToStandardError(const rtl::Text& text) { platform::WriteErrorLine(rtl::Utf8FromWindows1251(text)); }

// The window's loader passes over a missing file (its dialog only offers existing ones); here
// a missing file, or a name that is no regular file (a FIFO, a directory), is the user's error.
void LoadTable(core::ConnectionTable& table, const std::string& file_name) {
  core::ReadConnectionTable(table, QFileInfo(QString::fromUtf8(file_name.c_str())).filesystemFilePath());
}

// An empty chart for a share the file does not hold would look like a share nobody used.
void RequireShareColumn(const core::ConnectionTable& table, const rtl::Text& share, const std::string& file_name) {
  rtl::Text columns;
  for (const rtl::Text& column : table.Columns()) {
    if (column == share) return;
    columns += (columns.empty() ? "\"" : ", \"") + column + "\"";
  }
  throw rtl::Exception(rtl::Windows1251FromUtf8("В файле \"" + file_name + "\" нет столбца \"") + share +
                       rtl::Windows1251FromUtf8("\". Столбцы файла: ") + columns);
}

}  // namespace

QByteArray PngBytes(const QImage& frame, const std::string& file_name) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "PNG");
  if (!writer.write(frame)) {
    throw rtl::FileCreateError(rtl::Windows1251FromUtf8(file_name),
                               rtl::Windows1251FromUtf8(writer.errorString().toStdString()));
  }
  return png;
}

namespace {

// Encoded whole before the file is touched, then written as every file of the program is,
// so that a failed write leaves no PNG behind, or the earlier one as it was.
void WritePng(const QImage& frame, const std::string& file_name) {
  const QByteArray png = PngBytes(frame, file_name);
  const std::string_view bytes(png.constData(), static_cast<size_t>(png.size()));
  platform::WriteWholeFile(std::filesystem::path(file_name), bytes, platform::FileErrors::kNamingTheFile);
}

void Render(const RenderRequest& request) {
  core::ConnectionTable table;
  LoadTable(table, request.table_file);
  const rtl::Text share = rtl::Windows1251FromUtf8(request.share);
  RequireShareColumn(table, share, request.table_file);
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(request.width, request.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  ShowShareHistory(chart, series, table, share, PrintToStandardError);
  QImage frame(request.width, request.height, QImage::Format_RGB32);
  RenderHistoryFrame(chart, frame);
  WritePng(frame, request.out_file);
}

}  // namespace

std::optional<RenderRequest> ParseRenderArguments(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3 || arguments[1] != "--render") return std::nullopt;
  RenderRequest request;
  request.table_file = arguments[2];
  for (std::size_t i = 3; i < arguments.size(); i += 2) {
    if (i + 1 >= arguments.size()) return std::nullopt;
    const std::string& option = arguments[i];
    const std::string& value = arguments[i + 1];
    if (option == "--share") {
      request.share = value;
    } else if (option == "--out") {
      request.out_file = value;
    } else if (option != "--size" || !ParseSize(value, request.width, request.height)) {
      return std::nullopt;
    }
  }
  if (request.share.empty() || request.out_file.empty()) return std::nullopt;
  return request;
}

int RunRenderHistory(int argc, char* argv[]) {
  const std::optional<RenderRequest> request = ParseRenderArguments(std::vector<std::string>(argv, argv + argc));
  if (!request) {
    platform::Write(platform::Stream::kError, kUsage);
    return 2;
  }
  // Drawing a frame needs no window, so no display either.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  try {
    Render(*request);
  } catch (const std::exception& error) {
    PrintToStandardError(rtl::ErrorMessageForBox(error.what()));
    return 1;
  }
  return 0;
}
