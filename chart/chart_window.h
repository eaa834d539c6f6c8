// The window that shows a chart, as the chart engine sees it. The engine asks it for a
// paint (later, or at once), for its client size and to show a cursor shape; the window
// forwards its own messages to the chart: paint (TChart::Paint), size (TChart::Resize),
// mouse buttons with the shift state and the position, moves and the wheel (the chart's
// MouseDown, MouseMove, MouseUp, WheelRotated) and a change of the system colours
// (TChart::SystemColorsChanged). A Qt widget (chart/qt/) and a Win32 window implement it.
#pragma once

#include <cstdint>

#include "chart/geometry.h"

class TChartWindow {
 public:
  virtual ~TChartWindow() = default;

  // Schedules one paint of the whole client area; requests made before it comes are merged
  // into it. Never paints at once.
  virtual void Invalidate() = 0;
  // Paints before returning (the paint reaches TChart::Paint).
  virtual void PaintNow() = 0;
  // The client area in pixels.
  virtual TSize ClientSize() const = 0;
  // The pointer's shape over the window: a framework cursor number (cursors.h); crDefault is
  // the window's own arrow.
  virtual void SetCursorShape(std::int16_t cursor) = 0;
};
