// Test doubles of the chart canvas. TRecordingCanvas logs every virtual operation with its
// arguments (and the pen, brush and font in force at that moment) and draws nothing;
// TMeasuringCanvas also measures text as a fixed 13-pixel font does, for the worked
// examples that assume one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "chart/canvas.h"
#include "plain_device.h"

// One logged call, e.g. "DrawLineTo(5,6)" or "WriteText(10,20,\"abc\")".
struct TRecordedCall {
  std::string call;
  TColor pen_color;
  TPenStyle pen_style;
  int pen_width;
  bool pen_alternate;  // the alternate-pixel pen of SmallDots
  TColor brush_color;
  TBrushStyle brush_style;
  TColor font_color;
  int font_size;
};

class TRecordingCanvas : public TChartCanvas {
 public:
  TRecordingCanvas();

  const std::vector<TRecordedCall>& Records() const { return records_; }
  // The calls alone, in order.
  std::vector<std::string> Calls() const;
  // The calls whose text starts with `prefix` (an operation name, say "DrawLineTo(").
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  void Clear() { records_.clear(); }
  TCanvas& Device() { return device_; }

  // What the state queries and RepaintFromBuffer answer.
  bool repaint_from_buffer_result = false;

  TColor BackgroundColor() override;
  int BackgroundMode() override;
  TCanvas& DeviceHandle() override;
  bool IsMonochrome() override;
  unsigned TextAlignment() override;
  bool IsBuffered() override;
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
  int MeasureTextWidth(const rtl::Text& text) override;
  int MeasureTextHeight(const rtl::Text& text) override;
  void ClipToRectangle(const TRect& rect) override;
  void DrawHorizontalLine(int x0, int x1, int y) override;
  void DrawRectangle(const TRect& rect) override;
  void DrawVerticalLine(int x, int y0, int y1) override;
  void PaintBackground(const TRect& rect) override;
  void FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction) override;
  void MarkDirty() override;
  void DrawLineSegment(int x0, int y0, int x1, int y1) override;
  void DrawPolygon(std::span<const TPoint> points, int last_index) override;
  void WriteRotatedText(int x, int y, const rtl::Text& text, int angle) override;
  void RemoveClipping() override;
  void PlotPixelAtDepth(int x, int y, int z, TColor color) override;
  bool IsFreeRotating() override;
  bool IsDepthAware() override;
  TPoint UnprojectPixel(int x, int y, int z) override;
  TPoint ProjectPoint(int x, int y, int z) override;
  TRect BeginFrame(TCanvas& device, TView3DOptions* options, const TRect& window, bool three_dimensional) override;
  void CopyFrom(TChartCanvas& other) override;
  void SetProjection(int depth, const TRect& chart_bounds, const TRect& plot) override;
  void EndFrame(TCanvas& destination, TCanvas& default_device, const TRect& window) override;
  bool RepaintFromBuffer() override;
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

 protected:
  void Log(const std::string& call);
  // The width and height a measuring call answers; the plain device's by default.
  virtual int TextWidth(const rtl::Text& text);
  virtual int TextHeight(const rtl::Text& text);

 private:
  TPlainDevice plain_device_;
  TCanvas device_{plain_device_};
  bool monochrome_ = false;
  bool buffered_ = true;
  std::vector<TRecordedCall> records_;
};

// Measures like a font whose every line is 13 pixels high and whose characters are
// `char_width` pixels wide (default 7), with per-character exceptions.
class TMeasuringCanvas : public TRecordingCanvas {
 public:
  explicit TMeasuringCanvas(int char_width = 7, int line_height = 13)
      : char_width_(char_width), line_height_(line_height) {}
  void SetCharWidth(char c, int width) { char_widths_[c] = width; }

 protected:
  int TextWidth(const rtl::Text& text) override;
  int TextHeight(const rtl::Text&) override { return line_height_; }

 private:
  int char_width_;
  int line_height_;
  std::map<char, int> char_widths_;
};

// A text as the log shows it: in double quotes, bytes as they are.
std::string Quoted(const rtl::Text& text);
