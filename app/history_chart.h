// The share history chart in the Qt window: ListBox2's click command, which reads a watched
// share's history from the connection table (core/share_history.h) and shows it on Chart1
// (chart/history_chart.h), and a frame of the chart as a Qt image.
#pragma once

#include <functional>

#include <QImage>

#include "chart/history_chart.h"
#include "core/connection_table.h"
#include "core/share_history.h"
#include "rtl/text.h"

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
