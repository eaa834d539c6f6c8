// What a paint stage of one frame (titles, walls, axis room and axis drawing) needs of the
// chart panel, and nothing more: the canvas it draws with, the plot area, the depth of the
// 3D effect, the room a wall adds beside an axis, whether the frame is printed, the panel
// colour, and the chart's series and label events. The panel makes one from its own state
// for each stage, so that no stage depends on the panel itself.
#pragma once

#include "chart/colors.h"
#include "chart/geometry.h"
#include "chart/pens.h"

class TChartCanvas;
class TChartHost;

struct TFrameContext {
  TChartCanvas& canvas;
  const TChartHost& chart;  // the series list and the axis label events
  TRect plot_area;          // pixels; titles move its edges, axes and series are placed in it
  int depth = 0;            // Depth3D: 0 in a 2D chart
  int wall_size = 0;        // pixels an axis adds beside itself for its wall: 0 in a 2D chart
  bool printing = false;
  TColor panel_color = clBtnFace;

  // `font` takes the canvas font's pixels per inch, then the canvas font becomes a copy of it.
  void SelectFont(TFont& font) const;
  // The canvas brush in `color` and `style`. A hatch drawn in its own back colour is turned
  // black (white on black) so that it shows. Solid: background mode TRANSPARENT; a hatch:
  // OPAQUE with `back_color` between the hatch lines.
  void SelectFillBrush(TColor color, TBrushStyle style, TColor back_color) const;
  // While printing, a styled pen of width 1 gets width 0 (the device's thinnest line); on
  // screen nothing changes.
  void AdjustPenForPrinting(TPen& pen) const;
};
