// The Windows counterpart of BM_HistoryFrame, for a build without Google Benchmark (none
// exists for mingw here): one frame of the share history chart (817 x 250) through the GDI
// device at the point counts given (default 100000), the same history as the Linux case.
// Prints per count the mean time of a frame over at least a second of frames, after one
// frame that warms the caches up.
//   history_frame_timing.exe [COUNT...]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/history_chart.h"
#include "chart/win32/gdi_device.h"
#include "chart/win32/gdi_surface.h"
#include "core/share_history.h"
#include "history_table.h"

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

void TimeFrames(int count) {
  TGdiChartDevice device;
  TChart chart(device);
  chart.Resize(817, 250);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  const History history = MinuteHistory(count);
  const core::ConnectionTable table = HistoryTable(history.times, history.counts);
  ShowHistoryLine(chart, series, "DATA", HistoryLineOf(core::ReadShareHistory(table, "DATA")), [](const rtl::Text&) {});
  // A DIB section, as the chart window's frames are: GDI writes the text straight into it.
  TBitmap frame = gdi::MakeDibBitmap(817, 250);
  RenderHistoryFrame(chart, frame);
  int frames = 0;
  const double start = Seconds();
  double elapsed = 0;
  for (; elapsed < 1.0; elapsed = Seconds() - start, ++frames) RenderHistoryFrame(chart, frame);
  std::printf("BM_HistoryFrame/%d through GDI: %.3f ms a frame (%d frames)\n", count, elapsed * 1000 / frames, frames);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) TimeFrames(100000);
  for (int i = 1; i < argc; ++i) TimeFrames(std::atoi(argv[i]));
  return 0;
}
