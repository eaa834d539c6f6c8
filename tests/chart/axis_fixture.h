// A history-like chart panel drawing through the measuring canvas (13-pixel lines, 7-pixel
// characters) with helpers to lay the axes out on a chosen plot area and draw one axis, so
// that the axis drawing can be read back as canvas calls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/axis_drawing.h"
#include "chart_fixture.h"

class AxisFixture : public ChartFixture {
 protected:
  // Scale and pixel span of every axis on `plot`, as a paint sets them before drawing.
  void Layout(const TRect& plot) {
    chart().SetPlotArea(plot);
    for (TCustomChartAxis* axis : chart().AxesList()) axis->UpdateScale();
    for (TCustomChartAxis* axis : chart().AxesList()) axis->UpdatePixelSpan();
  }

  void Paint(TCustomChartAxis& axis, TPointLabelScan scan = TPointLabelScan::SkipHidden) {
    canvas().Clear();
    PaintAxis(axis, chart().FrameContext(), true, scan);
  }

  // A series on the bottom and left axes whose X values are kept ascending.
  TChartSeries& AddSeries() {
    TChartSeries& series = chart().AdoptSeries(std::make_unique<TChartSeries>());
    series.XValues().SetOrder(loAscending);
    return series;
  }

  // The drawing calls (lines and texts), in order.
  std::vector<std::string> Drawing() const {
    std::vector<std::string> drawing;
    for (const std::string& call : canvas_->Calls())
      if (call.starts_with("Draw") || call.starts_with("Write")) drawing.push_back(call);
    return drawing;
  }

  int Count(const std::string& prefix) const { return static_cast<int>(canvas_->CallsStartingWith(prefix).size()); }

  TChartAxis& Bottom() { return chart().BottomAxisRef(); }
  TChartAxis& Left() { return chart().LeftAxisRef(); }
};
