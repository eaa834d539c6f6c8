// The chart panel: the control that owns the canvas, the five axes, the series list, the
// walls, title, foot and legend, and decides when and in which order a frame is drawn.
// Every change only requests a repaint; the paint message draws one full frame into the
// canvas's frame bitmap (or copies the last one when nothing changed). It draws through a
// platform device (chart_device.h) and is shown by a chart window (chart_window.h), which
// forwards paint, size, mouse and wheel messages; without a window it draws off-screen only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "chart/axis.h"
#include "chart/bitmap.h"
#include "chart/canvas.h"
#include "chart/chart_device.h"
#include "chart/chart_host.h"
#include "chart/chart_window.h"
#include "chart/frame_context.h"
#include "chart/panel_settings.h"
#include "chart/title.h"
#include "chart/wall.h"
#include "chart/zoom_scroll.h"

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TChartBackImageMode : std::uint8_t { pbmStretch, pbmTile, pbmCenter };
enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };

class TChart;
// A panel event: the chart is the sender.
using TChartEvent = std::function<void(TChart& sender)>;
// The ordered series list; the drawing order is the list order.
using TChartSeriesList = std::vector<TChartSeries*>;

class TChart : public TChartHost, public TChartMouseHandling {
 public:
  // 400 x 250 pixels with the creation defaults, measuring and drawing through `device`,
  // which outlives the chart; repaint requests are ignored until the constructor has finished.
  explicit TChart(TChartDevice& device);
  // Series adopted by the chart are freed; every other series still listed leaves it.
  ~TChart() override;

  // --- the window -----------------------------------------------------------------------
  // Shown in `window` from now on (null: none), which outlives the chart or is detached
  // first.
  void AttachWindow(TChartWindow* window);
  TChartWindow* Window() const { return window_; }
  TChartDevice& Device() const { return *device_; }
  // The window's paint message: the last frame copied to the window when nothing changed
  // since, else a new frame drawn; nothing while printing.
  void Paint();
  // The control's size in pixels: the window's client size, or for a chart without a window
  // the size it is given here. The window forwards every change of its size here; a new
  // size asks for a repaint.
  void Resize(int width, int height);
  int Width() const { return Size().Width; }
  int Height() const { return Size().Height; }
  TSize Size() const { return window_ != nullptr ? window_->ClientSize() : size_; }
  // The platform's system colours changed: the next paint draws a new frame in them.
  void SystemColorsChanged();

  // --- repaint control ----------------------------------------------------------------
  // Marks the frame dirty and asks the window for one paint; requests made before that
  // paint arrives are merged into it.
  void InvalidateChart() override;
  // InvalidateChart, then paints before returning.
  void RefreshChart() override;
  // Asks the window for a paint without marking the frame dirty, so that the window shows
  // the frame as it now is (what was drawn straight on it, as the zoom rectangle).
  void ShowFrameAgain();
  bool RepaintEnabled() const { return repaint_enabled_; }
  // Draws one frame into `target` inside `rect` (the window canvas on a paint; any bitmap
  // canvas for an off-screen frame).
  void RenderChart(TCanvas& target, const TRect& rect);
  // The paint pipeline on `bounds`: background, titles, axis layout, walls, axes, series.
  void DrawContents(const TRect& bounds);
  // Frames drawn and repaint requests received since creation (for measuring and tests).
  int PipelineRuns() const { return pipeline_runs_; }
  int RepaintRequests() const { return repaint_requests_; }
  // The window canvas the chart is shown on.
  TCanvas& WindowCanvas() { return window_canvas_; }
  TChartCanvas* Canvas() const override { return canvas_.get(); }
  // Draws through `canvas` from now on (a recording canvas in tests); attached to the
  // window canvas at once.
  void SetCanvas(std::unique_ptr<TChartCanvas> canvas);

