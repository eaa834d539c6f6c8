// The share history chart: Chart1's settings and the ListBox2 click command.
#include "app/history_chart.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"
#include "rtl/integer.h"

namespace {

// Every point carries this colour value (blue in the framework's byte order); the fast line
// draws all of them in its own pen, so it never shows.
constexpr TColor kPointColor = 0xFF0000;

// Column index of the first caption equal to the share byte for byte, or the column count.
int ShareColumn(const core::ConnectionTable& table, const rtl::Text& share) {
  int column = 0;
  while (column < table.ColumnCount() && table.Column(column) != share) ++column;
  return column;
}

// A row's value `index`; a row cut short (or the index -1 of the caption column) fails.
const rtl::Text& RowValue(const core::ConnectionTable::Row& row, int index) {
  if (index < 0 || index >= static_cast<int>(row.values.size())) throw rtl::ListIndexError(index);
  return row.values[index];
}

// A caption made by a poll is "date  time" (two spaces), one read from a file "date time":
// the date is what precedes the first space, the time what follows it (the second space
// included for a poll's caption); a caption without a space is all time.
struct CaptionParts {
  rtl::Text date;
  rtl::Text time;
};
CaptionParts SplitCaption(const rtl::Text& caption) {
  const auto space = caption.find(' ');
  if (space == rtl::Text::npos) return {{}, caption};
  return {caption.substr(0, space), caption.substr(space + 1)};
}

// The largest count before the rows are read: the first row's count, or 0 (after telling
// the user) when it is not a number; the row loop then fails on it.
int StartingMaximum(const rtl::Text& first_value, const std::function<void(const rtl::Text&)>& notice) {
  int maximum = 0;
  if (rtl::TryStrToInt(first_value, maximum)) return maximum;
  notice(first_value);
  return 0;
}

// One point per row in table order into `points`; returns the largest count.
int ReadRowPoints(const core::ConnectionTable& table, int value_index, int maximum, std::vector<TSeriesPoint>& points) {
  rtl::Text previous_date;
  for (int row = 0; row < table.RowCount(); ++row) {
    const core::ConnectionTable::Row& entry = table.RowAt(row);
    CaptionParts parts = SplitCaption(entry.caption);
    const double x = rtl::StrToDateTime(entry.caption);
    const int y = rtl::StrToInt(RowValue(entry, value_index));
    const bool new_day = parts.date != previous_date;
    if (new_day) previous_date = parts.date;
    points.push_back({x, double(y), std::move(new_day ? parts.date : parts.time), kPointColor});
    maximum = std::max(maximum, y);
  }
  return maximum;
}

// The points go to the series in one batch, which sorts rows out of time order once instead
// of inserting each; the points of the rows read before a failing one are added all the same.
int AddRowPoints(TFastLineSeries& series, const core::ConnectionTable& table, int value_index, int maximum) {
  std::vector<TSeriesPoint> points;
  points.reserve(table.RowCount());
  try {
    maximum = ReadRowPoints(table, value_index, maximum, points);
  } catch (...) {
    series.AddPoints(std::move(points));
    throw;
  }
  series.AddPoints(std::move(points));
  return maximum;
}

}  // namespace

TFastLineSeries& ConfigureHistoryChart(TChart& chart) {
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  chart.Title().SetText({"TChart"});
  chart.BackWall().Brush().SetColor(clWhite);
  chart.BackWall().Brush().SetStyle(bsClear);
  chart.BottomAxisRef().SetDateTimeFormat("dd.MM.yyyy");
  chart.BottomAxisRef().SetLabelsAngle(90);

  auto series = std::make_unique<TFastLineSeries>();
  series->SetName("Series1");
  series->SetSeriesColor(clRed);
  series->LinePen().SetColor(clRed);
  series->Marks().Visible = false;
  series->Marks().ArrowLength = 8;
  series->XValues().SetName("X");
  series->XValues().SetDateTime(true);
  series->XValues().SetMultiplier(1);
  series->XValues().SetOrder(loAscending);
  series->YValues().SetName("Y");
  series->YValues().SetDateTime(false);
  series->YValues().SetMultiplier(1);
  series->YValues().SetOrder(loNone);
  return static_cast<TFastLineSeries&>(chart.AdoptSeries(std::move(series)));
}

void ShowShareHistory(TChart& chart, TFastLineSeries& series, const core::ConnectionTable& table, const rtl::Text& share,
                      const std::function<void(const rtl::Text&)>& notice) {
  const int value_index = ShareColumn(table, share) - 1;
  chart.Title().SetLine(0, share);
  TChartAxis& left = chart.LeftAxisRef();
  left.SetMinimum(0);
  left.SetMaximum(60);
  left.SetAutomatic(false);
  // Without share columns the earlier curve stays under the new title.
  if (table.ColumnCount() < 2) return;
  series.ClearPoints();
  if (table.RowCount() == 0 || static_cast<int>(table.RowAt(0).values.size()) < value_index + 1) return;
  const int first_maximum = StartingMaximum(RowValue(table.RowAt(0), value_index), notice);
  const int maximum = AddRowPoints(series, table, value_index, first_maximum);
  left.SetMaximum(maximum + 5.0);
}

void RenderHistoryFrame(TChart& chart, QImage& frame) {
  TBitmap pixels = BitmapOf(frame);
  TCanvas target(chart.Device(), &pixels);
  chart.RenderChart(target, {0, 0, frame.width(), frame.height()});
}
