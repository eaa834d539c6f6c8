// Mouse zoom and scroll of the chart panel: click offering, the zoom rectangle, panning,
// undo and the wheel.
#include "chart/zoom_scroll.h"

#include <cstdlib>

#include "chart/axis.h"
#include "chart/axis_drawing.h"
#include "chart/canvas.h"
#include "chart/chart.h"
#include "chart/cursors.h"
#include "chart/series.h"

namespace {

// A drag must pass this many pixels both ways to zoom or undo; shorter ones are slips.
constexpr int kZoomThreshold = 16;
// The wheel moves the vertical axes by 3 % of their range per notch.
constexpr double kWheelStepPercent = 3;
// Wheel rotation of one notch, in eighths of a degree.
constexpr int kWheelNotch = 120;

// As the platform's PtInRect: the right and bottom edges are outside.
bool PointInRect(const TRect& rect, int x, int y) {
  return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

bool HoldsAll(TShiftState shift, TShiftState keys) { return (shift & keys) == keys; }

// The legend is never drawn by this engine, so it covers no pixel and reports no entry.
int LegendEntryAt(const TChartLegend&, int, int) { return -1; }

// The device state the zoom frame changes, put back afterwards so that the not-xor mode
// never leaks into the next frame drawn on the same device.
class TFramePenGuard {
 public:
  explicit TFramePenGuard(TChartCanvas& canvas)
      : canvas_(canvas),
        color_(canvas.Pen().Color()),
        mode_(canvas.Pen().Mode()),
        style_(canvas.Pen().Style()),
        width_(canvas.Pen().Width()),
        brush_style_(canvas.Brush().Style()) {}
  ~TFramePenGuard() {
    canvas_.Pen().SetColor(color_);
    canvas_.Pen().SetMode(mode_ == pmNotXor ? pmCopy : mode_);
    canvas_.Pen().SetStyle(style_);
    canvas_.Pen().SetWidth(width_);
    canvas_.Brush().SetStyle(brush_style_);
  }
  TFramePenGuard(const TFramePenGuard&) = delete;
  TFramePenGuard& operator=(const TFramePenGuard&) = delete;

 private:
  TChartCanvas& canvas_;
  TColor color_;
  TPenMode mode_;
  TPenStyle style_;
  int width_;
  TBrushStyle brush_style_;
};

}  // namespace

// --- drag record ------------------------------------------------------------------------------

void TZoomPanningRecord::StartAt(int x, int y) {
  AnchorX = CurrentX = x;
  AnchorY = CurrentY = y;
  Dragging = true;
}

void TZoomPanningRecord::OrderCorners() {
  if (AnchorX > CurrentX) std::swap(AnchorX, CurrentX);
  if (AnchorY > CurrentY) std::swap(AnchorY, CurrentY);
}

// --- chart state --------------------------------------------------------------------------------

// TChart is the only class deriving from this part.
TChart& TChartMouseHandling::Chart() { return static_cast<TChart&>(*this); }
const TChart& TChartMouseHandling::Chart() const { return static_cast<const TChart&>(*this); }

TSideAxes TChartMouseHandling::SideAxes() {
  TChart& chart = Chart();
  return {chart.TopAxis(), chart.LeftAxis(), chart.RightAxis(), chart.BottomAxis()};
}

void TChartMouseHandling::SetCursor(std::int16_t cursor) {
  cursor_ = cursor;
  if (TChartWindow* window = Chart().Window()) window->SetCursorShape(cursor);
}

// --- clicks -----------------------------------------------------------------------------------

TClickedPart TChartMouseHandling::FindClickedPart(int x, int y) {
  TChart& chart = Chart();
  const auto series = chart.SeriesList();
  for (auto it = series.rbegin(); it != series.rend(); ++it) {
    if (!(*it)->Active()) continue;
    const int index = (*it)->PointAtPixel(x, y);
    if (index != -1) return {PartSeries, index, *it, nullptr};
  }
  for (TCustomChartAxis* axis : chart.AxesList())
    if (chart.AxisShown(*axis) && AxisHitTest(*axis, x, y)) return {PartAxis, -1, nullptr, axis};
  if (chart.Title().TitleHit(x, y)) return {PartTitle};
  if (chart.Foot().TitleHit(x, y)) return {PartFoot};
  if (PointInRect(chart.PlotArea(), x, y) && chart.ActiveSeriesCount() > 0) return {PartPlotArea};
  const TChartLegend& legend = chart.Legend();
  if (legend.Visible()) {
    const int entry = LegendEntryAt(legend, x, y);
    if (entry != -1) return {PartLegend, entry};
  }
  return {};
}

// Handlers see MouseHandled set and keep the press for themselves by leaving it so.
bool TChartMouseHandling::OfferClick(const TChartClick& handler, TMouseButton button, TShiftState shift, int x,
                                     int y) {
  if (!handler) return false;
  Chart().SetMouseHandled(true);
  handler(Chart(), button, shift, x, y);
  return Chart().MouseHandled();
}

bool TChartMouseHandling::OfferAxisClick(TCustomChartAxis& axis, TMouseButton button, TShiftState shift, int x,
                                         int y) {
  if (!OnClickAxis) return false;
  Chart().SetMouseHandled(true);
  OnClickAxis(Chart(), axis, button, shift, x, y);
  return Chart().MouseHandled();
}

bool TChartMouseHandling::OfferSeriesClick(const TClickedPart& part, TMouseButton button, TShiftState shift, int x,
                                           int y) {
  bool handled = part.Series->SeriesClicked(part.PointIndex, button, shift, x, y);
  if (OnClickSeries) {
    Chart().SetMouseHandled(true);
    OnClickSeries(Chart(), *part.Series, part.PointIndex, button, shift, x, y);
    handled = Chart().MouseHandled();
  }
  return handled;
}

void TChartMouseHandling::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(Chart(), button, shift, x, y);
  if (zoom_drag_.Dragging || pan_drag_.Dragging) return;
  if (Chart().MouseHandled()) {
    Chart().SetMouseHandled(false);
    return;
  }
  const TClickedPart part = FindClickedPart(x, y);
  bool handled = false;
  switch (part.Kind) {
    case PartLegend:
      handled = OfferClick(OnClickLegend, button, shift, x, y);
      break;
    case PartAxis:
      handled = OfferAxisClick(*part.Axis, button, shift, x, y);
      if (!handled) handled = TryStartZoomOrPan(button, shift, x, y);
      break;
    case PartSeries:
      handled = OfferSeriesClick(part, button, shift, x, y);
      if (!handled) handled = TryStartZoomOrPan(button, shift, x, y);
      break;
    case PartPlotArea:
      handled = OfferClick(OnClickBackground, button, shift, x, y);
      if (!handled) handled = TryStartZoomOrPan(button, shift, x, y);
      break;
    case PartNone:
    case PartTitle:
    case PartFoot:
      break;
  }
  // A press that nothing took (a middle press on the plot area whose background handler
  // cleared MouseHandled included) is offered to the background once more.
  if (!handled) OfferClick(OnClickBackground, button, shift, x, y);
  Chart().SetMouseHandled(false);
}