  // --- layout ----------------------------------------------------------------------------
  // Rectangle of the current frame, as BeginFrame gave it.
  const TRect& FrameBounds() const { return frame_bounds_; }
  // Right and Bottom are the far edges; SetPlotArea stores without normalising.
  TRect PlotArea() const override { return plot_area_; }
  void SetPlotArea(const TRect& area) { plot_area_ = area; }
  int PlotWidth() const { return plot_width_; }
  int PlotHeight() const { return plot_height_; }
  int PlotCenterX() const { return plot_center_x_; }
  int PlotCenterY() const { return plot_center_y_; }
  // Keeps the plot area inside the frame's top-left corner and at least one pixel wide and
  // high (a collapsed side gets the control's size), then updates the derived sizes.
  void NormalizePlotArea();
  int Depth3D() const override { return depth3d_; }

  // --- drawing helpers for the parts --------------------------------------------------------
  // What the paint stages see of the panel: its canvas, plot area, depth, printing state,
  // colour and series, with a wall size of 0 (2D).
  TFrameContext FrameContext() const;
  // As the frame context does them (frame_context.h).
  void SelectFont(TFont& font);
  void SelectFillBrush(TColor color, TBrushStyle style, TColor back_color);
  // Whether `axis` is sized and drawn: AxisVisible and the axis' Visible; the depth axis
  // needs View3D; a side axis needs an active series bound to it, unless no active series
  // uses axes at all.
  bool AxisShown(const TCustomChartAxis& axis) const;
  int ActiveSeriesCount() const;
  // Width of the widest line and the number of lines of a text cut at character 13.
  struct TextLines {
    int Width = 0;
    int Count = 0;
  };
  TextLines MultiLineWidth(const rtl::Text& text) const;
  // The widest point label of every labelled series, active or not, in the selected font.
  int WidestPointLabel() const;
  bool IsPrinting() const { return is_printing_; }
  void AdjustPenForPrinting(TPen& pen) const override;
  bool ClippingAllowed() const;

  // --- series ----------------------------------------------------------------------------
  std::span<TChartSeries* const> SeriesList() const override { return series_; }
  void AttachSeries(TChartSeries& series) override;
  void DetachSeries(TChartSeries& series) override;
  // Attaches the series and frees it with the chart.
  TChartSeries& AdoptSeries(std::unique_ptr<TChartSeries> series);
  // The first palette colour that no series has and that differs from Color and BackColor.
  TColor FirstFreeSeriesColor() const;

  // --- axes --------------------------------------------------------------------------------
  TChartAxis& BottomAxisRef() { return axes_.Bottom(); }
  TChartAxis& TopAxisRef() { return axes_.Top(); }
  TChartAxis& LeftAxisRef() { return axes_.Left(); }
  TChartAxis& RightAxisRef() { return axes_.Right(); }
  TChartDepthAxis& DepthAxisRef() { return axes_.Depth(); }
  TCustomChartAxis* BottomAxis() const override { return &axes_.Bottom(); }
  TCustomChartAxis* TopAxis() const override { return &axes_.Top(); }
  TCustomChartAxis* LeftAxis() const override { return &axes_.Left(); }
  TCustomChartAxis* RightAxis() const override { return &axes_.Right(); }
  TCustomChartAxis* DepthAxis() const override { return &axes_.Depth(); }
  // Bottom, top, left, right, depth.
  std::span<TCustomChartAxis* const> AxesList() const { return axes_.List(); }

  // --- parts -------------------------------------------------------------------------------
  TChartTitle& Title() { return title_; }
  TChartTitle& Foot() { return foot_; }
  TChartWall& BackWall() { return back_wall_; }
  TChartWall& LeftWall() { return left_wall_; }
  TChartWall& BottomWall() { return bottom_wall_; }
  TChartLegend& Legend() { return legend_; }
  TChartGradient& Gradient() { return gradient_; }
  TView3DOptions& View3DOptions() { return view3d_options_; }

