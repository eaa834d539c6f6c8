// The drawing canvas: the one interface through which the whole chart draws. TChartCanvas
// is the abstract interface (the drawing operations plus the depth-aware forms, which hold
// no state of their own and so need no class between them), so that tests can record every
// call; TChartCanvas3D draws through a TCanvas into an off-screen frame bitmap that is
// copied to the window in one step.
#pragma once

#include <memory>
#include <span>

#include "chart/bitmap.h"
#include "chart/colors.h"
#include "chart/device_canvas.h"
#include "chart/geometry.h"
#include "chart/pens.h"
#include "rtl/text.h"

enum TGradientDirection : std::uint8_t { gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft };

// The drawing interface. Coordinates are device pixels; every depth argument z is accepted
// and ignored in a two-dimensional chart, where the projection is the identity. Pen, brush
// and font are the target device canvas's own (Pen(), Brush(), Font()): set them directly
// or through ApplyChartPen.
class TChartCanvas {
 public:
  virtual ~TChartCanvas() = default;

  // Target device canvas, and with it the pen, brush and font in use.
  void AttachDevice(TCanvas& device);
  TCanvas& Target() const { return *target_; }
  TPen& Pen() const { return target_->Pen(); }
  TBrush& Brush() const { return target_->Brush(); }
  TFont& Font() const { return target_->Font(); }

  // Pen black, width 1, solid; brush white, solid; font black, size 10; background
  // colour white, background mode TRANSPARENT, in this order.
  void RestoreDefaults();
  // Not Visible: the target pen style becomes psClear and nothing else changes. SmallDots
  // with Width 1: the alternate-pixel cosmetic pen in the pen's colour. Otherwise the chart
  // pen is copied into the target pen (colour, width, style, mode).
  void ApplyChartPen(const TChartPen& pen);
  // The height of "W" in the current font: the chart's line height for every font.
  int LineHeight();

  // Device state.
  virtual TColor BackgroundColor() = 0;
  virtual int BackgroundMode() = 0;
  virtual TCanvas& DeviceHandle() = 0;
  virtual bool IsMonochrome() = 0;
  virtual unsigned TextAlignment() = 0;
  virtual bool IsBuffered() = 0;
  virtual void SetBackgroundColor(TColor color) = 0;
  virtual void SetBackgroundMode(int mode) = 0;  // TRANSPARENT or OPAQUE
  virtual void ChangeMonochrome(bool monochrome) = 0;
  virtual void PlotPixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlignment(unsigned flags) = 0;  // TA_* flags, 0 = left, top
  virtual void ChangeBuffered(bool buffered) = 0;

