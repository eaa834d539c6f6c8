// The share history chart in the Qt window: the table's reading handed to the chart.
#include "app/history_chart.h"

#include "chart/chart.h"
#include "chart/qt/qt_device.h"

THistoryLine HistoryLineOf(core::ShareHistory history) {
  return {history.replaces_curve, std::move(history.times), std::move(history.counts), std::move(history.labels),
          std::move(history.notice), history.axis_maximum, history.failure};
}

void ShowShareHistory(TChart& chart, TFastLineSeries& series, const core::ConnectionTable& table, const rtl::Text& share,
                      const std::function<void(const rtl::Text&)>& notice) {
  ShowHistoryLine(chart, series, share, HistoryLineOf(core::ReadShareHistory(table, share)), notice);
}

void RenderHistoryFrame(TChart& chart, QImage& frame) {
  TBitmap pixels = BitmapOf(frame);
  RenderHistoryFrame(chart, pixels);
}