bool TChartMouseHandling::TryStartZoomOrPan(TMouseButton button, TShiftState shift, int x, int y) {
  TChart& chart = Chart();
  bool handled = false;
  if (chart.AllowZoom() && button == ZoomMouseButton && HoldsAll(shift, ZoomShiftKeys)) {
    SetCursor(crDefault);
    zoom_drag_.StartAt(x, y);
    DrawZoomFrame();
    handled = true;
  }
  if (chart.AllowPanning() != pmNone && button == PanMouseButton && HoldsAll(shift, PanShiftKeys)) {
    SetCursor(crDefault);
    pan_drag_.StartAt(x, y);
    handled = true;
  }
  return handled;
}

// --- zoom frame --------------------------------------------------------------------------------

void TChartMouseHandling::DrawZoomBox(TChartCanvas& canvas) {
  const TFramePenGuard guard(canvas);
  TColor color = ColorOfRgb(ColorToRGB(Chart().Color(), canvas.Target().Device(), clBtnFace));
  // A white pen would leave the pixels unchanged in not-xor mode.
  if (color == clWhite) color = clBlack;
  canvas.Pen().SetColor(color);
  canvas.Pen().SetMode(pmNotXor);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawBox(zoom_drag_.AnchorX, zoom_drag_.AnchorY, zoom_drag_.CurrentX, zoom_drag_.CurrentY);
}

void TChartMouseHandling::DrawZoomFrame() {
  TChart& chart = Chart();
  TChartCanvas* canvas = chart.Canvas();
  if (canvas == nullptr) return;
  TCanvas* shown = canvas->ShownFrame();
  if (shown == nullptr) {
    DrawZoomBox(*canvas);
    return;
  }
  // The window shows the last frame; the rectangle goes onto it and the frame is
  // shown again as it is, without running the paint pipeline.
  TCanvas& previous = canvas->Target();
  canvas->AttachDevice(*shown);
  DrawZoomBox(*canvas);
  canvas->AttachDevice(previous);
  chart.ShowFrameAgain();
}

void TChartMouseHandling::DrawZoomFrameWhileDragging() {
  if (zoom_drag_.Dragging && Chart().Canvas() != nullptr) DrawZoomBox(*Chart().Canvas());
}

