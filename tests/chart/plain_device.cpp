// Test stand-ins for the device and the window.
#include "plain_device.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

#include "chart/device_canvas.h"

namespace {

using MaybeRgb = std::optional<TRgb>;

// Gives each pixel of `area` within the clip and the bitmap the colour `colour_at` has for it, if any.
template <class ColourAt>
void Paint(TBitmap& bitmap, const TCanvas& dc, const TRect& area, ColourAt colour_at) {
  const TRect visible = Intersection(area, dc.ClipRect() ? Intersection(*dc.ClipRect(), bitmap.Rect()) : bitmap.Rect());
  for (int y = visible.Top; y < visible.Bottom; ++y)
    for (int x = visible.Left; x < visible.Right; ++x)
      if (const MaybeRgb colour = colour_at(x, y)) bitmap.SetPixel(x, y, *colour);
}

template <class Inside>
bool AtEdge(const Inside& inside, int x, int y) {
  return !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
}

// A shape holding the pixels `inside` says: those at its edge in the pen, the rest in the brush.
template <class Inside>
void PaintShape(TBitmap& bitmap, const TCanvas& dc, const TRect& box, const Inside& inside) {
  const bool pen = dc.Pen().Style() != psClear || dc.Pen().HasAlternateCosmeticHandle();
  const bool brush = dc.Brush().Style() != bsClear;
  Paint(bitmap, dc, box, [&](int x, int y) -> MaybeRgb {
    if (!inside(x, y)) return {};
    if (AtEdge(inside, x, y)) return pen ? MaybeRgb(dc.PenRGB()) : MaybeRgb();
    return brush ? MaybeRgb(dc.BrushRGB()) : MaybeRgb();
  });
}

bool InEllipse(const TRect& box, int x, int y) {
  const double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
  const double u = (x + 0.5 - box.Left - rx) / rx, v = (y + 0.5 - box.Top - ry) / ry;
  return u * u + v * v <= 1;
}

// Whether the pixel's centre lies counter-clockwise from the ray through `start` and before
// the ray through `end`, both from the box's centre.
bool InSweep(const TRect& box, TPoint start, TPoint end, int x, int y) {
  const double cx = (box.Left + box.Right) / 2.0, cy = (box.Top + box.Bottom) / 2.0;
  const auto angle = [&](double px, double py) { return std::atan2(cy - py, px - cx); };
  const auto turn = [](double a) { return std::fmod(a + 4 * std::numbers::pi, 2 * std::numbers::pi); };
  const double from = angle(start.X, start.Y);
  return turn(angle(x + 0.5, y + 0.5) - from) <= turn(angle(end.X, end.Y) - from);
}

bool InRoundRect(const TRect& box, int corner_width, int corner_height, int x, int y) {
  if (!box.Contains(x, y)) return false;
  const bool left = x < box.Left + corner_width / 2, right = x >= box.Right - corner_width / 2;
  const bool top = y < box.Top + corner_height / 2, bottom = y >= box.Bottom - corner_height / 2;
  if (!(left || right) || !(top || bottom)) return true;
  const int ex = left ? box.Left : box.Right - corner_width, ey = top ? box.Top : box.Bottom - corner_height;
  return InEllipse({ex, ey, ex + corner_width, ey + corner_height}, x, y);
}

bool InPolygon(std::span<const TPoint> p, int x, int y) {
  const double px = x + 0.5, py = y + 0.5;
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
    if ((p[i].Y > py) != (p[j].Y > py) &&
        px < p[j].X + (py - p[j].Y) * (p[i].X - p[j].X) / double(p[i].Y - p[j].Y))
      inside = !inside;
  return inside;
}

bool Hatched(TBrushStyle style, int x, int y) {
  const bool row = y % 8 == 0, column = x % 8 == 0, falling = (x - y) % 8 == 0, rising = (x + y) % 8 == 0;
  switch (style) {
    case bsHorizontal: return row;
    case bsVertical: return column;
    case bsFDiagonal: return falling;
    case bsBDiagonal: return rising;
    case bsCross: return row || column;
    default: return falling || rising;
  }
}

TRgb Mixed(TRgb from, TRgb to, int step, int steps) {
  const auto channel = [&](int shift) {
    const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    return TRgb(a + (b - a) * step / std::max(steps, 1)) << shift;
  };
  return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// Whether pixel (u, v) of a text's cell is in the block standing for its character's glyph.
bool InGlyph(const rtl::Text& text, int char_width, int u, int v) {
  return text[std::size_t(u / char_width)] != ' ' && u % char_width >= 1 && u % char_width < char_width - 1 && v >= 3 &&
         v <= 9;
}

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

void TPlainDevice::OutputText(TBitmap& bitmap, const TCanvas& dc, int x, int y, const rtl::Text& text) {
  Log("OutputText(" + std::to_string(x) + "," + std::to_string(y) + ",\"" + text + "\"," +
      std::to_string(dc.TextAlign()) + "," + std::to_string(dc.FontEscapement()) + "," + Hex(dc.TextColor()) + "," +
      std::to_string(dc.BackgroundMode()) + ")");
  if (!draws_) return;
  const int width = char_width_ * int(text.size()), align = int(dc.TextAlign());
  const int fx = (align & TA_CENTER) == TA_CENTER ? -(width / 2) : (align & TA_RIGHT) ? -width : 0;
  const int fy = (align & TA_BASELINE) == TA_BASELINE ? -10 : (align & TA_BOTTOM) ? -13 : 0;
  const bool upward = dc.FontEscapement() == 900;
  const TRect cell = upward ? TRect{x + fy, y - fx - width, x + fy + 13, y - fx}
                            : TRect{x + fx, y + fy, x + fx + width, y + fy + 13};
  Paint(bitmap, dc, cell, [&](int px, int py) -> MaybeRgb {
    const int u = upward ? y - fx - 1 - py : px - x - fx, v = upward ? px - x - fy : py - y - fy;
    if (InGlyph(text, char_width_, u, v)) return dc.TextColor();
    return dc.BackgroundMode() == OPAQUE ? MaybeRgb(dc.BackgroundColor()) : MaybeRgb();
  });
}

void TPlainDevice::FillPattern(TBitmap& bitmap, const TCanvas& dc, const TRect& area) {
  Log("FillPattern(" + Box(area) + "," + std::to_string(int(dc.Brush().Style())) + "," + Hex(dc.BrushRGB()) + ")");
  if (!draws_) return;
  const auto& tile = dc.Brush().Bitmap();
  Paint(bitmap, dc, area, [&](int x, int y) -> MaybeRgb {
    if (tile && !tile->IsEmpty()) return tile->Pixel(x % tile->Width(), y % tile->Height());
    if (Hatched(dc.Brush().Style(), x, y)) return dc.BrushRGB();
    return dc.BackgroundMode() == OPAQUE ? MaybeRgb(dc.BackgroundColor()) : MaybeRgb();
  });
}

void TPlainDevice::Ellipse(TBitmap& bitmap, const TCanvas& dc, const TRect& box) {
  Log("Ellipse(" + Box(box) + ")");
  if (draws_) PaintShape(bitmap, dc, box, [&](int x, int y) { return InEllipse(box, x, y); });
}

void TPlainDevice::Arc(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  Log("Arc(" + Box(box) + ")");
  if (!draws_) return;
  const auto inside = [&](int x, int y) { return InEllipse(box, x, y); };
  Paint(bitmap, dc, box, [&](int x, int y) -> MaybeRgb {
    if (!inside(x, y) || !AtEdge(inside, x, y) || !InSweep(box, start, end, x, y)) return {};
    return dc.PenRGB();
  });
}

void TPlainDevice::Pie(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  Log("Pie(" + Box(box) + ")");
  if (draws_)
    PaintShape(bitmap, dc, box, [&](int x, int y) { return InEllipse(box, x, y) && InSweep(box, start, end, x, y); });
}

void TPlainDevice::RoundRect(TBitmap& bitmap, const TCanvas& dc, const TRect& box, int corner_width,
                             int corner_height) {
  Log("RoundRect(" + Box(box) + ")");
  if (draws_)
    PaintShape(bitmap, dc, box, [&](int x, int y) { return InRoundRect(box, corner_width, corner_height, x, y); });
}

void TPlainDevice::Polygon(TBitmap& bitmap, const TCanvas& dc, std::span<const TPoint> points) {
  Log("Polygon(" + std::to_string(points.size()) + ")");
  if (!draws_) return;
  TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& p : points)
    box = {std::min(box.Left, p.X), std::min(box.Top, p.Y), std::max(box.Right, p.X + 1), std::max(box.Bottom, p.Y + 1)};
  PaintShape(bitmap, dc, box, [&](int x, int y) { return InPolygon(points, x, y); });
}

void TPlainDevice::GradientFill(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, TRgb start, TRgb end,
                                bool vertical) {
  Log("GradientFill(" + Box(rect) + "," + Hex(start) + "," + Hex(end) + "," + (vertical ? "vertical" : "across") + ")");
  if (draws_)
    Paint(bitmap, dc, rect, [&](int x, int y) -> MaybeRgb {
      return vertical ? Mixed(start, end, y - rect.Top, rect.Height() - 1)
                      : Mixed(start, end, x - rect.Left, rect.Width() - 1);
    });
}

void TPlainDevice::StretchDraw(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, const TBitmap& image) {
  Log("StretchDraw(" + Box(rect) + ")");
  if (draws_)
    Paint(bitmap, dc, rect, [&](int x, int y) -> MaybeRgb {
      return image.Pixel((x - rect.Left) * image.Width() / rect.Width(),
                         (y - rect.Top) * image.Height() / rect.Height());
    });
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
