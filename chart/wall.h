// The walls behind the series: a rectangle with an outline pen and a fill. A 2D chart draws
// only the back wall, on the edges of the final plot area; the left and bottom walls and the
// wall thickness belong to 3D drawing and are only stored.
#pragma once

#include "chart/geometry.h"
#include "chart/pens.h"

class TChartHost;
struct TFrameContext;

class TCustomChartWall {
 public:
  // `default_color` is the wall's own default Color: back wall clDefault, left wall
  // 0x80FFFF, bottom wall clWhite. Changes ask `chart` for a repaint.
  TCustomChartWall(TChartHost& chart, TColor default_color);
  virtual ~TCustomChartWall() = default;
  TCustomChartWall(const TCustomChartWall&) = delete;
  TCustomChartWall& operator=(const TCustomChartWall&) = delete;

  TChartPen& Pen() { return pen_; }  // black, width 1, solid, visible
  const TChartPen& Pen() const { return pen_; }
  TChartBrush& Brush() { return brush_; }  // clDefault, bsSolid
  const TChartBrush& Brush() const { return brush_; }
  // Fill colour; clDefault = no fill of its own.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TColor DefaultColor() const { return default_color_; }
  // Color is stored with the chart's settings only when it differs from DefaultColor.
  bool ColorIsStored() const { return color_ != default_color_; }
  bool Dark3D() const { return dark3d_; }  // 3D only, default True
  void SetDark3D(bool dark);
  int Size() const { return size_; }  // 3D only: thickness in pixels, default 0
  void SetSize(int pixels);
  TChartHost& ParentChart() const { return chart_; }
  // Darkened sides are drawn only with a fill of their own (3D).
  bool AppliesDarkening() const;

  // Copies Pen, Brush, Color, Dark3D and Size.
  void Assign(const TCustomChartWall& source);

 private:
  void Changed() const;

  TChartHost& chart_;
  TColor default_color_;
  TChartPen pen_;
  TChartBrush brush_;
  TColor color_;
  bool dark3d_ = true;
  int size_ = 0;
};

class TChartWall : public TCustomChartWall {
 public:
  using TCustomChartWall::TCustomChartWall;
};

// Sets up the frame's canvas for drawing `wall`: its pen, then its bitmap, a clear brush
// when it has no fill of its own, or the fill through the frame's SelectFillBrush.
void PrepareWallDrawing(const TFrameContext& frame, const TCustomChartWall& wall);
// The 2D back wall on the frame's plot area: the outline covers columns plot.Left..plot.Right
// and rows plot.Top..plot.Bottom inclusive, the fill the inside.
void DrawBackWall(const TFrameContext& frame, const TCustomChartWall& wall);
