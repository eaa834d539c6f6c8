// Text of the Qt device: cells placed by the alignment flags and turned by the font's
// escapement, glyph pixels rendered by Qt once per text and font.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFont>
#include <QPoint>

#include "chart/device_canvas.h"
#include "chart/qt/qt_device.h"
#include "chart/qt/text_render_cache.h"
#include "rtl/text.h"

namespace {

// Where a pixel of the upright text lands on the device. The text's own frame has the cell's
// top-left corner at `frame` (relative to the anchor), x along the text and y down across it;
// the escapement turns that frame counter-clockwise about the anchor.
class TextPlacement {
 public:
  TextPlacement(int anchor_x, int anchor_y, QPoint frame, int escapement)
      : anchor_x_(anchor_x), anchor_y_(anchor_y), frame_(frame) {
    const int tenths = ((escapement % 3600) + 3600) % 3600;
    quadrant_ = tenths % 900 == 0 ? tenths / 900 : -1;
    const double radians = tenths / 10.0 * std::numbers::pi / 180.0;
    cos_ = std::cos(radians);
    sin_ = std::sin(radians);
  }

  bool QuarterTurns() const { return quadrant_ >= 0; }

  // Device pixel of text pixel (i, j) of the cell.
  QPoint Map(int i, int j) const {
    const int u = frame_.x() + i, v = frame_.y() + j;
    // Pixel centres: escapement 900 sends (u, v) to (x + v, y - 1 - u), so the text reads
    // upward and its first glyph sits just above row y.
    switch (quadrant_) {
      case 0: return {anchor_x_ + u, anchor_y_ + v};
      case 1: return {anchor_x_ + v, anchor_y_ - 1 - u};
      case 2: return {anchor_x_ - 1 - u, anchor_y_ - 1 - v};
      case 3: return {anchor_x_ - 1 - v, anchor_y_ + u};
      default: break;
    }
    const double cu = u + 0.5, cv = v + 0.5;
    return {anchor_x_ + int(std::floor(cu * cos_ + cv * sin_)), anchor_y_ + int(std::floor(-cu * sin_ + cv * cos_))};
  }

 private:
  int anchor_x_, anchor_y_;
  QPoint frame_;
  int quadrant_;
  double cos_ = 1, sin_ = 0;
};

// Offset of the cell's top-left corner from the anchor, along the text and across it.
QPoint CellOffset(unsigned align, int width, int height, int ascent) {
  int fx = 0;
  if ((align & TA_CENTER) == TA_CENTER) fx = -(width / 2);
  else if (align & TA_RIGHT) fx = -width;
  int fy = 0;
  if ((align & TA_BASELINE) == TA_BASELINE) fy = -ascent;
  else if (align & TA_BOTTOM) fy = -height;
  return {fx, fy};
}

}  // namespace

QFont DeviceFont(const TFont& font) {
  // Without this the platform's dialog font would resolve to a wider family than it has.
  static const bool substituted = [] {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    return true;
  }();
  (void)substituted;
  QFont device(QString::fromUtf8(rtl::Utf8FromWindows1251(font.Name()).c_str()));
  const int height = font.Height();
  device.setPixelSize(std::max(1, height < 0 ? -height : height));
  device.setBold(font.Style() & fsBold);
  device.setItalic(font.Style() & fsItalic);
  device.setUnderline(font.Style() & fsUnderline);
  device.setStrikeOut(font.Style() & fsStrikeOut);
  device.setStyleStrategy(QFont::NoAntialias);
  device.setHintingPreference(QFont::PreferFullHinting);
  device.setKerning(false);
  return device;
}

TTextExtent TQtChartDevice::MeasureText(const TFont& font, const rtl::Text& text) {
  return TTextRenderCache::ForThisThread().Extent(font, text);
}

void TQtChartDevice::OutputText(TBitmap& bitmap, const TCanvas& dc, int x, int y, const rtl::Text& text) {
  if (text.empty()) return;
  const TRenderedText& run = TTextRenderCache::ForThisThread().Rendered(dc.Font(), text, dc.TextColor());
  const int width = run.Width, height = run.Height;
  const TextPlacement placement(x, y, CellOffset(dc.TextAlign(), width, height, run.Ascent), dc.FontEscapement());
  const TRect visible = dc.ClipRect() ? Intersection(*dc.ClipRect(), bitmap.Rect()) : bitmap.Rect();
  // The bitmap's rows and bounds are taken once: a frame of short labels puts many pixels.
  const int left = visible.Left, right = visible.Right, top = visible.Top, bottom = visible.Bottom;
  unsigned char* const bits = reinterpret_cast<unsigned char*>(bitmap.Row(0));
  const std::ptrdiff_t bytes_per_line = bitmap.BytesPerLine();
  auto put = [&](int i, int j, TRgb color) {
    const QPoint device = placement.Map(i, j);
    const int device_x = device.x(), device_y = device.y();
    if (device_x < left || device_x >= right || device_y < top || device_y >= bottom) return;
    reinterpret_cast<TRgb*>(bits + std::ptrdiff_t(device_y) * bytes_per_line)[device_x] = color;
  };
  if (dc.BackgroundMode() == OPAQUE && width > 0 && height > 0) {
    const TRgb background = 0xFF000000u | dc.BackgroundColor();
    if (placement.QuarterTurns()) {
      // Turned by whole quarters the cell stays a rectangle of the device.
      const QPoint a = placement.Map(0, 0), b = placement.Map(width - 1, height - 1);
      const TRect cell = Intersection({std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                                       std::max(a.y(), b.y()) + 1},
                                      visible);
      if (!cell.IsEmpty())
        for (int row = cell.Top; row < cell.Bottom; ++row)
          std::fill(bitmap.Row(row) + cell.Left, bitmap.Row(row) + cell.Right, background);
    } else {
      for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) put(i, j, background);
    }
  }
  for (const TGlyphPixel& pixel : run.Pixels) put(pixel.Column, pixel.Row, pixel.Color);
}
