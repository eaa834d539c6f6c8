// The fast line series: the points drawn as one polyline in a single pen, with no point
// symbols, no per-point colours and no fill; segments that would not move the pen are
// skipped. Storage, events and the visible range are the base series'.
#pragma once

#include "chart/geometry.h"
#include "chart/pens.h"
#include "chart/series.h"

class TChartCanvas;

// Point p lies on the segment a-b within `tolerance` pixels along each axis, and less than
// about one pixel (cross product over the larger extent) from the line through a and b.
// A degenerate segment (a = b) holds no point.
bool PointOnSegment(TPoint p, TPoint a, TPoint b, int tolerance);

class TFastLineSeries : public TChartSeries {
 public:
  // Draw-between-points on (the line reaches the first point beyond the right edge),
  // single points not allowed, AutoRepaint true, LinePen black and solid.
  TFastLineSeries();
  ~TFastLineSeries() override;

  // True (default): each added point requests a repaint. False: the new segment is drawn at
  // once on the chart's canvas, OnAfterAdd is not fired and dependents are not told.
  bool AutoRepaint() const { return auto_repaint_; }
  void SetAutoRepaint(bool value) { auto_repaint_ = value; }

  // The pen of the whole line; a change of any of its properties requests a repaint.
  // Setting LinePen.Color alone changes only the pen, not SeriesColor.
  TChartPen& LinePen() { return line_pen_; }
  const TChartPen& LinePen() const { return line_pen_; }
  // Copies every setting of `pen` (the pen object stays the series'), then SeriesColor
  // := LinePen.Color.
  void SetLinePen(const TChartPen& pen);
  // The base setter, then LinePen.Color := value.
  void SetSeriesColor(TColor value) override;

  // Copies AutoRepaint and the LinePen settings of another fast line series.
  void Assign(const TFastLineSeries& source);

  // The pen, then DrawPoint for FirstVisibleIndex ... LastVisibleIndex.
  void DrawPoints() override;
  // The segment to the point's pixel; the first visible point starts from the point before
  // it, and a point on the last drawn end draws nothing.
  void DrawPoint(int index) override;
  // The visible point at the pixel, or the left point index of the visible segment through
  // it; -1 when none (also before the first paint).
  int PointAtPixel(int x, int y) const override;
  // A horizontal line in the line pen across the rectangle at its vertical middle.
  void DrawLegendSymbol(int index, const TRect& rect);
  // The end of the last segment drawn (pixels); kept across ClearPoints.
  int LastDrawnX() const { return last_drawn_x_; }
  int LastDrawnY() const { return last_drawn_y_; }

  rtl::Text EditorClassName() const { return "TFastLineSeriesEditor"; }

 protected:
  void PointAdded(int index) override;
  // With AutoRepaint false every added point draws its own segment at once.
  bool AddsPointsOneByOne() const override { return !auto_repaint_ || TChartSeries::AddsPointsOneByOne(); }

 private:
  TChartCanvas* ChartCanvas() const;
  bool DrawsInDepth() const;
  void PrepareLinePen(TChartCanvas& canvas);
  bool CanMergeColumnRuns(TChartCanvas& canvas) const;
  void DrawPointAt(TChartCanvas& canvas, int index, int x, int y);
  void DrawVisibleMerged(TChartCanvas& canvas);

  bool auto_repaint_ = true;
  TChartPen line_pen_;
  int last_drawn_x_ = 0;
  int last_drawn_y_ = 0;
};
