// The walls behind the series.
#include "chart/wall.h"

#include "chart/canvas.h"
#include "chart/chart_host.h"
#include "chart/frame_context.h"
#include "chart/property.h"

TCustomChartWall::TCustomChartWall(TChartHost& chart, TColor default_color)
    : chart_(chart),
      default_color_(default_color),
      pen_([this] { Changed(); }),
      brush_([this] { Changed(); }),
      color_(default_color) {}

void TCustomChartWall::Changed() const { chart_.InvalidateChart(); }

void TCustomChartWall::SetColor(TColor color) {
  StoreAndReport(color_, color, [this] { Changed(); });
}

void TCustomChartWall::SetDark3D(bool dark) {
  StoreAndReport(dark3d_, dark, [this] { Changed(); });
}

void TCustomChartWall::SetSize(int pixels) {
  StoreAndReport(size_, pixels, [this] { Changed(); });
}

bool TCustomChartWall::AppliesDarkening() const {
  return brush_.Style() != bsClear && !brush_.HasBitmap() && dark3d_;
}

void TCustomChartWall::Assign(const TCustomChartWall& source) {
  pen_.Assign(source.pen_);
  brush_.Assign(source.brush_);
  SetColor(source.color_);
  SetDark3D(source.dark3d_);
  SetSize(source.size_);
}

void PrepareWallDrawing(const TFrameContext& frame, const TCustomChartWall& wall) {
  TChartCanvas& canvas = frame.canvas;
  canvas.ApplyChartPen(wall.Pen());
  if (wall.Brush().HasBitmap()) {
    canvas.Brush().SetBitmap(wall.Brush().Bitmap());
    return;
  }
  canvas.Brush().SetBitmap(std::nullopt);
  // A wall without a colour of its own and with the default solid brush shows the panel.
  if (wall.Color() == clDefault && wall.Brush().Style() == bsSolid)
    canvas.Brush().SetStyle(bsClear);
  else
    frame.SelectFillBrush(wall.Color(), wall.Brush().Style(), wall.Brush().Color());
}

void DrawBackWall(const TFrameContext& frame, const TCustomChartWall& wall) {
  PrepareWallDrawing(frame, wall);
  // DrawBox leaves out its right and bottom edges, so one more pixel each way puts the
  // outline on the plot area's far edges.
  const TRect& plot = frame.plot_area;
  frame.canvas.DrawBox(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
}
