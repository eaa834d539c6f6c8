// The program's share history chart on the engine: Chart1 with the settings the main window
// stores for it, and a share's history shown on it from plain points (the program reads them
// from its connection table, core/share_history.h). Every window and the picture face use
// these, so the history looks the same wherever it is drawn.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "chart/bitmap.h"
#include "rtl/text.h"

class TChart;
class TFastLineSeries;

// Gives `chart` Chart1's stored settings (2D, legend hidden, title "TChart", back wall
// brush white and clear, bottom axis "dd.MM.yyyy" at 90 degrees) and creates Series1 on it:
// red, marks hidden, X date-time ascending, Y unordered. The chart owns the series.
TFastLineSeries& ConfigureHistoryChart(TChart& chart);

// A history as the chart takes it: what each field means is the reading's (ShareHistory).
struct THistoryLine {
  bool replaces_curve = false;
  std::vector<double> x;
  std::vector<double> y;
  std::vector<rtl::Text> labels;
  std::optional<rtl::Text> notice;
  std::optional<double> axis_maximum;
  std::exception_ptr failure;
};

// A history the program read (core::ShareHistory; the engine knows only its fields), as the
// chart takes it.
template <class History>
THistoryLine HistoryLineOf(History history) {
  return {history.replaces_curve, std::move(history.times), std::move(history.counts), std::move(history.labels),
          std::move(history.notice), history.axis_maximum, history.failure};
}

// Shows the history under the title `title` (Windows-1251): title line 0 := title, left axis
// 0 .. 60 fixed; when the line replaces the curve, the series is cleared, `notice` gets the
// line's notice, the points are added (X ascending, every point in the colour value 0xFF0000)
// and the left axis maximum becomes the line's; then the line's failure is thrown. Errors
// end the showing where they occur; what was shown before stays: AxisException for a refused
// axis range.
void ShowHistoryLine(TChart& chart, TFastLineSeries& series, const rtl::Text& title, THistoryLine line,
                     const std::function<void(const rtl::Text&)>& notice);

// Draws one frame of `chart` through RenderChart into `frame`, which has the chart's size.
void RenderHistoryFrame(TChart& chart, TBitmap& frame);
