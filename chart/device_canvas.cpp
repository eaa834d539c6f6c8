// The drawing surface: device state, lines, rectangles and fills by the engine's own pixel
// rules, text and shapes through the device, and image copies.
#include "chart/device_canvas.h"

#include <algorithm>
#include <utility>

#include "chart/gdi_raster.h"

namespace {

// The rectangle with its corners in order, as regions and fills take it whichever way it is given.
TRect Ordered(const TRect& rect) {
  return {std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom), std::max(rect.Left, rect.Right),
          std::max(rect.Top, rect.Bottom)};
}

// What FillRect covers of `rect`: a side given the other way round is mirrored, so the
// edge given as the right (bottom) one is still left out and the left (top) one taken in.
TRect FilledArea(const TRect& rect) {
  const auto span = [](int from, int to) { return from <= to ? std::pair{from, to} : std::pair{to + 1, from + 1}; };
  const auto [left, right] = span(rect.Left, rect.Right);
  const auto [top, bottom] = span(rect.Top, rect.Bottom);
  return {left, top, right, bottom};
}

}  // namespace

void TCanvas::IntersectClipRect(const TRect& rect) {
  const TRect region = Ordered(rect);
  clip_ = clip_ ? Intersection(*clip_, region) : region;
}

TRgb TCanvas::PenRGB() const { return ColorToRGB(pen_.DrawingColor(), *device_, clBlack); }
TRgb TCanvas::BrushRGB() const { return ColorToRGB(brush_.Color(), *device_, clWhite); }
TRgb TCanvas::FontRGB() const { return ColorToRGB(font_.Color(), *device_, clBlack); }

namespace {

// The pixel pen that the framework pen `pen` stands for on the device.
gdi::LinePen LinePenOf(const TPen& pen, TRgb color, const TCanvas& device) {
  gdi::LinePen line;
  line.color = color;
  line.mode = pen.Mode();
  if (pen.HasAlternateCosmeticHandle()) {
    line.pattern = gdi::AlternatePattern();  // gaps of extended pens stay transparent
    return line;
  }
  line.width = pen.Width();
  if (line.width <= 1) line.pattern = gdi::PatternOfStyle(pen.Style());
  line.fill_gaps = line.pattern.count > 0 && device.BackgroundMode() == OPAQUE;
  line.gap_color = device.BackgroundColor();
  return line;
}

bool DrawsNoLine(const TPen& pen) { return pen.Style() == psClear && !pen.HasAlternateCosmeticHandle(); }

bool IsPlainSolid(const TBrush& brush) { return brush.Style() == bsSolid && !brush.Bitmap(); }

}  // namespace

void TCanvas::LineTo(int x, int y) {
  const TPoint from = std::exchange(position_, TPoint{x, y});
  if (bitmap_ == nullptr || DrawsNoLine(pen_)) return;
  gdi::Raster raster(*bitmap_, clip_);
  int pattern_position = 0;  // the dash pattern restarts with every LineTo
  raster.Line(from.X, from.Y, x, y, LinePenOf(pen_, PenRGB(), *this), pattern_position);
}

void TCanvas::SetPixel(int x, int y, TRgb rgb) {
  if (bitmap_ != nullptr) gdi::Raster(*bitmap_, clip_).Plot(x, y, rgb, pmCopy);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (bitmap_ == nullptr || left == right || top == bottom) return;
  const bool null_pen = DrawsNoLine(pen_);
  // With a pen the brush fills only inside the outline, which a wide pen makes wider, so
  // that no pixel takes the raster operation twice; without a pen it reaches one pixel short
  // of the right and bottom edges.
  const int width = null_pen || pen_.HasAlternateCosmeticHandle() ? 1 : std::max(pen_.Width(), 1);
  const int inset = null_pen ? 0 : width - width / 2, outset = null_pen ? 0 : width / 2;
  const TRect inside{left + inset, top + inset, right - 1 - outset, bottom - 1 - outset};
  gdi::Raster raster(*bitmap_, clip_);
  if (IsPlainSolid(brush_)) {
    if (!inside.IsEmpty()) raster.Fill(inside, BrushRGB(), pen_.Mode());
  } else if (brush_.Style() != bsClear && !inside.IsEmpty()) {
    FillRect(inside);
  }
  if (!null_pen) raster.RectangleOutline(left, top, right, bottom, LinePenOf(pen_, PenRGB(), *this));
}

void TCanvas::FillRect(const TRect& corners) {
  const TRect rect = FilledArea(corners);
  if (bitmap_ == nullptr || brush_.Style() == bsClear || rect.IsEmpty()) return;
  if (IsPlainSolid(brush_))
    gdi::Raster(*bitmap_, clip_).Fill(rect, BrushRGB(), pmCopy);
  else
    device_->FillPattern(*bitmap_, *this, rect);
}

// The shapes below are not part of the history chart's picture; the device draws them.
void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (bitmap_ != nullptr) device_->Ellipse(*bitmap_, *this, {left, top, right, bottom});
}

void TCanvas::Arc(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y) {
  if (bitmap_ != nullptr) device_->Arc(*bitmap_, *this, {left, top, right, bottom}, {start_x, start_y}, {end_x, end_y});
}

void TCanvas::Pie(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y) {
  if (bitmap_ != nullptr) device_->Pie(*bitmap_, *this, {left, top, right, bottom}, {start_x, start_y}, {end_x, end_y});
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height) {
  if (bitmap_ != nullptr) device_->RoundRect(*bitmap_, *this, {left, top, right, bottom}, corner_width, corner_height);
}

void TCanvas::Polygon(const TPoint* points, int count) {
  if (bitmap_ != nullptr && count >= 2) device_->Polygon(*bitmap_, *this, {points, std::size_t(count)});
}

void TCanvas::GradientFill(const TRect& rect, TRgb start, TRgb end, bool vertical) {
  if (bitmap_ != nullptr) device_->GradientFill(*bitmap_, *this, rect, start, end, vertical);
}

void TCanvas::OutputText(int x, int y, const rtl::Text& text) {
  if (bitmap_ != nullptr && !text.empty()) device_->OutputText(*bitmap_, *this, x, y, text);
}

TTextExtent TCanvas::TextExtent(const rtl::Text& text) const { return device_->MeasureText(font_, text); }

void TCanvas::DrawImage(int x, int y, const TBitmap& image) {
  if (bitmap_ == nullptr) {
    device_->Present(image, x, y);
    return;
  }
  const TRect target = Intersection({x, y, x + image.Width(), y + image.Height()},
                                    clip_ ? Intersection(*clip_, bitmap_->Rect()) : bitmap_->Rect());
  if (target.IsEmpty()) return;
  for (int row = target.Top; row < target.Bottom; ++row)
    std::copy_n(image.Row(row - y) + (target.Left - x), target.Width(), bitmap_->Row(row) + target.Left);
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& image) {
  if (bitmap_ != nullptr && !image.IsEmpty()) device_->StretchDraw(*bitmap_, *this, rect, image);
}
