// The chart's device over Qt: text measured and drawn by Qt's font engine under the Windows
// rules of the engine (no antialiasing, whole-pixel advances, no kerning; a turned text is
// the upright text turned by whole quarters, pixel for pixel), hatched and bitmap brushes
// and the shapes by QPainter on the engine's bitmap, system colours from a widget's palette,
// and frames shown on that widget. Needs a QGuiApplication; one thread.
#pragma once

#include <QFont>
#include <QImage>
#include <QPalette>

#include "chart/chart_device.h"

class QWidget;

class TQtChartDevice : public TChartDevice {
 public:
  // `window` (may be null: off-screen, the application's palette) is where frames are shown
  // and whose palette gives the system colours; it outlives the device.
  explicit TQtChartDevice(QWidget* window = nullptr);

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
  // Paints the frame onto the window: only inside its paint event, with no other painter
  // active on it.
  void Present(const TBitmap& frame, int x, int y) override;

 private:
  QWidget* window_;
};

// The bitmap's pixels as a Format_RGB32 image, without a copy: valid while the bitmap is.
// Of a const bitmap the image is read-only, and a painter on it paints into a copy; of a
// bitmap the device draws on, the painter writes into the bitmap's own pixels.
QImage ImageOf(const TBitmap& bitmap);
QImage ImageOf(TBitmap& bitmap);
// The image's pixels as a bitmap, without a copy; the image must be Format_RGB32 and stay
// unchanged in size while the bitmap is used.
TBitmap BitmapOf(QImage& image);

// The colours the system colour indices stand for, taken from a widget palette:
// 15 button face, 20 button highlight, 16 button shadow, 13 highlight and so on.
// Colours without a palette role keep the platform's classic values.
TRgb SystemColorRGB(int index, const QPalette& palette);
// The application's palette, or without an application one holding the classic values.
QPalette DefaultDevicePalette();

// The QFont the device draws `font` with: its name and pixel size (-Height), no
// antialiasing, full hinting and no kerning, so that advances are whole pixels and
// rotated text is the upright text turned.
QFont DeviceFont(const TFont& font);