  // Flat drawing.
  virtual void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Nothing for a missing or empty graphic; else drawn at its natural size at (x, y).
  virtual void DrawGraphicAt(int x, int y, const TBitmap* graphic) = 0;
  virtual void DrawEllipse(int x1, int y1, int x2, int y2) = 0;
  // Columns Left..Right-1, rows Top..Bottom-1 with the brush.
  virtual void FillRectangle(const TRect& rect) = 0;
  // A one-pixel frame on the rectangle's edges (right and bottom edge excluded), top and
  // left in one colour, bottom and right in the other.
  virtual void DrawBevelFrame(const TRect& rect, TColor top_left, TColor bottom_right) = 0;
  // From the pen position up to, not including, (x, y); the pen position becomes (x, y).
  virtual void DrawLineTo(int x, int y) = 0;
  virtual void MovePen(int x, int y) = 0;
  virtual void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Outline on columns x0 and x1-1 and rows y0 and y1-1 with the pen, inside with the brush.
  virtual void DrawBox(int x0, int y0, int x1, int y1) = 0;
  virtual void DrawRoundedBox(int x0, int y0, int x1, int y1, int corner_width, int corner_height) = 0;
  virtual void DrawGraphicStretched(const TRect& rect, const TBitmap* graphic) = 0;
  // In the font colour, anchored at (x, y) under the text alignment and background mode.
  virtual void WriteText(int x, int y, const rtl::Text& text) = 0;
  // Width and height of the text in the current font; 0 when it cannot be measured.
  virtual int MeasureTextWidth(const rtl::Text& text);
  virtual int MeasureTextHeight(const rtl::Text& text);
  // Narrows the clipping in force to columns Left..Right-1 and rows Top..Bottom-1.
  virtual void ClipToRectangle(const TRect& rect) = 0;
  virtual void DrawHorizontalLine(int x0, int x1, int y) = 0;
  virtual void DrawRectangle(const TRect& rect) = 0;
  virtual void DrawVerticalLine(int x, int y0, int y1) = 0;
  virtual void PaintBackground(const TRect& rect) = 0;
  virtual void FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction) = 0;
  virtual void MarkDirty() = 0;
  virtual void DrawLineSegment(int x0, int y0, int x1, int y1) = 0;
  // points[0..last_index].
  virtual void DrawPolygon(std::span<const TPoint> points, int last_index) = 0;
  // Angle in degrees counter-clockwise; above 360 it is reduced by 360 (360 stays 360).
  // Leaves the brush style bsClear.
  virtual void WriteRotatedText(int x, int y, const rtl::Text& text, int angle) = 0;
  virtual void RemoveClipping() = 0;

  // Depth and projection.
  virtual void PlotPixelAtDepth(int x, int y, int z, TColor color) = 0;
  virtual bool IsFreeRotating() = 0;
  virtual bool IsDepthAware() = 0;
  virtual TPoint UnprojectPixel(int x, int y, int z) = 0;
  virtual TPoint ProjectPoint(int x, int y, int z) = 0;

  // Frame. BeginFrame returns the rectangle to draw in: the window rectangle when not
  // buffered, (0, 0, width, height) of the frame bitmap when buffered.
  virtual TRect BeginFrame(TCanvas& device, TView3DOptions* options, const TRect& window,
                           bool three_dimensional) = 0;
  // Copies the monochrome setting through ChangeMonochrome.
  virtual void CopyFrom(TChartCanvas& other);
  virtual void SetProjection(int depth, const TRect& chart_bounds, const TRect& plot) = 0;
  virtual void EndFrame(TCanvas& destination, TCanvas& default_device, const TRect& window) = 0;
  // True when the last frame is still valid and was copied to the target; False draws nothing.
  virtual bool RepaintFromBuffer() = 0;
  // The surface holding the frame the window shows (a buffered canvas after its first
  // frame), or null. Drawing on it changes what the next copy to the window shows; the
  // zoom rectangle is drawn there so that following the pointer needs no new frame.
  virtual TCanvas* ShownFrame() { return nullptr; }

  // Depth forms; in 2D they reduce to the flat forms.
  // Clips to (Left + 1, Top + 1, Right, Bottom - 1): inside a frame drawn on the rectangle.
  virtual void ClipToBox(const TRect& rect, int z0, int z1) = 0;
  virtual void DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) = 0;
  virtual void DrawVerticalLineAtDepth(int x, int y0, int y1, int z) = 0;
  // A line along the depth; of no length, so no pixels, in 2D.
  virtual void DrawDepthLine(int x, int y, int z0, int z1) = 0;
  virtual void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
  // Titles and legend are drawn between these two, flat.
  virtual void BeginFrontPlane() = 0;
  virtual void EndFrontPlane() = 0;
  virtual void DrawLineSegmentAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MovePenAtDepth(int x, int y, int z) = 0;
  virtual void DrawLineToAtDepth(int x, int y, int z) = 0;
  virtual void DrawQuadAtDepth(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) = 0;
  virtual void DrawPolygonAtDepth(std::span<const TPoint> points, int z) = 0;
  virtual void WriteRotatedTextAtDepth(int x, int y, int angle, const rtl::Text& text, int z) = 0;
  virtual void WriteTextAtDepth(int x, int y, const rtl::Text& text, int z) = 0;

 protected:
  TCanvas* target_ = nullptr;
};

// The concrete canvas. Buffered (the default): each frame is drawn into one bitmap, made by
// the target's device, that stays from frame to frame while the window size stays, and
// EndFrame copies it to the window in one DrawImage.
class TChartCanvas3D : public TChartCanvas {
 public:
  // Attached to `window_device`, the panel's own window canvas, at once.
  explicit TChartCanvas3D(TCanvas& window_device);
  ~TChartCanvas3D() override;