void TChartMouseHandling::MoveZoomFrame(int x, int y) {
  if (x == zoom_drag_.CurrentX && y == zoom_drag_.CurrentY) return;
  DrawZoomFrame();
  zoom_drag_.CurrentX = x;
  zoom_drag_.CurrentY = y;
  DrawZoomFrame();
}

// --- moves ---------------------------------------------------------------------------------------

void TChartMouseHandling::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(Chart(), shift, x, y);
  if (zoom_drag_.Dragging)
    MoveZoomFrame(x, y);
  else if (pan_drag_.Dragging)
    PanTo(x, y);
  else
    ShowSeriesCursor(shift, x, y);
}

// The corners are ordered before each step and CurrentX/CurrentY serve as the previous
// position, so a leftward drag measures from the larger of the start and the previous
// position: moves 200 -> 190 -> 180 shift by 10 and then 20 pixels.
void TChartMouseHandling::PanTo(int x, int y) {
  if (!PointInRect(Chart().PlotArea(), x, y)) {
    pan_drag_.Dragging = false;
    return;
  }
  if (x == pan_drag_.CurrentX && y == pan_drag_.CurrentY) return;
  pan_drag_.OrderCorners();
  if (scales_restored_) {
    saved_scales_ = SaveAxisRanges(SideAxes());
    scales_restored_ = false;
  }
  bool scrolled = PanAxesAlong(true, x, pan_drag_.CurrentX);
  scrolled = PanAxesAlong(false, y, pan_drag_.CurrentY) || scrolled;
  pan_drag_.CurrentX = x;
  pan_drag_.CurrentY = y;
  if (!scrolled) return;
  if (OnScroll) OnScroll(Chart());
  Chart().InvalidateChart();
}

// True when the direction may pan and the pointer moved along it, also when OnAllowScroll
// refused every axis.
bool TChartMouseHandling::PanAxesAlong(bool horizontal, int newPixel, int previousPixel) {
  if (newPixel == previousPixel) return false;
  const TPanningMode mode = horizontal ? pmHorizontal : pmVertical;
  const TPanningMode allowed = Chart().AllowPanning();
  if (allowed != mode && allowed != pmBoth) return false;
  for (TCustomChartAxis* axis : Chart().AxesList())
    if (!axis->IsDepth() && axis->IsHorizontal() == horizontal) PanOneAxis(*axis, previousPixel, newPixel);
  return true;
}

// The value under the pointer follows the pointer: a drag right shows earlier values.
void TChartMouseHandling::PanOneAxis(TCustomChartAxis& axis, int previousPixel, int newPixel) {
  const double delta = axis.PixelToValue(previousPixel) - axis.PixelToValue(newPixel);
  double minimum = axis.Minimum() + delta;
  double maximum = axis.Maximum() + delta;
  bool allow = true;
  if (OnAllowScroll) OnAllowScroll(axis, minimum, maximum, allow);
  if (allow) axis.SetScaleRange(minimum, maximum);
}

void TChartMouseHandling::ShowSeriesCursor(TShiftState shift, int x, int y) {
  const auto series = Chart().SeriesList();
  bool matched = false;
  for (TChartSeries* s : series) {
    if (s->Active() && s->Cursor() != crDefault && s->PointAtPixel(x, y) != -1) {
      SetCursor(s->Cursor());
      matched = true;
      break;
    }
  }
  for (TChartSeries* s : series) s->SeriesMouseMove(shift, x, y);
  if (!matched) SetCursor(resting_cursor_);
}

// --- release, zoom and undo ----------------------------------------------------------------------

void TChartMouseHandling::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(Chart(), button, shift, x, y);
  for (TChartSeries* series : Chart().SeriesList()) series->SeriesMouseUp(button, shift, x, y);
  if (zoom_drag_.Dragging && button == ZoomMouseButton) FinishZoomDrag(x, y);
  pan_drag_.Dragging = false;
}

// Only a drag right and down zooms; any other drag longer than the threshold both ways undoes.
void TChartMouseHandling::FinishZoomDrag(int x, int y) {
  zoom_drag_.Dragging = false;
  DrawZoomFrame();  // erases the last rectangle (the pen mode goes back to pmCopy with it)
  zoom_drag_.CurrentX = x;
  zoom_drag_.CurrentY = y;
  const int width = zoom_drag_.CurrentX - zoom_drag_.AnchorX;
  const int height = zoom_drag_.CurrentY - zoom_drag_.AnchorY;
  if (std::abs(width) <= kZoomThreshold || std::abs(height) <= kZoomThreshold) return;
  if (width > 0 && height > 0)
    ApplyZoomRectangle();
  else
    CancelZoom();
  Chart().InvalidateChart();
}

