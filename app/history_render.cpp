#include "app/history_render.h"

#include <QApplication>
#include <QBuffer>
#include <QImageWriter>

#include "app/history_chart.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "core/render_face.h"
#include "rtl/errors.h"
#include "rtl/text.h"

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

std::string HistoryPicturePng(int argc, char* argv[], core::HistoryPicture& picture) {
  // Drawing a frame needs no window, so no display either.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(picture.width, picture.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  ShowHistoryLine(chart, series, picture.share, HistoryLineOf(std::move(picture.history)), picture.notice);
  QImage frame(picture.width, picture.height, QImage::Format_RGB32);
  RenderHistoryFrame(chart, frame);
  const QByteArray png = PngBytes(frame, rtl::Utf8FromWindows1251(picture.out_file));
  return std::string(png.constData(), static_cast<std::size_t>(png.size()));
}