  // The frame bitmap, or null before the first buffered frame.
  const TBitmap* FrameBitmap() const;
  bool IsDirty() const { return dirty_; }

  TColor BackgroundColor() override;
  int BackgroundMode() override;
  TCanvas& DeviceHandle() override { return *target_; }
  bool IsMonochrome() override { return monochrome_; }
  unsigned TextAlignment() override;
  bool IsBuffered() override { return buffered_; }
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(int mode) override;
  void ChangeMonochrome(bool monochrome) override;
  void PlotPixel(int x, int y, TColor color) override;
  void SetTextAlignment(unsigned flags) override;
  void ChangeBuffered(bool buffered) override;

  void DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawGraphicAt(int x, int y, const TBitmap* graphic) override;
  void DrawEllipse(int x1, int y1, int x2, int y2) override;
  void FillRectangle(const TRect& rect) override;
  void DrawBevelFrame(const TRect& rect, TColor top_left, TColor bottom_right) override;
  void DrawLineTo(int x, int y) override;
  void MovePen(int x, int y) override;
  void DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawBox(int x0, int y0, int x1, int y1) override;
  void DrawRoundedBox(int x0, int y0, int x1, int y1, int corner_width, int corner_height) override;
  void DrawGraphicStretched(const TRect& rect, const TBitmap* graphic) override;
  void WriteText(int x, int y, const rtl::Text& text) override;
  void ClipToRectangle(const TRect& rect) override;
  void DrawHorizontalLine(int x0, int x1, int y) override;
  void DrawRectangle(const TRect& rect) override;
  void DrawVerticalLine(int x, int y0, int y1) override;
  void PaintBackground(const TRect& rect) override;
  void FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction) override;
  void MarkDirty() override { dirty_ = true; }
  void DrawLineSegment(int x0, int y0, int x1, int y1) override;
  void DrawPolygon(std::span<const TPoint> points, int last_index) override;
  void WriteRotatedText(int x, int y, const rtl::Text& text, int angle) override;
  void RemoveClipping() override;

  void PlotPixelAtDepth(int x, int y, int z, TColor color) override;
  bool IsFreeRotating() override { return false; }
  bool IsDepthAware() override { return false; }
  TPoint UnprojectPixel(int x, int y, int z) override;
  TPoint ProjectPoint(int x, int y, int z) override;

  TRect BeginFrame(TCanvas& device, TView3DOptions* options, const TRect& window, bool three_dimensional) override;
  void SetProjection(int depth, const TRect& chart_bounds, const TRect& plot) override;
  void EndFrame(TCanvas& destination, TCanvas& default_device, const TRect& window) override;
  bool RepaintFromBuffer() override;
  TCanvas* ShownFrame() override;

  void ClipToBox(const TRect& rect, int z0, int z1) override;
  void DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) override;
  void DrawVerticalLineAtDepth(int x, int y0, int y1, int z) override;
  void DrawDepthLine(int x, int y, int z0, int z1) override;
  void DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
  void BeginFrontPlane() override;
  void EndFrontPlane() override;
  void DrawLineSegmentAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void MovePenAtDepth(int x, int y, int z) override;
  void DrawLineToAtDepth(int x, int y, int z) override;
  void DrawQuadAtDepth(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) override;
  void DrawPolygonAtDepth(std::span<const TPoint> points, int z) override;
  void WriteRotatedTextAtDepth(int x, int y, int angle, const rtl::Text& text, int z) override;
  void WriteTextAtDepth(int x, int y, const rtl::Text& text, int z) override;

 private:
  struct Frame;
  void CopyFrameTo(TCanvas& destination, int x, int y);
  TRgb ToRGB(TColor color, TColor fallback) const;

  TView3DOptions* options_ = nullptr;
  TRect bounds_;
  bool three_dimensional_ = false;
  bool orthogonal_ = false;
  bool zoom_text_ = true;
  bool buffered_ = true;
  bool dirty_ = true;
  bool monochrome_ = false;
  bool front_plane_saved_three_dimensional_ = false;
  double zoom_factor_ = 1.0;
  int centre_x_ = 0, centre_y_ = 0, centre_z_ = 0;
  int offset_x_ = 0, offset_y_ = 0;
  std::unique_ptr<Frame> frame_;
};