  // --- published settings ------------------------------------------------------------------
  TColor Color() const { return color_; }  // clBtnFace
  void SetColor(TColor color);
  TBevelCut BevelOuter() const { return bevel_outer_; }  // bvRaised
  void SetBevelOuter(TBevelCut cut);
  TBevelCut BevelInner() const { return bevel_inner_; }  // bvNone
  void SetBevelInner(TBevelCut cut);
  int BevelWidth() const { return bevel_width_; }  // pixels, 1
  void SetBevelWidth(int pixels);
  int BorderWidth() const { return border_width_; }  // pixels, 0
  void SetBorderWidth(int pixels);
  // Percent of the panel width (left, right) and height (top, bottom) kept free: 3, 4, 3, 4.
  int MarginLeft() const { return margin_left_; }
  void SetMarginLeft(int percent);
  int MarginTop() const { return margin_top_; }
  void SetMarginTop(int percent);
  int MarginRight() const { return margin_right_; }
  void SetMarginRight(int percent);
  int MarginBottom() const { return margin_bottom_; }
  void SetMarginBottom(int percent);
  bool View3D() const override { return view3d_; }  // True
  void SetView3D(bool view3d);
  bool View3DWalls() const { return view3d_walls_; }  // True
  void SetView3DWalls(bool walls);
  // 1..100, default 15; outside: ChartException, the value kept.
  int Chart3DPercent() const { return chart3d_percent_; }
  void SetChart3DPercent(int percent);
  bool ClipPoints() const { return clip_points_; }  // True
  void SetClipPoints(bool clip);
  bool AxisVisible() const { return axis_visible_; }  // True
  void SetAxisVisible(bool visible);
  // The back wall's Color (clDefault); setting it (outside loading) also makes the back
  // wall's brush solid.
  TColor BackColor() const { return back_wall_.Color(); }
  void SetBackColor(TColor color);
  // The back wall's Pen.
  TChartPen& Frame() { return back_wall_.Pen(); }
  const std::optional<TBitmap>& BackImage() const { return back_image_; }  // stored only
  void SetBackImage(std::optional<TBitmap> image);
  TChartBackImageMode BackImageMode() const { return back_image_mode_; }  // pbmStretch
  void SetBackImageMode(TChartBackImageMode mode);
  bool BackImageInside() const { return back_image_inside_; }  // False
  void SetBackImageInside(bool inside);
  bool Monochrome() const { return canvas_->IsMonochrome(); }  // False
  void SetMonochrome(bool monochrome);
  // 0 = no paging; below 0: ChartException, the value kept. Page is lowered to the page count.
  int MaxPointsPerPage() const override { return max_points_per_page_; }
  void SetMaxPointsPerPage(int points);
  // Clamped to 1..PageCount; a change repaints and fires OnPageChange.
  int Page() const override { return page_; }
  void SetPage(int page);
  // Pages of the longest active series (1 without paging).
  int PageCount() const;
  bool ScaleLastPage() const override { return scale_last_page_; }  // True
  void SetScaleLastPage(bool scale);
  bool AllowZoom() const { return allow_zoom_; }  // True
  void SetAllowZoom(bool allow);
  TPanningMode AllowPanning() const { return allow_panning_; }  // pmBoth
  void SetAllowPanning(TPanningMode mode);
  bool AnimatedZoom() const { return animated_zoom_; }  // False
  void SetAnimatedZoom(bool animated);
  int AnimatedZoomSteps() const { return animated_zoom_steps_; }  // 8
  void SetAnimatedZoomSteps(int steps);
  bool PrintProportional() const { return print_proportional_; }  // True
  void SetPrintProportional(bool proportional);
  // Printing margins in percent, 15 on every side (stored only).
  const TRect& PrintMargins() const { return print_margins_; }

