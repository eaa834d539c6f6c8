// The history chart's picture on Windows.
#include "console/history_picture.h"

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/win32/gdi_device.h"
#include "chart/win32/png_picture.h"

namespace console {

std::string HistoryPicturePng(core::HistoryPicture& picture) {
  TGdiChartDevice device;
  TChart chart(device);
  chart.Resize(picture.width, picture.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  ShowHistoryLine(chart, series, picture.share, HistoryLineOf(std::move(picture.history)), picture.notice);
  TBitmap frame(picture.width, picture.height);
  RenderHistoryFrame(chart, frame);
  return PngFileBytes(frame, picture.out_file);
}

}  // namespace console
