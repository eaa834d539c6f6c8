// What series and axes need from the chart panel that owns them: repaint requests, the
// series list, the plot area, the five axes and a few panel settings. The chart panel
// implements it; tests use a small recording implementation.
#pragma once

#include <functional>
#include <span>

#include "chart/geometry.h"
#include "rtl/text.h"

class TChartCanvas;
class TChartSeries;
class TCustomChartAxis;
class TPen;

// The panel's OnGetAxisLabel: sender axis, the series of a point label (none for value
// labels), the point index (-1 for value labels) and the text, which the handler may replace.
using TAxisOnGetLabel =
    std::function<void(TCustomChartAxis& sender, TChartSeries* series, int valueIndex, rtl::Text& labelText)>;
// The panel's OnGetNextAxisLabel: asked for label labelIndex = 0, 1, ...; the handler may
// change labelValue and clears stop to emit it.
using TAxisOnGetNextLabel =
    std::function<void(TCustomChartAxis& sender, int labelIndex, double& labelValue, bool& stop)>;

class TChartHost {
 public:
  virtual ~TChartHost() = default;

  // Schedules one repaint of the whole control (merged with other requests); never paints
  // at once. Nothing while the panel's repaint switch is off.
  virtual void InvalidateChart() = 0;
  // InvalidateChart, then paints before returning.
  virtual void RefreshChart() = 0;

  // The series in drawing order.
  virtual std::span<TChartSeries* const> SeriesList() const = 0;
  // Nothing when listed already; otherwise appends the series to the list FIRST, then calls
  // series.SetParentChart(this) (which calls back here and finds it listed) and repaints.
  virtual void AttachSeries(TChartSeries& series) = 0;
  // Nothing when not listed; otherwise removes the series from the list FIRST, then calls
  // series.SetParentChart(nullptr) and repaints.
  virtual void DetachSeries(TChartSeries& series) = 0;

  // The chart rectangle in pixels (Right and Bottom are the far edges: Width = Right - Left).
  virtual TRect PlotArea() const = 0;
  // Depth of the 3D effect in pixels; 0 for a 2D chart.
  virtual int Depth3D() const = 0;
  // True while the panel is being read from its stored form.
  virtual bool IsLoading() const = 0;
  // True while the panel is being destroyed (series then request no repaint).
  virtual bool IsDestroying() const = 0;

  // The five axes; the depth axis is null only in panels that have none.
  virtual TCustomChartAxis* BottomAxis() const = 0;
  virtual TCustomChartAxis* TopAxis() const = 0;
  virtual TCustomChartAxis* LeftAxis() const = 0;
  virtual TCustomChartAxis* RightAxis() const = 0;
  virtual TCustomChartAxis* DepthAxis() const = 0;

  // Paging: MaxPointsPerPage 0 = no paging; Page counts from 1.
  virtual int MaxPointsPerPage() const = 0;
  virtual int Page() const = 0;
  virtual bool ScaleLastPage() const = 0;
  // Highest depth order given to a series (depth axis range); 0 in a 2D chart.
  virtual int HighestSeriesZOrder() const = 0;
  // Whether the chart orders series by depth (3D); series then compare depth slots.
  virtual bool AppliesDepthOrdering() const = 0;

  // The mouse press has been taken by a click handler (set before calling one).
  virtual bool MouseHandled() const = 0;
  virtual void SetMouseHandled(bool handled) = 0;

  // The panel's axis label events (empty functions when not assigned).
  virtual const TAxisOnGetLabel& OnGetAxisLabel() const = 0;
  virtual const TAxisOnGetNextLabel& OnGetNextAxisLabel() const = 0;

  // The canvas the chart draws with, for series that draw themselves (the fast line
  // draws a new segment at once when it does not repaint); null for hosts that never draw.
  virtual TChartCanvas* Canvas() const { return nullptr; }
  // The chart's 3D switch (View3D); series draw with the depth forms when it is on.
  virtual bool View3D() const { return false; }
  // Lets the chart thin a styled pen while printing; on screen it changes nothing.
  virtual void AdjustPenForPrinting(TPen& /*pen*/) const {}
  // The widest mark text of the active series; marks are never drawn by this engine, so 0.
  virtual int WidestMarkText() const { return 0; }
};
