// Text output of the platform drawing surface: cells placed by the alignment flags and
// turned by the font's escapement, glyph pixels rendered by Qt once per text and font.
#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFont>
#include <QImage>

#include "chart/device_canvas.h"
#include "chart/text_render_cache.h"
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

QSize TCanvas::TextExtent(const rtl::Text& text) const { return TTextRenderCache::ForThisThread().Extent(font_, text); }

void TCanvas::TextOut(int x, int y, const rtl::Text& text) {
  QImage* image = Image();
  if (image == nullptr || text.empty()) return;
  const TRenderedText& run = TTextRenderCache::ForThisThread().Rendered(font_, text, text_color_);
  const int width = run.Width, height = run.Height;
  const TextPlacement placement(x, y, CellOffset(text_align_, width, height, run.Ascent), font_escapement_);
  const QRect visible = clip_ ? clip_->intersected(image->rect()) : image->rect();
  // The image's bits and bounds are taken once: scanLine() checks for a detach and the
  // QImage and QRect accessors are out of line, which dominated a frame of short labels.
  const int left = visible.left(), right = visible.right(), top = visible.top(), bottom = visible.bottom();
  uchar* const bits = image->bits();
  const qsizetype bytes_per_line = image->bytesPerLine();
  auto put = [&](int i, int j, QRgb color) {
    const QPoint device = placement.Map(i, j);
    const int device_x = device.x(), device_y = device.y();
    if (device_x < left || device_x > right || device_y < top || device_y > bottom) return;
    reinterpret_cast<QRgb*>(bits + std::ptrdiff_t(device_y) * bytes_per_line)[device_x] = color;
  };
  if (background_mode_ == OPAQUE && width > 0 && height > 0) {
    const QRgb background = 0xFF000000u | background_color_;
    if (placement.QuarterTurns()) {
      // Turned by whole quarters the cell stays a rectangle of the device.
      // Corners compared by hand: QRect::normalized() moves swapped edges by one pixel.
      const QPoint a = placement.Map(0, 0), b = placement.Map(width - 1, height - 1);
      const QRect cell = QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                               QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))) &
                         visible;
      for (int row = cell.top(); row <= cell.bottom(); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(bits + std::ptrdiff_t(row) * bytes_per_line);
        std::fill(line + cell.left(), line + cell.right() + 1, background);
      }
    } else {
      for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) put(i, j, background);
    }
  }
  for (const TGlyphPixel& pixel : run.Pixels) put(pixel.Column, pixel.Row, pixel.Color);
}
