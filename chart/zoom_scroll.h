// Mouse zoom and scroll of the chart panel: the press is first offered to the click events
// (legend, axis, series, background); a left drag then zooms to a rectangle or undoes the
// zoom, a right drag pans the axes with the pointer, and the wheel moves the vertical axes.
#pragma once

#include <cstdint>
#include <functional>

#include "chart/axis_ranges.h"
#include "chart/mouse_input.h"

class TChart;
class TChartCanvas;
class TChartSeries;
class TCustomChartAxis;

// Process-wide bindings, the same for every chart. A drag starts only when every key of
// its key set is held; the empty sets accept any combination of Shift, Ctrl and Alt.
inline TMouseButton ZoomMouseButton = mbLeft;
inline TShiftState ZoomShiftKeys = 0;
inline TMouseButton PanMouseButton = mbRight;
inline TShiftState PanShiftKeys = 0;
// Each animated zoom step covers 1 / ZoomStepDivisor of the remaining distance.
inline double ZoomStepDivisor = 3.0;

// One drag: where it started and where the pointer was last (control pixels).
struct TZoomPanningRecord {
  bool Dragging = false;
  int AnchorX = 0;
  int AnchorY = 0;
  int CurrentX = 0;
  int CurrentY = 0;

  // All four coordinates become (x, y); Dragging becomes true.
  void StartAt(int x, int y);
  // Swaps AnchorX/CurrentX when AnchorX > CurrentX, likewise for Y.
  void OrderCorners();
};

enum TClickedPartKind : std::uint8_t { PartNone, PartLegend, PartAxis, PartSeries, PartTitle, PartFoot, PartPlotArea };

struct TClickedPart {
  TClickedPartKind Kind = PartNone;
  int PointIndex = -1;  // the series point (PartSeries) or legend entry (PartLegend)
  TChartSeries* Series = nullptr;
  TCustomChartAxis* Axis = nullptr;
};

using TChartNotifyEvent = std::function<void(TChart& sender)>;
// The proposed new ends of an axis during panning; the handler may change them or clear
// allow (true on entry) to keep the axis where it is.
using TChartAllowScrollEvent = std::function<void(TCustomChartAxis& sender, double& minimum, double& maximum, bool& allow)>;
using TChartClick = std::function<void(TChart& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxis =
    std::function<void(TChart& sender, TCustomChartAxis& axis, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickSeries = std::function<void(TChart& sender, TChartSeries& series, int valueIndex, TMouseButton button,
                                             TShiftState shift, int x, int y)>;
// The framework's own mouse events, fired before the chart's handling.
using TChartMouseEvent = TChartClick;
using TChartMouseMoveEvent = std::function<void(TChart& sender, TShiftState shift, int x, int y)>;
using TChartMouseWheelEvent = std::function<void(TChart& sender, TShiftState shift, int x, int y)>;

// The mouse handling part of TChart (TChart derives from it; every member is the chart's).
// Coordinates are control pixels; the axes are changed through SetScaleRange/ShiftRange.
class TChartMouseHandling {
 public:
  TChartMouseHandling() = default;
  TChartMouseHandling(const TChartMouseHandling&) = delete;
  TChartMouseHandling& operator=(const TChartMouseHandling&) = delete;

  TChartNotifyEvent OnZoom;
  TChartNotifyEvent OnUndoZoom;
  TChartNotifyEvent OnScroll;
  TChartAllowScrollEvent OnAllowScroll;
  TChartClick OnClickLegend;
  TChartClick OnClickBackground;
  TChartClickAxis OnClickAxis;
  TChartClickSeries OnClickSeries;
  TChartMouseEvent OnMouseDown;
  TChartMouseMoveEvent OnMouseMove;
  TChartMouseEvent OnMouseUp;
  TChartMouseWheelEvent OnMouseWheelDown;
  TChartMouseWheelEvent OnMouseWheelUp;

  const TZoomPanningRecord& ZoomDrag() const { return zoom_drag_; }
  const TZoomPanningRecord& PanDrag() const { return pan_drag_; }
  // True after a zoom, false after CancelZoom.
  bool ZoomApplied() const { return zoom_applied_; }
  // True while the axes hold the ranges last saved or restored (no zoom or pan since).
  bool ScalesRestored() const { return scales_restored_; }

  // The chart's framework cursor (crDefault = 0), shown over the control.
  std::int16_t Cursor() const { return cursor_; }
  void SetCursor(std::int16_t cursor);
  // The cursor shown when the pointer is over no series with a cursor of its own: the
  // chart's Cursor at creation and after loading (KeepRestingCursor).
  std::int16_t RestingCursor() const { return resting_cursor_; }
  void KeepRestingCursor() { resting_cursor_ = cursor_; }

  // First match: series (last to first), axes, title, foot, plot area, legend.
  TClickedPart FindClickedPart(int x, int y);

  // Restores the ranges saved before the first zoom or pan (only once), fires OnUndoZoom.
  void CancelZoom();
  // Zooms the four side axes to the targets (animated when AnimatedZoom), fires OnZoom.
  void ZoomTo(double leftMinimum, double leftMaximum, double rightMinimum, double rightMaximum, double topMinimum,
              double topMaximum, double bottomMinimum, double bottomMaximum);
  // ZoomTo the values under the corners of ZoomDrag.
  void ApplyZoomRectangle();

  // What the control's mouse messages reach (double clicks arrive as presses with ssDouble).
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Wheel turned toward the user: the vertical axes move up by 3 % of their range.
  void MouseWheelDown(TShiftState shift, int x, int y);
  void MouseWheelUp(TShiftState shift, int x, int y);
  // A wheel turn in eighths of a degree (negative toward the user); every full notch of
  // 120 is one MouseWheelDown or MouseWheelUp.
  void WheelRotated(int delta, TShiftState shift, int x, int y);

  // Not-xor rectangle of ZoomDrag on the frame the control shows, which is then shown
  // again without a repaint of the chart; drawing it twice leaves the pixels as they were.
  void DrawZoomFrame();
  // For the paint pipeline: the rectangle again on the frame being drawn, while a zoom drag
  // lasts, so it survives the repaint.
  void DrawZoomFrameWhileDragging();

 private:
  TChart& Chart();
  const TChart& Chart() const;
  void DrawZoomBox(TChartCanvas& canvas);
  bool OfferClick(const TChartClick& handler, TMouseButton button, TShiftState shift, int x, int y);
  bool OfferAxisClick(TCustomChartAxis& axis, TMouseButton button, TShiftState shift, int x, int y);
  bool OfferSeriesClick(const TClickedPart& part, TMouseButton button, TShiftState shift, int x, int y);
  bool TryStartZoomOrPan(TMouseButton button, TShiftState shift, int x, int y);
  void MoveZoomFrame(int x, int y);
  void PanTo(int x, int y);
  bool PanAxesAlong(bool horizontal, int newPixel, int previousPixel);
  void PanOneAxis(TCustomChartAxis& axis, int previousPixel, int newPixel);
  void FinishZoomDrag(int x, int y);
  void ShowSeriesCursor(TShiftState shift, int x, int y);
  void WheelScrollVertical(bool up);
  TSideAxes SideAxes();

  TZoomPanningRecord zoom_drag_;
  TZoomPanningRecord pan_drag_;
  bool zoom_applied_ = false;
  bool scales_restored_ = true;
  TSavedScales saved_scales_;
  std::int16_t cursor_ = 0;
  std::int16_t resting_cursor_ = 0;
  int wheel_accumulator_ = 0;
};