  // --- events -------------------------------------------------------------------------------
  TChartEvent OnBeforeDrawAxes;
  TChartEvent OnBeforeDrawSeries;
  TChartEvent OnAfterDraw;
  TChartEvent OnPageChange;
  const TAxisOnGetLabel& OnGetAxisLabel() const override { return on_get_axis_label_; }
  void SetOnGetAxisLabel(TAxisOnGetLabel handler) { on_get_axis_label_ = std::move(handler); }
  const TAxisOnGetNextLabel& OnGetNextAxisLabel() const override { return on_get_next_axis_label_; }
  void SetOnGetNextAxisLabel(TAxisOnGetNextLabel handler) { on_get_next_axis_label_ = std::move(handler); }

  // --- host state ---------------------------------------------------------------------------
  // Between BeginLoading and EndLoading the chart is read from stored settings.
  void BeginLoading() { loading_ = true; }
  void EndLoading() {
    loading_ = false;
    KeepRestingCursor();
  }
  bool IsLoading() const override { return loading_; }
  bool IsDestroying() const override { return destroying_; }
  int HighestSeriesZOrder() const override;
  bool AppliesDepthOrdering() const override { return view3d_; }
  bool MouseHandled() const override { return mouse_handled_; }
  void SetMouseHandled(bool handled) override { mouse_handled_ = handled; }

 private:
  template <class T>
  void Store(T& field, T value);
  void PaintPanelBackground(const TRect& bounds);
  void DrawBevels(TRect rect);
  void DrawFrame(TRect& rect, int width, TColor top_left, TColor bottom_right);
  void DrawTitlesAndLegend();
  void DrawTitle(TChartTitle& title, bool onTop);
  void AssignFlatDepths();
  void LayoutAxes();
  void ApplySeriesMargins();
  void DrawWalls();
  void DrawAxes();
  void DrawSeries(TChartSeries& series);
  void DrawAllSeries();

  // Declared first: the parts below report changes while they are being built.
  bool repaint_enabled_ = false;
  bool destroying_ = false;
  bool loading_ = false;
  bool is_printing_ = false;
  bool mouse_handled_ = false;
  int pipeline_runs_ = 0;
  int repaint_requests_ = 0;

  TChartDevice* device_;
  TChartWindow* window_ = nullptr;
  TSize size_{400, 250};
  TCanvas window_canvas_;
  TView3DOptions view3d_options_;
  std::unique_ptr<TChartCanvas> canvas_;
  TRect frame_bounds_;
  TRect plot_area_;
  int plot_width_ = 0;
  int plot_height_ = 0;
  int plot_center_x_ = 0;
  int plot_center_y_ = 0;
  int depth3d_ = 0;

  TColor color_ = clBtnFace;
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut bevel_inner_ = bvNone;
  int bevel_width_ = 1;
  int border_width_ = 0;
  int margin_left_ = 3;
  int margin_top_ = 4;
  int margin_right_ = 3;
  int margin_bottom_ = 4;
  bool view3d_ = true;
  bool view3d_walls_ = true;
  int chart3d_percent_ = 15;
  bool clip_points_ = true;
  bool axis_visible_ = true;
  TRect print_margins_{15, 15, 15, 15};
  bool print_proportional_ = true;

  TChartGradient gradient_;
  std::optional<TBitmap> back_image_;
  TChartBackImageMode back_image_mode_ = pbmStretch;
  bool back_image_inside_ = false;
  int animated_zoom_steps_ = 8;
  bool allow_zoom_ = true;
  TPanningMode allow_panning_ = pmBoth;
  bool animated_zoom_ = false;

  TChartSeriesList series_;
  std::vector<std::unique_ptr<TChartSeries>> adopted_series_;
  mutable TChartAxes axes_;
  int max_points_per_page_ = 0;
  int page_ = 1;
  bool scale_last_page_ = true;

  TChartTitle title_;
  TChartTitle foot_;
  TChartWall back_wall_;
  TChartWall left_wall_;
  TChartLegend legend_;
  TChartWall bottom_wall_;

  TAxisOnGetLabel on_get_axis_label_;
  TAxisOnGetNextLabel on_get_next_axis_label_;
};
