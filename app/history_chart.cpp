// The share history chart in the Qt window: the table's reading handed to the chart.
#include "app/history_chart.h"

#include "chart/chart.h"
#include "chart/qt/qt_device.h"

void ShowShareHistory(TChart& chart, TFastLineSeries& series, const core::ConnectionTable& table, const rtl::Text& share,
                      const std::function<void(const rtl::Text&)>& notice) {
  ShowHistoryLine(chart, series, share, HistoryLineOf(core::ReadShareHistory(table, share)), notice);
}

void RenderHistoryFrame(TChart& chart, QImage& frame) {
  TBitmap pixels = BitmapOf(frame);
  RenderHistoryFrame(chart, pixels);
}
