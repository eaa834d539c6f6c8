// The chart panel's paint pipeline: one frame, from the panel background through titles,
// axis layout, walls and axes to the series clipped to the plot area, drawn into the
// canvas's frame bitmap and copied to the window in one step.
#include <algorithm>

#include "chart/axis_drawing.h"
#include "chart/chart.h"
#include "chart/rounding.h"
#include "chart/series.h"

namespace {

// The first five axes of the list (the built-in ones) take their room out of the plot area.
constexpr std::size_t kBuiltInAxes = 5;
constexpr char kLineSeparator = '\r';

TColor TopLeftBevelColor(TBevelCut cut) { return cut == bvLowered ? clBtnShadow : clBtnHighlight; }
TColor BottomRightBevelColor(TBevelCut cut) { return cut == bvRaised ? clBtnShadow : clBtnHighlight; }

// As the platform's IntersectRect: empty when nothing of either rectangle is shared.
bool Intersect(const TRect& a, const TRect& b, TRect& common) {
  common = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  return common.Left < common.Right && common.Top < common.Bottom;
}

}  // namespace

// --- frame --------------------------------------------------------------------------------

void TChart::Paint() {
  if (is_printing_) return;
  if (canvas_->RepaintFromBuffer()) return;
  RenderChart(window_canvas_, {0, 0, Width(), Height()});
}

void TChart::RenderChart(TCanvas& target, const TRect& rect) {
  frame_bounds_ = canvas_->BeginFrame(target, &view3d_options_, rect, view3d_);
  const int w = frame_bounds_.Width();
  const int h = frame_bounds_.Height();
  // Margins are percentages of the frame, rounded by MulDiv: 3 % of 817 is 25 (24.51).
  plot_area_ = {frame_bounds_.Left + border_width_ + gdi::MulDiv(margin_left_, w, 100),
                frame_bounds_.Top + border_width_ + gdi::MulDiv(margin_top_, h, 100),
                frame_bounds_.Right - border_width_ - gdi::MulDiv(margin_right_, w, 100),
                frame_bounds_.Bottom - border_width_ - gdi::MulDiv(margin_bottom_, h, 100)};
  NormalizePlotArea();
  DrawContents(frame_bounds_);
  canvas_->EndFrame(target, window_canvas_, rect);
  // A frame of another size drawn for another target is no longer the window's frame.
  if (&target != &window_canvas_ && (TSize{rect.Width(), rect.Height()} != Size())) canvas_->MarkDirty();
}

void TChart::DrawContents(const TRect& bounds) {
  ++pipeline_runs_;
  PaintPanelBackground(bounds);
  for (std::size_t i = 0; i < series_.size(); ++i)
    if (series_[i]->Active()) series_[i]->PrepareChartDrawing();
  DrawTitlesAndLegend();
  AssignFlatDepths();
  LayoutAxes();
  ApplySeriesMargins();
  canvas_->SetProjection(depth3d_, frame_bounds_, plot_area_);
  if (canvas_->IsFreeRotating()) {
    const TRect saved = plot_area_;
    plot_area_ = frame_bounds_;
    DrawTitlesAndLegend();
    plot_area_ = saved;
    NormalizePlotArea();
  }
  DrawWalls();
  if (axis_visible_) {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(*this);
    DrawAxes();
  }
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(*this);
  DrawAllSeries();
  DrawZoomFrameWhileDragging();  // the rubber band survives a repaint during the drag
  canvas_->RestoreDefaults();
  if (OnAfterDraw) OnAfterDraw(*this);
}

void TChart::NormalizePlotArea() {
  TRect& area = plot_area_;
  area.Left = std::max(area.Left, frame_bounds_.Left);
  area.Top = std::max(area.Top, frame_bounds_.Top);
  if (area.Right < area.Left)
    area.Right = area.Left + 1;
  else if (area.Right == area.Left)
    area.Right = area.Left + Width();
  if (area.Bottom < area.Top)
    area.Bottom = area.Top + 1;
  else if (area.Bottom == area.Top)
    area.Bottom = area.Top + Height();
  plot_width_ = area.Width();
  plot_height_ = area.Height();
  plot_center_x_ = (area.Left + area.Right) / 2;
  plot_center_y_ = (area.Top + area.Bottom) / 2;
}

// --- background and bevels ------------------------------------------------------------------

void TChart::PaintPanelBackground(const TRect& bounds) {
  if (gradient_.Visible()) {
    canvas_->FillGradient(bounds, gradient_.StartColor(), gradient_.EndColor(), gradient_.Direction());
  } else {
    canvas_->Brush().SetColor(color_);
    canvas_->Brush().SetStyle(bsSolid);
    canvas_->PaintBackground(bounds);
  }
  if (!canvas_->IsFreeRotating()) DrawBevels(bounds);
}

void TChart::DrawBevels(TRect rect) {
  TPen& pen = canvas_->Pen();
  pen.SetStyle(psSolid);
  pen.SetWidth(1);
  pen.SetMode(pmCopy);
  canvas_->Brush().SetStyle(bsClear);
  if (bevel_outer_ != bvNone)
    DrawFrame(rect, bevel_width_, TopLeftBevelColor(bevel_outer_), BottomRightBevelColor(bevel_outer_));
  DrawFrame(rect, border_width_, color_, color_);
  if (bevel_inner_ != bvNone)
    DrawFrame(rect, bevel_width_, TopLeftBevelColor(bevel_inner_), BottomRightBevelColor(bevel_inner_));
}

