// The chart's device over GDI: fonts made by CreateFontIndirectW from the engine's fonts
// (face, character height, weight, italic, underline, strike-out, character set, escapement;
// no antialiasing, as the engine's text rules have it), text measured by
// GetTextExtentPoint32W and GetTextMetricsW and written by TextOutW, which turns it by the
// font's escapement itself; hatched and bitmap brushes and the shapes drawn by GDI on the
// frame; frames made as DIB sections over the engine's own pixels; system colours by
// GetSysColor; frames shown by SetDIBitsToDevice on the device context of a window's paint.
// Lines, rectangles and solid fills stay with the engine's rasteriser. Windows only; one
// thread. A failed GDI call draws nothing.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "chart/chart_device.h"
#include "chart/pens.h"

class TGdiChartDevice : public TChartDevice {
 public:
  TGdiChartDevice();
  ~TGdiChartDevice() override;
  TGdiChartDevice(const TGdiChartDevice&) = delete;
  TGdiChartDevice& operator=(const TGdiChartDevice&) = delete;

  TTextExtent MeasureText(const TFont& font, const rtl::Text& text) override;
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
  TRgb SystemColor(int index) const override;
  // A DIB section, so that GDI draws on the frame's own pixels.
  TBitmap CreateFrame(int width, int height) override;
  // Onto the paint target, when there is one; `frame` must have rows of 4 * Width() bytes.
  void Present(const TBitmap& frame, int x, int y) override;

  // The device context frames are shown on (BeginPaint's, during a window's WM_PAINT), or
  // null: none.
  void SetPaintTarget(HDC dc) { paint_target_ = dc; }

 private:
  struct FontEntry {
    rtl::Text name;
    int height;
    TFontStyles style;
    int char_set;
    int escapement;
    HFONT font;
  };
  // The font for `font` turned by `escapement`, made once and kept while the device lives.
  HFONT FontFor(const TFont& font, int escapement);

  HDC measuring_dc_;
  std::vector<FontEntry> fonts_;
  // Extents measured before, by font handle and text: every frame measures the same labels
  // again, and GDI measures far slower than the engine draws a line (under Wine a third of
  // a frame). Emptied when it grows past kMeasuredTextLimit entries.
  static constexpr std::size_t kMeasuredTextLimit = 4096;
  std::unordered_map<std::string, TTextExtent> measured_;
  HDC paint_target_ = nullptr;
};

// The window framework's interface language and default font, as Windows tells them (the
// message box font, the screen's pixels per inch).
TFrameworkFont FrameworkFontOfSystem();
