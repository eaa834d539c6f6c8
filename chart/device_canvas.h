// The drawing surface under the chart canvas: a framework canvas (pen, brush, font) with the
// state of a device context (background colour and mode, text alignment, text colour, font
// escapement, clip rectangle, current pen position) over an optional bitmap. Lines,
// rectangles and solid fills go into the bitmap by the pixel rules of the Windows graphics
// calls they are named after (gdi_raster.h); text, patterns and shapes go through the
// platform device (chart_device.h). A canvas without a bitmap is a window's: drawing on it
// does nothing, and a finished frame copied onto it is shown on the window by the device.
#pragma once

#include <optional>

#include "chart/bitmap.h"
#include "chart/chart_device.h"
#include "chart/colors.h"
#include "chart/geometry.h"
#include "chart/pens.h"
#include "rtl/text.h"

// Background modes (SetBkMode) and text alignment flags (SetTextAlign; 0 is left and top)
// of the device, with the platform's values: where the platform's own header came first
// (a Windows backend), its macros of the same names and values stand for them.
#ifndef TRANSPARENT
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;
#endif

class TCanvas {
 public:
  // `device` outlives the canvas; `bitmap` (not owned) may be null: a window's canvas.
  explicit TCanvas(TChartDevice& device, TBitmap* bitmap = nullptr) : device_(&device), bitmap_(bitmap) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TChartDevice& Device() const { return *device_; }
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* bitmap) { bitmap_ = bitmap; }

  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }
  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }

  // Device context state. Colours here are RGB values as the device holds them.
  TRgb BackgroundColor() const { return background_color_; }
  void SetBackgroundColor(TRgb rgb) { background_color_ = rgb; }
  int BackgroundMode() const { return background_mode_; }
  void SetBackgroundMode(int mode) { background_mode_ = mode; }
  unsigned TextAlign() const { return text_align_; }
  void SetTextAlign(unsigned flags) { text_align_ = flags; }
  TRgb TextColor() const { return text_color_; }
  void SetTextColor(TRgb rgb) { text_color_ = rgb; }
  // Escapement, in tenths of a degree counter-clockwise, of the font selected into the device.
  int FontEscapement() const { return font_escapement_; }
  void SetFontEscapement(int tenths) { font_escapement_ = tenths; }

  // Clipping: columns Left..Right-1 and rows Top..Bottom-1 of the rectangle (its corners put
  // in order first); each call narrows the clip already in force. None means the whole device.
  void IntersectClipRect(const TRect& rect);
  void RemoveClip() { clip_.reset(); }
  const std::optional<TRect>& ClipRect() const { return clip_; }

  // The pen's colour as RGB (clDefault as black), likewise brush (white) and font (black).
  TRgb PenRGB() const;
  TRgb BrushRGB() const;
  TRgb FontRGB() const;

  // MoveToEx / LineTo: from the current position up to, not including, (x, y).
  void MoveTo(int x, int y) { position_ = {x, y}; }
  TPoint PenPosition() const { return position_; }
  void LineTo(int x, int y);
  // Rectangle: outline on columns left and right-1, rows top and bottom-1; brush inside.
  void Rectangle(int left, int top, int right, int bottom);
  // FillRect: columns left..right-1, rows top..bottom-1 with the brush; a side given the
  // other way round covers right+1..left (bottom+1..top).
  void FillRect(const TRect& rect);
  void SetPixel(int x, int y, TRgb rgb);
  void Ellipse(int left, int top, int right, int bottom);
  void Arc(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y);
  void Pie(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y);
  void RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height);
  void Polygon(const TPoint* points, int count);
  // Two-colour linear gradient over the rectangle; `vertical` runs top to bottom.
  void GradientFill(const TRect& rect, TRgb start, TRgb end, bool vertical);

  // TextOutA at (x, y) under the text alignment, background mode and font escapement,
  // in the text colour. The text is Windows-1251.
  void OutputText(int x, int y, const rtl::Text& text);
  // GetTextExtentPoint32A with the text metrics: the width (sum of advances), ascent and
  // cell height (ascent + descent) of the text, the escapement ignored.
  TTextExtent TextExtent(const rtl::Text& text) const;

  // Copies `image` at its natural size with its top-left corner at (x, y), within the clip;
  // on a window's canvas the device shows it (inside the window's paint handling only).
  void DrawImage(int x, int y, const TBitmap& image);
  // Copies `image` stretched into the rectangle.
  void StretchDraw(const TRect& rect, const TBitmap& image);

 private:
  TChartDevice* device_;
  TBitmap* bitmap_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TRgb background_color_ = kRgbWhite;
  int background_mode_ = OPAQUE;
  unsigned text_align_ = TA_LEFT | TA_TOP;
  TRgb text_color_ = kRgbBlack;
  int font_escapement_ = 0;
  std::optional<TRect> clip_;
  TPoint position_;
};