// `width` nested one-pixel frames; `rect` shrinks by `width` on every side, so the next
// frame starts inside this one.
void TChart::DrawFrame(TRect& rect, int width, TColor top_left, TColor bottom_right) {
  --rect.Bottom;
  --rect.Right;
  for (int i = 0; i < width; ++i) {
    canvas_->Pen().SetColor(top_left);
    canvas_->MovePen(rect.Left, rect.Bottom);
    canvas_->DrawLineTo(rect.Left, rect.Top);
    canvas_->DrawLineTo(rect.Right, rect.Top);
    canvas_->Pen().SetColor(bottom_right);
    canvas_->MovePen(rect.Right, rect.Top);
    canvas_->DrawLineTo(rect.Right, rect.Bottom);
    canvas_->DrawLineTo(rect.Left - 1, rect.Bottom);
    rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
  }
  ++rect.Bottom;
  ++rect.Right;
}

// --- titles, depths, axis layout ----------------------------------------------------------

void TChart::DrawTitlesAndLegend() {
  canvas_->BeginFrontPlane();
  // The legend is only stored; title and foot come in the same order with or without it.
  if (title_.Visible()) DrawTitle(title_, true);
  if (foot_.Visible()) DrawTitle(foot_, false);
  canvas_->EndFrontPlane();
}

void TChart::DrawTitle(TChartTitle& title, bool onTop) {
  TFrameContext frame = FrameContext();
  title.DrawTitle(frame, onTop);
  plot_area_ = frame.plot_area;
  NormalizePlotArea();
}

void TChart::AssignFlatDepths() {
  depth3d_ = 0;
  for (TChartSeries* series : series_) {
    if (!series->Active()) continue;
    series->SetDepthSlot(0);
    series->DepthBand() = {};
  }
}

void TChart::LayoutAxes() {
  const auto axes = AxesList();
  for (TCustomChartAxis* axis : axes) axis->UpdateScale();
  NormalizePlotArea();
  TRect room = plot_area_;
  const TFrameContext frame = FrameContext();
  for (std::size_t i = 0; i < axes.size(); ++i) {
    if (!AxisShown(*axes[i])) continue;
    TRect reserved = room;
    ReserveAxisRoom(*axes[i], frame, reserved, i < kBuiltInAxes);
    // An axis that would leave no room at all is left out of the layout.
    TRect common;
    if (Intersect(reserved, room, common)) room = common;
  }
  plot_area_ = room;
  NormalizePlotArea();
  for (TCustomChartAxis* axis : axes) axis->UpdatePixelSpan();
}

void TChart::ApplySeriesMargins() {
  for (TCustomChartAxis* axis : {TopAxis(), LeftAxis(), RightAxis(), BottomAxis()}) axis->ApplySeriesMargins();
}

// --- walls, axes, series --------------------------------------------------------------------

void TChart::DrawWalls() {
  // Left and bottom walls and the wall thickness are 3D drawing, which this engine leaves out.
  DrawBackWall(FrameContext(), back_wall_);
}

void TChart::DrawAxes() {
  const TFrameContext frame = FrameContext();
  for (TCustomChartAxis* axis : AxesList())
    if (AxisShown(*axis)) PaintAxis(*axis, frame, true);
}

void TChart::DrawAllSeries() {
  // By index: a series' drawing events may change the list.
  for (std::size_t i = 0; i < series_.size(); ++i)
    if (series_[i]->Active()) DrawSeries(*series_[i]);
}

void TChart::DrawSeries(TChartSeries& series) {
  series.ComputeVisibleRange();
  if (series.FirstVisibleIndex() == -1) return;
  series.BeginDrawPoints();
  const bool clipped = clip_points_ && ClippingAllowed();
  if (clipped) canvas_->ClipToBox(plot_area_, 0, depth3d_);
  series.DrawPoints();
  if (clipped) canvas_->RemoveClipping();
  series.EndDrawPoints();
}

// --- helpers for the parts --------------------------------------------------------------------

TFrameContext TChart::FrameContext() const {
  // Walls take room beside the axes only in 3D, which this engine leaves out.
  return {*canvas_, *this, plot_area_, depth3d_, 0, is_printing_, color_};
}

void TChart::SelectFont(TFont& font) { FrameContext().SelectFont(font); }

void TChart::SelectFillBrush(TColor color, TBrushStyle style, TColor back_color) {
  FrameContext().SelectFillBrush(color, style, back_color);
}

bool TChart::AxisShown(const TCustomChartAxis& axis) const {
  if (!axis_visible_ || !axis.Visible()) return false;
  if (axis.IsDepth()) return view3d_;
  bool any_uses_axes = false;
  for (const TChartSeries* series : series_) {
    if (!series->Active() || !series->UsesAxes()) continue;
    any_uses_axes = true;
    if (series->IsBoundToAxis(axis)) return true;
  }
  return !any_uses_axes;
}

TChart::TextLines TChart::MultiLineWidth(const rtl::Text& text) const {
  if (text.find(kLineSeparator) == rtl::Text::npos) return {canvas_->MeasureTextWidth(text), 1};
  TextLines lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(kLineSeparator, start)) != rtl::Text::npos; start = end + 1) {
    lines.Width = std::max(lines.Width, canvas_->MeasureTextWidth(text.substr(start, end - start)));
    ++lines.Count;
  }
  if (start < text.size()) {
    lines.Width = std::max(lines.Width, canvas_->MeasureTextWidth(text.substr(start)));
    ++lines.Count;
  }
  return lines;
}

int TChart::WidestPointLabel() const {
  int widest = 0;
  for (const TChartSeries* series : series_) {
    if (series->LabelCount() == 0) continue;
    for (int i = 0; i < series->PointCount(); ++i)
      widest = std::max(widest, MultiLineWidth(series->PointLabel(i)).Width);
  }
  return widest;
}

void TChart::AdjustPenForPrinting(TPen& pen) const {
  FrameContext().AdjustPenForPrinting(pen);
}

bool TChart::ClippingAllowed() const { return !canvas_->IsFreeRotating(); }
