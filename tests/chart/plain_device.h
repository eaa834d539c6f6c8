// Test stand-ins for the platform under the chart engine, without a toolkit: a device that
// measures every text as a font of fixed cells and logs what it is asked to draw, and a
// window that merges paint requests until the test lets it paint.
#pragma once

#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/chart_device.h"
#include "chart/chart_window.h"

// Whether the plain device only logs text, patterns and shapes or also draws them.
enum class PlainDrawing : bool { kLogged, kDrawn };

// Every character is `char_width` pixels wide (7 by default), every cell 13 high with the
// baseline 10 below its top. Text, patterns and shapes are logged with what of the device
// context they honour; kDrawn also draws them in the plainest way (a block for each glyph,
// upright or at escapement 900 turned upward; hatch lines every 8 pixels; a shape's pixels
// chosen by their centres, those at its edge in the pen), else not drawn; the system
// colours are the classic ones; a presented frame is copied onto Screen(), which stands for
// the window.
class TPlainDevice : public TChartDevice {
 public:
  explicit TPlainDevice(int char_width = 7, PlainDrawing drawing = PlainDrawing::kLogged)
      : char_width_(char_width), draws_(drawing == PlainDrawing::kDrawn) {}

  TTextExtent MeasureText(const TFont& font, const rtl::Text& text) override;
  // Logged as "OutputText(x,y,"text",align,escapement,colour,mode)", colour as 0xRRGGBB.
  void OutputText(TBitmap& bitmap, const TCanvas& dc, int x, int y, const rtl::Text& text) override;
  void FillPattern(TBitmap& bitmap, const TCanvas& dc, const TRect& area) override;
  void Ellipse(TBitmap& bitmap, const TCanvas& dc, const TRect& box) override;
  void Arc(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) override;
  void Pie(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) override;
  void RoundRect(TBitmap& bitmap, const TCanvas& dc, const TRect& box, int corner_width, int corner_height) override;
  void Polygon(TBitmap& bitmap, const TCanvas& dc, std::span<const TPoint> points) override;
  void GradientFill(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, TRgb start, TRgb end,
                    bool vertical) override;
  void StretchDraw(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, const TBitmap& image) override;
  TRgb SystemColor(int index) const override { return ClassicSystemColor(index); }
  void Present(const TBitmap& frame, int x, int y) override;

  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The window's pixels: every presented frame lands here (grown to hold it).
  const TBitmap& Screen() const { return screen_; }
  int Presents() const { return presents_; }

 private:
  void Log(const std::string& call) { calls_.push_back(call); }

  int char_width_;
  bool draws_;
  std::vector<std::string> calls_;
  TBitmap screen_;
  int presents_ = 0;
};

// A window of a fixed client size showing one chart: invalidations are merged until
// Settle() (the message loop's paint), PaintNow() paints at once, and the cursor last asked
// for is kept. Paints reach the chart as a window's paint message does.
class TStandInWindow : public TChartWindow {
 public:
  TStandInWindow(TChart& chart, int width, int height);
  ~TStandInWindow() override;

  void Invalidate() override { ++invalidations; }
  void PaintNow() override;
  TSize ClientSize() const override { return size_; }
  void SetCursorShape(std::int16_t cursor) override { cursor_shape = cursor; }

  // The window system's pending paint, if any request came since the last one.
  void Settle();
  // The window changes its size and tells the chart.
  void Resize(int width, int height);

  int invalidations = 0;
  int paints = 0;
  std::int16_t cursor_shape = 0;

 private:
  TChart& chart_;
  TSize size_;
  int painted_invalidations_ = 0;
};
