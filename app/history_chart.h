// The share history chart: Chart1 with the settings the main window stores for it, and the
// click command that draws one watched share's connection counts over time from the
// connection table. The window and the off-screen renderer use the same two functions.
#pragma once

#include <functional>

#include <QImage>

#include "core/connection_table.h"
#include "rtl/text.h"

class TChart;
class TFastLineSeries;

// Gives `chart` Chart1's stored settings (2D, legend hidden, title "TChart", back wall
// brush white and clear, bottom axis "dd.MM.yyyy" at 90 degrees) and creates Series1 on it:
// red, marks hidden, X date-time ascending, Y unordered. The chart owns the series.
TFastLineSeries& ConfigureHistoryChart(TChart& chart);

// Shows `share`'s history (texts Windows-1251): title line 0 := share, left axis 0 .. 60
// fixed; then, when the table has a share column, one point per row (X the caption's
// date-time under the regional settings, Y the count, label the date at the first row of
// each day, else the time) and the left axis maximum := largest count + 5. A first count
// that is not an integer is reported through `notice` (NoticeBox in the window) first.
// Errors end the drawing where they occur and propagate; points added before stay:
// rtl::ConvertError for a caption or count that cannot be read, rtl::ListIndexError for a
// row without the share's value, AxisException for a refused axis range.
void ShowShareHistory(TChart& chart, TFastLineSeries& series, const core::ConnectionTable& table, const rtl::Text& share,
                      const std::function<void(const rtl::Text&)>& notice);

// Draws one frame of `chart` through RenderChart into `frame` (Format_RGB32), which has the
// chart's size.
void RenderHistoryFrame(TChart& chart, QImage& frame);
