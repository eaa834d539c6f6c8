// The history chart on any table file text: the table is read as the loader reads it, one
// of its columns drawn as the share's history on an off-screen chart of at most 400 x 200
// pixels (the size, the column and the bytes that pick them come from the end of the input),
// and the frame encoded as a PNG. Errors the window shows in its error box end the input;
// anything else, a sanitizer report or a frame that does not encode, is a finding.
// Property: the PNG decodes to a picture of the chart's size.
#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>

#include "app/history_chart.h"
#include "app/history_render.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "core/connection_table.h"
#include "core/table_file_text.h"
#include "fuzz/property.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"

namespace {

void Draw(const core::ConnectionTable& table, const rtl::Text& share, QImage& frame) {
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(frame.width(), frame.height());
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  try {
    ShowShareHistory(chart, series, table, share, [](const rtl::Text&) {});
  } catch (const rtl::Exception&) {
    // The window shows the error and draws what was added before it; so does the frame.
  }
  RenderHistoryFrame(chart, frame);
}

}  // namespace

// Qt keeps its font caches until the process ends; the leak check at exit would report them.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // A chart needs an application object, and no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication application(*argc, *argv);
  // Two-digit years lie around the current one: a fixed clock keeps every run the same.
  rtl::SetClockForTesting([] { return rtl::EncodeDate(2026, 12, 8); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int width = input.ConsumeIntegralInRange(1, 400);
  const int height = input.ConsumeIntegralInRange(1, 200);
  const auto column = input.ConsumeIntegral<std::uint8_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();
  core::ConnectionTable table;
  try {
    core::ReadTableFileText(text, table);
  } catch (const rtl::ListIndexError&) {
    // The loader keeps the rows read before the bad line, and so does the chart.
  }
  // A column of the file, mostly a share column; a share the file lacks when it has none.
  const rtl::Text share = table.ColumnCount() > 0 ? table.Column(column % table.ColumnCount()) : rtl::Text("share");
  QImage frame(width, height, QImage::Format_RGB32);
  Draw(table, share, frame);
  QImage decoded;
  fuzz::Require(decoded.loadFromData(PngBytes(frame, "fuzz.png"), "PNG") && decoded.size() == frame.size(),
                "the PNG reads back as a picture of the chart's size");
  return 0;
}
