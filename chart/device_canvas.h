// The platform drawing surface under the chart canvas: a framework canvas (pen, brush,
// font) over a device with the device context's state (background colour and mode, text
// alignment, clip rectangle, current pen position). It draws into a QImage with the pixel
// results of the Windows graphics calls it is named after; on any other paint device
// (the chart widget) it only receives finished frames through DrawImage.
#pragma once

#include <optional>

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>

#include "chart/colors.h"
#include "chart/geometry.h"
#include "chart/pens.h"
#include "rtl/text.h"

class QPaintDevice;
class QPainter;

// Background modes of the device (SetBkMode).
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Text alignment flags of the device (SetTextAlign); 0 is left and top.
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;

// The colours the system colour indices stand for, taken from a widget palette:
// 15 button face, 20 button highlight, 16 button shadow, 13 highlight and so on.
// Colours without a palette role keep the platform's classic values.
QRgb SystemColorRGB(int index, const QPalette& palette);
// The application's palette, or without an application one holding the classic values.
QPalette DefaultDevicePalette();
// An RGB colour as it reaches the device: a system colour through the palette, an RGB
// colour as is (the high byte ignored), and clDefault as `fallback` (which must not
// itself be clDefault), so that clDefault never reaches the device.
QRgb ColorToRGB(TColor color, const QPalette& palette, TColor fallback);

// The QFont the device draws `font` with: its name and pixel size (-Height), no
// antialiasing, full hinting and no kerning, so that advances are whole pixels and
// rotated text is the upright text turned.
QFont DeviceFont(const TFont& font);

class TCanvas {
 public:
  // `device` may be null (measuring only) and is not owned. The palette resolves system colours.
  explicit TCanvas(QPaintDevice* device = nullptr, const QPalette& palette = DefaultDevicePalette());
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  QPaintDevice* Device() const { return device_; }
  // The device as an image, or null when it is none or not an image.
  QImage* Image() const;
  void SetDevice(QPaintDevice* device) { device_ = device; }
  const QPalette& Palette() const { return palette_; }
  void SetPalette(const QPalette& palette) { palette_ = palette; }

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }

  // Device context state. Colours here are RGB values as the device holds them.
  QRgb BackgroundColor() const { return background_color_; }
  void SetBackgroundColor(QRgb rgb) { background_color_ = rgb; }
  int BackgroundMode() const { return background_mode_; }
  void SetBackgroundMode(int mode) { background_mode_ = mode; }
  unsigned TextAlign() const { return text_align_; }
  void SetTextAlign(unsigned flags) { text_align_ = flags; }
  QRgb TextColor() const { return text_color_; }
  void SetTextColor(QRgb rgb) { text_color_ = rgb; }
  // Escapement, in tenths of a degree counter-clockwise, of the font selected into the device.
  int FontEscapement() const { return font_escapement_; }
  void SetFontEscapement(int tenths) { font_escapement_ = tenths; }

  // Clipping: columns Left..Right-1 and rows Top..Bottom-1 of the rectangle; each call
  // narrows the clip already in force. None means the whole device.
  void IntersectClipRect(const TRect& rect);
  void RemoveClip() { clip_.reset(); }
  const std::optional<QRect>& ClipRect() const { return clip_; }

  // The pen's colour as RGB (clDefault as black), likewise brush (white) and font (black).
  QRgb PenRGB() const;
  QRgb BrushRGB() const;
  QRgb FontRGB() const;

  // MoveToEx / LineTo: from the current position up to, not including, (x, y).
  void MoveTo(int x, int y) { position_ = {x, y}; }
  TPoint PenPosition() const { return position_; }
  void LineTo(int x, int y);
  // Rectangle: outline on columns left and right-1, rows top and bottom-1; brush inside.
  void Rectangle(int left, int top, int right, int bottom);
  // FillRect: columns left..right-1, rows top..bottom-1 with the brush.
  void FillRect(const TRect& rect);
  void SetPixel(int x, int y, QRgb rgb);
  void Ellipse(int left, int top, int right, int bottom);
  void Arc(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y);
  void Pie(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y);
  void RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height);
  void Polygon(const TPoint* points, int count);
  // Two-colour linear gradient over the rectangle; `vertical` runs top to bottom.
  void GradientFill(const TRect& rect, QRgb start, QRgb end, bool vertical);

  // TextOutA at (x, y) under the text alignment, background mode and font escapement,
  // in the text colour. The text is Windows-1251.
  void TextOut(int x, int y, const rtl::Text& text);
  // GetTextExtentPoint32A: the width (sum of advances) and the cell height (ascent +
  // descent) of the text, the escapement ignored.
  QSize TextExtent(const rtl::Text& text) const;

  // Copies `image` at its natural size with its top-left corner at (x, y). Opens its own
  // painter on the device: on a widget call it inside the paint event, with no other
  // painter active on the widget.
  void DrawImage(int x, int y, const QImage& image);
  // Copies `image` stretched into the rectangle.
  void StretchDraw(const TRect& rect, const QImage& image);

 private:
  struct Painter;
  bool OpenPainter(QPainter& painter);

  QPaintDevice* device_ = nullptr;
  QPalette palette_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  QRgb background_color_ = 0xFFFFFFFF;
  int background_mode_ = OPAQUE;
  unsigned text_align_ = TA_LEFT | TA_TOP;
  QRgb text_color_ = 0xFF000000;
  int font_escapement_ = 0;
  std::optional<QRect> clip_;
  TPoint position_;
};
