// The platform under the chart's drawing surface: what the engine does not draw itself.
// Lines, rectangles and solid fills the engine writes into its bitmap with one rasteriser
// (gdi_raster.h), so that line geometry is the same on every platform. Glyphs, hatched and
// bitmap brushes, the shapes the history chart never draws (ellipse, arc, pie, rounded box,
// polygon, gradient, stretched image), the system colours and showing a finished frame on
// the window are the platform's: a Qt backend (chart/qt/) or GDI (chart/win32/).
//
// Each drawing call gets the bitmap to draw into and the device context (TCanvas) whose
// state it honours, as the graphics calls of the same names honour a device context's:
// font, text colour, text alignment, font escapement, background mode and colour, pen,
// brush, raster operation and clip rectangle. Colours reach the device resolved to RGB
// (TCanvas::PenRGB and the like). A device draws nothing outside the clip rectangle or the
// bitmap, changes no state of the context and reports no errors: a failed call draws nothing.
#pragma once

#include <span>

#include "chart/bitmap.h"
#include "chart/colors.h"
#include "chart/geometry.h"
#include "rtl/text.h"

class TCanvas;
class TFont;

// The extent of a text as the platform measures it for a font, escapement ignored: Width is
// the sum of the characters' advances (no kerning), Height the cell height (ascent plus
// descent, no external leading), Ascent the cell's top to its baseline. Pixels.
struct TTextExtent {
  int Width = 0;
  int Ascent = 0;
  int Height = 0;
};

class TChartDevice {
 public:
  virtual ~TChartDevice() = default;

  // --- text ------------------------------------------------------------------------------
  // The text (Windows-1251) in `font`; the empty text is 0 wide and a cell high.
  virtual TTextExtent MeasureText(const TFont& font, const rtl::Text& text) = 0;
  // TextOut: the text's cell placed at (x, y) by the context's text alignment (TA_* flags)
  // and turned counter-clockwise about (x, y) by its font escapement (tenths of a degree),
  // glyphs in its text colour, the cell first filled with its background colour when the
  // background mode is OPAQUE.
  virtual void OutputText(TBitmap& bitmap, const TCanvas& dc, int x, int y, const rtl::Text& text) = 0;

  // --- brushes and shapes ---------------------------------------------------------------
  // Columns area.Left..Right-1, rows area.Top..Bottom-1 with the context's brush when it is
  // hatched (its colour on the background colour, the gaps left alone when TRANSPARENT) or
  // has a bitmap (tiled from the bitmap's origin).
  virtual void FillPattern(TBitmap& bitmap, const TCanvas& dc, const TRect& area) = 0;
  // The shapes, outlined with the pen and filled with the brush, in the box's columns
  // Left..Right-1 and rows Top..Bottom-1. Arc and Pie run counter-clockwise from the ray
  // through `start` to the ray through `end`, from the box's centre.
  virtual void Ellipse(TBitmap& bitmap, const TCanvas& dc, const TRect& box) = 0;
  virtual void Arc(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) = 0;
  virtual void Pie(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) = 0;
  virtual void RoundRect(TBitmap& bitmap, const TCanvas& dc, const TRect& box, int corner_width,
                         int corner_height) = 0;
  // A closed figure through the points (at least two).
  virtual void Polygon(TBitmap& bitmap, const TCanvas& dc, std::span<const TPoint> points) = 0;
  // From `start` at the top (vertical) or left edge to `end` at the other.
  virtual void GradientFill(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, TRgb start, TRgb end,
                            bool vertical) = 0;
  // `image` scaled into the rectangle.
  virtual void StretchDraw(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, const TBitmap& image) = 0;

  // --- colours and frames ---------------------------------------------------------------
  // System colour `index` in the platform's numbering (15 button face, 16 button shadow,
  // 20 button highlight, ...); an index outside 0..30 is black.
  virtual TRgb SystemColor(int index) const = 0;
  // The bitmap a buffered frame is drawn into, white. A device that draws into bitmaps
  // itself may give one whose pixels it keeps (TBitmap::Storage); by default plain pixels.
  virtual TBitmap CreateFrame(int width, int height);
  // Shows `frame` on the window with its top-left corner at (x, y) of the client area, in
  // one copy. Only inside the window's paint handling; a device without a window shows
  // nothing.
  virtual void Present(const TBitmap& frame, int x, int y) = 0;
};

// The colour as it reaches the device: a system colour through the device, an RGB colour
// as it is (the high byte ignored), and clDefault as `fallback` (which must not itself be
// clDefault), so that clDefault never reaches the device.
TRgb ColorToRGB(TColor color, const TChartDevice& device, TColor fallback);
// The engine's colour value of an RGB colour (the inverse for RGB colours).
constexpr TColor ColorOfRgb(TRgb rgb) { return MakeColor(RgbRed(rgb), RgbGreen(rgb), RgbBlue(rgb)); }

// The classic values of the system colours, index 0..30 (black outside): what a device
// without a window system of its own (or a role missing from one) answers.
TRgb ClassicSystemColor(int index);
