// Test stand-ins for the device and the window.
#include "plain_device.h"

#include <algorithm>
#include <cstdio>

#include "chart/device_canvas.h"

namespace {

std::string Hex(TRgb rgb) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", unsigned(rgb & 0xFFFFFF));
  return text;
}

std::string Box(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}

}  // namespace

TTextExtent TPlainDevice::MeasureText(const TFont&, const rtl::Text& text) {
  return {char_width_ * int(text.size()), 10, 13};
}

void TPlainDevice::OutputText(TBitmap&, const TCanvas& dc, int x, int y, const rtl::Text& text) {
  Log("OutputText(" + std::to_string(x) + "," + std::to_string(y) + ",\"" + text + "\"," +
      std::to_string(dc.TextAlign()) + "," + std::to_string(dc.FontEscapement()) + "," + Hex(dc.TextColor()) + "," +
      std::to_string(dc.BackgroundMode()) + ")");
}

void TPlainDevice::FillPattern(TBitmap&, const TCanvas& dc, const TRect& area) {
  Log("FillPattern(" + Box(area) + "," + std::to_string(int(dc.Brush().Style())) + "," + Hex(dc.BrushRGB()) + ")");
}

void TPlainDevice::Ellipse(TBitmap&, const TCanvas&, const TRect& box) { Log("Ellipse(" + Box(box) + ")"); }

void TPlainDevice::Arc(TBitmap&, const TCanvas&, const TRect& box, TPoint, TPoint) { Log("Arc(" + Box(box) + ")"); }

void TPlainDevice::Pie(TBitmap&, const TCanvas&, const TRect& box, TPoint, TPoint) { Log("Pie(" + Box(box) + ")"); }

void TPlainDevice::RoundRect(TBitmap&, const TCanvas&, const TRect& box, int, int) { Log("RoundRect(" + Box(box) + ")"); }

void TPlainDevice::Polygon(TBitmap&, const TCanvas&, std::span<const TPoint> points) {
  Log("Polygon(" + std::to_string(points.size()) + ")");
}

void TPlainDevice::GradientFill(TBitmap&, const TCanvas&, const TRect& rect, TRgb start, TRgb end, bool vertical) {
  Log("GradientFill(" + Box(rect) + "," + Hex(start) + "," + Hex(end) + "," + (vertical ? "vertical" : "across") + ")");
}

void TPlainDevice::StretchDraw(TBitmap&, const TCanvas&, const TRect& rect, const TBitmap&) {
  Log("StretchDraw(" + Box(rect) + ")");
}

void TPlainDevice::Present(const TBitmap& frame, int x, int y) {
  ++presents_;
  if (screen_.Width() < x + frame.Width() || screen_.Height() < y + frame.Height()) {
    TBitmap larger(std::max(screen_.Width(), x + frame.Width()), std::max(screen_.Height(), y + frame.Height()));
    for (int row = 0; row < screen_.Height(); ++row) std::copy_n(screen_.Row(row), screen_.Width(), larger.Row(row));
    screen_ = std::move(larger);
  }
  for (int row = 0; row < frame.Height(); ++row) std::copy_n(frame.Row(row), frame.Width(), screen_.Row(y + row) + x);
}

TStandInWindow::TStandInWindow(TChart& chart, int width, int height) : chart_(chart), size_{width, height} {
  chart_.AttachWindow(this);
}

TStandInWindow::~TStandInWindow() { chart_.AttachWindow(nullptr); }

void TStandInWindow::PaintNow() {
  ++paints;
  painted_invalidations_ = invalidations;
  chart_.Paint();
}

void TStandInWindow::Settle() {
  if (invalidations != painted_invalidations_) PaintNow();
}

void TStandInWindow::Resize(int width, int height) {
  size_ = {width, height};
  chart_.Resize(width, height);
}
