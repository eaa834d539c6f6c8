// The platform drawing surface: device state, lines, rectangles, shapes and image copies.
#include "chart/device_canvas.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include "chart/gdi_raster.h"

namespace {

struct SystemColorEntry {
  int role;  // QPalette::ColorRole, or -1 for none
  QRgb classic;
};

// The system colour indices in the platform's order, with the palette role that stands for
// each and the classic value used where Qt has no such role.
constexpr std::array<SystemColorEntry, 31> kSystemColors{{
    {-1, 0xD4D0C8},                      // scroll bar
    {-1, 0x3A6EA5},                      // desktop
    {-1, 0x0A246A},                      // active caption
    {-1, 0x808080},                      // inactive caption
    {QPalette::Window, 0xD4D0C8},        // menu
    {QPalette::Base, 0xFFFFFF},          // window
    {-1, 0x000000},                      // window frame
    {QPalette::WindowText, 0x000000},    // menu text
    {QPalette::Text, 0x000000},          // window text
    {-1, 0xFFFFFF},                      // caption text
    {-1, 0xD4D0C8},                      // active border
    {-1, 0xD4D0C8},                      // inactive border
    {-1, 0x808080},                      // application workspace
    {QPalette::Highlight, 0x0A246A},     // highlight
    {QPalette::HighlightedText, 0xFFFFFF},
    {QPalette::Button, 0xD4D0C8},        // button face
    {QPalette::Dark, 0x808080},          // button shadow
    {-1, 0x808080},                      // grey text
    {QPalette::ButtonText, 0x000000},    // button text
    {-1, 0xD4D0C8},                      // inactive caption text
    {QPalette::Light, 0xFFFFFF},         // button highlight
    {QPalette::Shadow, 0x404040},        // 3D dark shadow
    {QPalette::Midlight, 0xD4D0C8},      // 3D light
    {QPalette::ToolTipText, 0x000000},   // tool tip text
    {QPalette::ToolTipBase, 0xFFFFE1},   // tool tip background
    {-1, 0x000000},                      // (unused)
    {-1, 0x000080},                      // hot light
    {-1, 0xA6CAF0},                      // gradient active caption
    {-1, 0xC0C0C0},                      // gradient inactive caption
    {QPalette::Highlight, 0x316AC5},     // menu highlight
    {QPalette::Window, 0xD4D0C8},        // menu bar
}};

Qt::BrushStyle HatchOf(TBrushStyle style) {
  switch (style) {
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
  }
}

QPainter::CompositionMode CompositionOf(TPenMode mode) {
  switch (mode) {
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNot: return QPainter::RasterOp_NotDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Qt angle (sixteenths of a degree, counter-clockwise from 3 o'clock) of the radial from the
// centre of the box through (x, y).
int RadialAngle(const QRectF& box, int x, int y) {
  const double degrees = std::atan2(box.center().y() - y, x - box.center().x()) * 180.0 / std::numbers::pi;
  return int(std::lround(degrees * 16));
}

}  // namespace

QRgb SystemColorRGB(int index, const QPalette& palette) {
  if (index < 0 || index >= int(kSystemColors.size())) return 0xFF000000;
  const SystemColorEntry& entry = kSystemColors[std::size_t(index)];
  if (entry.role < 0) return 0xFF000000u | entry.classic;
  return palette.color(QPalette::Active, QPalette::ColorRole(entry.role)).rgb();
}

QPalette DefaultDevicePalette() {
  if (qGuiApp != nullptr) return QGuiApplication::palette();
  QPalette palette;
  for (const SystemColorEntry& entry : kSystemColors)
    if (entry.role >= 0) palette.setColor(QPalette::ColorRole(entry.role), QColor(entry.classic | 0xFF000000u));
  return palette;
}

QRgb ColorToRGB(TColor color, const QPalette& palette, TColor fallback) {
  if (color == clDefault) color = fallback;
  if (IsSystemColor(color)) return SystemColorRGB(int(color & 0xFF), palette);
  return qRgb(RedOf(color), GreenOf(color), BlueOf(color));
}

TCanvas::TCanvas(QPaintDevice* device, const QPalette& palette) : device_(device), palette_(palette) {}

QImage* TCanvas::Image() const {
  if (device_ == nullptr || device_->devType() != QInternal::Image) return nullptr;
  return static_cast<QImage*>(device_);
}

void TCanvas::IntersectClipRect(const TRect& rect) {
  const QRect region(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1));
  clip_ = clip_ ? clip_->intersected(region) : region.normalized();
}

QRgb TCanvas::PenRGB() const { return ColorToRGB(pen_.DrawingColor(), palette_, clBlack); }
QRgb TCanvas::BrushRGB() const { return ColorToRGB(brush_.Color(), palette_, clWhite); }
QRgb TCanvas::FontRGB() const { return ColorToRGB(font_.Color(), palette_, clBlack); }

namespace {

// The pixel pen that the framework pen `pen` stands for on the device.
gdi::LinePen LinePenOf(const TPen& pen, QRgb color, const TCanvas& device) {
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

}  // namespace

void TCanvas::LineTo(int x, int y) {
  const TPoint from = std::exchange(position_, TPoint{x, y});
  QImage* image = Image();
  if (image == nullptr || DrawsNoLine(pen_)) return;
  gdi::Raster raster(*image, clip_);
  int pattern_position = 0;  // the dash pattern restarts with every LineTo
  raster.Line(from.X, from.Y, x, y, LinePenOf(pen_, PenRGB(), *this), pattern_position);
}

void TCanvas::SetPixel(int x, int y, QRgb rgb) {
  if (QImage* image = Image()) gdi::Raster(*image, clip_).Plot(x, y, rgb, pmCopy);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  QImage* image = Image();
  if (image == nullptr || left == right || top == bottom) return;
  const bool null_pen = DrawsNoLine(pen_);
  // With a pen the brush fills only inside the outline; without one it reaches one pixel
  // short of the right and bottom edges.
  const int inset = null_pen ? 0 : 1;
  const QRect inside(QPoint(left + inset, top + inset), QPoint(right - 2, bottom - 2));
  gdi::Raster raster(*image, clip_);
  if (brush_.Style() == bsSolid && !brush_.Bitmap()) {
    if (inside.isValid()) raster.Fill(inside, BrushRGB(), pen_.Mode());
  } else if (brush_.Style() != bsClear && inside.isValid()) {
    FillRect({inside.left(), inside.top(), inside.right() + 1, inside.bottom() + 1});
  }
  if (!null_pen) raster.RectangleOutline(left, top, right, bottom, LinePenOf(pen_, PenRGB(), *this));
}

void TCanvas::FillRect(const TRect& rect) {
  QImage* image = Image();
  if (image == nullptr || brush_.Style() == bsClear) return;
  const QRect area(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1));
  if (!area.isValid()) return;
  if (brush_.Style() == bsSolid && !brush_.Bitmap()) {
    gdi::Raster(*image, clip_).Fill(area, BrushRGB(), pmCopy);
    return;
  }
  QPainter painter;
  if (!OpenPainter(painter)) return;
  if (brush_.Bitmap() && !brush_.Bitmap()->isNull()) {
    painter.fillRect(area, QBrush(*brush_.Bitmap()));
    return;
  }
  if (background_mode_ == OPAQUE) painter.fillRect(area, QColor(background_color_));
  painter.fillRect(area, QBrush(QColor(BrushRGB()), HatchOf(brush_.Style())));
}

bool TCanvas::OpenPainter(QPainter& painter) {
  if (device_ == nullptr || !painter.begin(device_)) return false;
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (clip_) painter.setClipRect(*clip_);
  return true;
}

// The shapes below are not part of the chart's picture; they use QPainter with the pen,
// brush and raster operation of the device, not pixel rules of their own.
struct TCanvas::Painter {
  static void Setup(TCanvas& canvas, QPainter& painter) {
    const TPen& pen = canvas.pen_;
    if (DrawsNoLine(pen)) painter.setPen(Qt::NoPen);
    else painter.setPen(QPen(QColor(canvas.PenRGB()), pen.Width() <= 1 ? 0 : pen.Width()));
    const TBrush& brush = canvas.brush_;
    if (brush.Style() == bsClear) painter.setBrush(Qt::NoBrush);
    else painter.setBrush(QBrush(QColor(canvas.BrushRGB()), HatchOf(brush.Style())));
    painter.setCompositionMode(CompositionOf(pen.Mode()));
    painter.setBackground(QColor(canvas.background_color_));
    painter.setBackgroundMode(canvas.background_mode_ == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  }
};

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  Painter::Setup(*this, painter);
  painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
}

// The box and the counter-clockwise sweep, in Qt's sixteenths of a degree, of an arc or pie
// running from the ray through (start_x, start_y) to the ray through (end_x, end_y).
struct ArcSweep {
  ArcSweep(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y)
      : box(left, top, right - left - 1, bottom - top - 1), start(RadialAngle(box, start_x, start_y)) {
    span = RadialAngle(box, end_x, end_y) - start;
    if (span <= 0) span += 360 * 16;
  }
  QRect box;
  int start;
  int span = 0;
};

void TCanvas::Arc(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  Painter::Setup(*this, painter);
  const ArcSweep sweep(left, top, right, bottom, start_x, start_y, end_x, end_y);
  painter.drawArc(sweep.box, sweep.start, sweep.span);
}

void TCanvas::Pie(int left, int top, int right, int bottom, int start_x, int start_y, int end_x, int end_y) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  Painter::Setup(*this, painter);
  const ArcSweep sweep(left, top, right, bottom, start_x, start_y, end_x, end_y);
  painter.drawPie(sweep.box, sweep.start, sweep.span);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int corner_width, int corner_height) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  Painter::Setup(*this, painter);
  painter.drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1), corner_width / 2.0,
                          corner_height / 2.0);
}

void TCanvas::Polygon(const TPoint* points, int count) {
  if (count < 2) return;
  QPainter painter;
  if (!OpenPainter(painter)) return;
  Painter::Setup(*this, painter);
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].X, points[i].Y);
  painter.drawPolygon(polygon);
}

void TCanvas::GradientFill(const TRect& rect, QRgb start, QRgb end, bool vertical) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  const QRect area(rect.Left, rect.Top, rect.Width(), rect.Height());
  QLinearGradient gradient(area.topLeft(), vertical ? area.bottomLeft() : area.topRight());
  gradient.setColorAt(0, QColor(start));
  gradient.setColorAt(1, QColor(end));
  painter.fillRect(area, gradient);
}

void TCanvas::DrawImage(int x, int y, const QImage& image) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(x, y, image);
}

void TCanvas::StretchDraw(const TRect& rect, const QImage& image) {
  QPainter painter;
  if (!OpenPainter(painter)) return;
  painter.drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), image);
}