void TChartMouseHandling::ApplyZoomRectangle() {
  zoom_drag_.OrderCorners();
  TChart& chart = Chart();
  auto across = [&](TCustomChartAxis* axis, int low, int high) {
    return std::array<double, 2>{axis->PixelToValue(low), axis->PixelToValue(high)};
  };
  const auto left = across(chart.LeftAxis(), zoom_drag_.CurrentY, zoom_drag_.AnchorY);
  const auto right = across(chart.RightAxis(), zoom_drag_.CurrentY, zoom_drag_.AnchorY);
  const auto top = across(chart.TopAxis(), zoom_drag_.AnchorX, zoom_drag_.CurrentX);
  const auto bottom = across(chart.BottomAxis(), zoom_drag_.AnchorX, zoom_drag_.CurrentX);
  ZoomTo(left[0], left[1], right[0], right[1], top[0], top[1], bottom[0], bottom[1]);
}

void TChartMouseHandling::ZoomTo(double leftMinimum, double leftMaximum, double rightMinimum, double rightMaximum,
                                 double topMinimum, double topMaximum, double bottomMinimum, double bottomMaximum) {
  TChart& chart = Chart();
  if (scales_restored_) {
    saved_scales_ = SaveAxisRanges(SideAxes());
    scales_restored_ = false;
  }
  const std::array<TCustomChartAxis*, 4> axes{chart.LeftAxis(), chart.RightAxis(), chart.TopAxis(), chart.BottomAxis()};
  const std::array<std::array<double, 2>, 4> targets{{{leftMinimum, leftMaximum},
                                                      {rightMinimum, rightMaximum},
                                                      {topMinimum, topMaximum},
                                                      {bottomMinimum, bottomMaximum}}};
  if (chart.AnimatedZoom()) {
    // Each step covers a third of what remains: after the 7 steps of the default 8 about
    // 94 % (1 - (2/3)^7) of the way is done before the final jump.
    for (int step = 1; step < chart.AnimatedZoomSteps(); ++step) {
      for (std::size_t i = 0; i < axes.size(); ++i) {
        TCustomChartAxis& axis = *axes[i];
        axis.SetScaleRange(axis.Minimum() + (targets[i][0] - axis.Minimum()) / ZoomStepDivisor,
                           axis.Maximum() - (axis.Maximum() - targets[i][1]) / ZoomStepDivisor);
      }
      chart.RefreshChart();
    }
  }
  for (std::size_t i = 0; i < axes.size(); ++i) axes[i]->SetScaleRange(targets[i][0], targets[i][1]);
  zoom_applied_ = true;
  if (OnZoom) OnZoom(chart);
}

void TChartMouseHandling::CancelZoom() {
  if (!scales_restored_) {
    RestoreAxisRanges(SideAxes(), saved_scales_);
    scales_restored_ = true;
  }
  if (OnUndoZoom) OnUndoZoom(Chart());
  Chart().InvalidateChart();
  zoom_applied_ = false;
}

// --- wheel ------------------------------------------------------------------------------------------

// Notches of 120 are counted as the platform's wheel messages count them; smaller turns add up.
void TChartMouseHandling::WheelRotated(int delta, TShiftState shift, int x, int y) {
  wheel_accumulator_ += delta;
  while (std::abs(wheel_accumulator_) >= kWheelNotch) {
    const bool towardUser = wheel_accumulator_ < 0;
    wheel_accumulator_ += towardUser ? kWheelNotch : -kWheelNotch;
    if (towardUser)
      MouseWheelDown(shift, x, y);
    else
      MouseWheelUp(shift, x, y);
  }
}

void TChartMouseHandling::MouseWheelDown(TShiftState shift, int x, int y) {
  if (OnMouseWheelDown) OnMouseWheelDown(Chart(), shift, x, y);
  WheelScrollVertical(true);
}

void TChartMouseHandling::MouseWheelUp(TShiftState shift, int x, int y) {
  if (OnMouseWheelUp) OnMouseWheelUp(Chart(), shift, x, y);
  WheelScrollVertical(false);
}

// 0 .. 65 moves by 1.95 to 1.95 .. 66.95; the left, right and depth axes all move.
void TChartMouseHandling::WheelScrollVertical(bool up) {
  for (TCustomChartAxis* axis : Chart().AxesList()) {
    if (axis->IsHorizontal()) continue;
    double offset = (axis->Maximum() - axis->Minimum()) * kWheelStepPercent * 0.01;
    if (!up) offset = -offset;
    axis->ShiftRange(offset, false);
  }
}
