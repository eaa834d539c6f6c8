// The Qt device: system colours, patterns, shapes and frames. Text is in qt_device_text.cpp.
#include "chart/qt/qt_device.h"

#include <array>
#include <cmath>
#include <numbers>

#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "chart/device_canvas.h"
#include "chart/rounding.h"

namespace {

// The palette role that stands for each system colour index, or -1 where Qt has none (the
// classic value then stands).
constexpr std::array<int, 31> kSystemColorRoles{{
    -1,                           // scroll bar
    -1,                           // desktop
    -1,                           // active caption
    -1,                           // inactive caption
    QPalette::Window,             // menu
    QPalette::Base,               // window
    -1,                           // window frame
    QPalette::WindowText,         // menu text
    QPalette::Text,               // window text
    -1,                           // caption text
    -1,                           // active border
    -1,                           // inactive border
    -1,                           // application workspace
    QPalette::Highlight,          // highlight
    QPalette::HighlightedText,    // highlighted text
    QPalette::Button,             // button face
    QPalette::Dark,               // button shadow
    -1,                           // grey text
    QPalette::ButtonText,         // button text
    -1,                           // inactive caption text
    QPalette::Light,              // button highlight
    QPalette::Shadow,             // 3D dark shadow
    QPalette::Midlight,           // 3D light
    QPalette::ToolTipText,        // tool tip text
    QPalette::ToolTipBase,        // tool tip background
    -1,                           // (unused)
    -1,                           // hot light
    -1,                           // gradient active caption
    -1,                           // gradient inactive caption
    QPalette::Highlight,          // menu highlight
    QPalette::Window,             // menu bar
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
// centre of the box through the point.
int RadialAngle(const QRectF& box, TPoint through) {
  const double degrees =
      std::atan2(box.center().y() - through.Y, through.X - box.center().x()) * 180.0 / std::numbers::pi;
  return int(std::lround(degrees * 16));
}

// The box and the counter-clockwise sweep, in Qt's sixteenths of a degree, of an arc or pie.
struct ArcSweep {
  ArcSweep(const TRect& rect, TPoint from, TPoint to)
      : box(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1), start(RadialAngle(box, from)) {
    span = RadialAngle(box, to) - start;
    if (span <= 0) span += 360 * 16;
  }
  QRect box;
  int start;
  int span = 0;
};

// A painter on the bitmap with the context's clip, no antialiasing.
class TBitmapPainter {
 public:
  TBitmapPainter(TBitmap& bitmap, const TCanvas& dc) : image_(ImageOf(bitmap)), painter_(&image_) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    if (const auto& clip = dc.ClipRect()) painter_.setClipRect(QRect(clip->Left, clip->Top, clip->Width(), clip->Height()));
  }
  QPainter& operator*() { return painter_; }
  QPainter* operator->() { return &painter_; }

 private:
  QImage image_;
  QPainter painter_;
};

// The shapes use the pen, brush, raster operation and background of the context; they are
// not part of the chart's picture, so Qt's own pixel rules serve.
void SetUpShape(QPainter& painter, const TCanvas& dc) {
  const TPen& pen = dc.Pen();
  if (pen.Style() == psClear && !pen.HasAlternateCosmeticHandle())
    painter.setPen(Qt::NoPen);
  else
    painter.setPen(QPen(QColor(dc.PenRGB()), pen.Width() <= 1 ? 0 : pen.Width()));
  const TBrush& brush = dc.Brush();
  if (brush.Style() == bsClear)
    painter.setBrush(Qt::NoBrush);
  else
    painter.setBrush(QBrush(QColor(dc.BrushRGB()), HatchOf(brush.Style())));
  painter.setCompositionMode(CompositionOf(pen.Mode()));
  painter.setBackground(QColor(dc.BackgroundColor()));
  painter.setBackgroundMode(dc.BackgroundMode() == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
}

// The shape box as Qt's drawing calls take it: right and bottom edges left out.
QRect ShapeBox(const TRect& box) { return QRect(box.Left, box.Top, box.Width() - 1, box.Height() - 1); }

// What the window framework says about its user-interface language and font.
TFrameworkFont FrameworkFontOfApplication() {
  TFrameworkFont font;
  if (qGuiApp == nullptr) return font;
  font.japanese_interface = QLocale::system().language() == QLocale::Japanese;
  const QFont framework = QGuiApplication::font();
  font.pixels_per_inch = qGuiApp->primaryScreen() ? int(qGuiApp->primaryScreen()->logicalDotsPerInchY()) : 96;
  font.height = framework.pixelSize() > 0 ? -framework.pixelSize()
                                          : -gdi::MulDiv(framework.pointSize(), font.pixels_per_inch, 72);
  font.name = rtl::Windows1251FromUtf8(framework.family().toStdString());
  return font;
}

}  // namespace

QImage ImageOf(const TBitmap& bitmap) {
  if (bitmap.IsEmpty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(bitmap.Row(0)), bitmap.Width(), bitmap.Height(),
                qsizetype(bitmap.BytesPerLine()), QImage::Format_RGB32);
}

QImage ImageOf(TBitmap& bitmap) {
  if (bitmap.IsEmpty()) return QImage();
  return QImage(reinterpret_cast<uchar*>(bitmap.Row(0)), bitmap.Width(), bitmap.Height(),
                qsizetype(bitmap.BytesPerLine()), QImage::Format_RGB32);
}

TBitmap BitmapOf(QImage& image) {
  return TBitmap(reinterpret_cast<TRgb*>(image.bits()), image.width(), image.height(), image.bytesPerLine());
}

TRgb SystemColorRGB(int index, const QPalette& palette) {
  if (index < 0 || index >= int(kSystemColorRoles.size())) return kRgbBlack;
  const int role = kSystemColorRoles[std::size_t(index)];
  if (role < 0) return ClassicSystemColor(index);
  return palette.color(QPalette::Active, QPalette::ColorRole(role)).rgb();
}

QPalette DefaultDevicePalette() {
  if (qGuiApp != nullptr) return QGuiApplication::palette();
  QPalette palette;
  for (std::size_t index = 0; index < kSystemColorRoles.size(); ++index)
    if (kSystemColorRoles[index] >= 0)
      palette.setColor(QPalette::ColorRole(kSystemColorRoles[index]), QColor(ClassicSystemColor(int(index))));
  return palette;
}

TQtChartDevice::TQtChartDevice(QWidget* window) : window_(window) {
  SetFrameworkFont(FrameworkFontOfApplication());
}

TRgb TQtChartDevice::SystemColor(int index) const {
  return SystemColorRGB(index, window_ != nullptr ? window_->palette() : DefaultDevicePalette());
}

void TQtChartDevice::FillPattern(TBitmap& bitmap, const TCanvas& dc, const TRect& area) {
  TBitmapPainter painter(bitmap, dc);
  const QRect rect(area.Left, area.Top, area.Width(), area.Height());
  const auto& pattern = dc.Brush().Bitmap();
  if (pattern && !pattern->IsEmpty()) {
    painter->fillRect(rect, QBrush(ImageOf(*pattern)));
    return;
  }
  if (dc.BackgroundMode() == OPAQUE) painter->fillRect(rect, QColor(dc.BackgroundColor()));
  painter->fillRect(rect, QBrush(QColor(dc.BrushRGB()), HatchOf(dc.Brush().Style())));
}

void TQtChartDevice::Ellipse(TBitmap& bitmap, const TCanvas& dc, const TRect& box) {
  TBitmapPainter painter(bitmap, dc);
  SetUpShape(*painter, dc);
  painter->drawEllipse(ShapeBox(box));
}

void TQtChartDevice::Arc(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  TBitmapPainter painter(bitmap, dc);
  SetUpShape(*painter, dc);
  const ArcSweep sweep(box, start, end);
  painter->drawArc(sweep.box, sweep.start, sweep.span);
}

void TQtChartDevice::Pie(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  TBitmapPainter painter(bitmap, dc);
  SetUpShape(*painter, dc);
  const ArcSweep sweep(box, start, end);
  painter->drawPie(sweep.box, sweep.start, sweep.span);
}

void TQtChartDevice::RoundRect(TBitmap& bitmap, const TCanvas& dc, const TRect& box, int corner_width,
                               int corner_height) {
  TBitmapPainter painter(bitmap, dc);
  SetUpShape(*painter, dc);
  painter->drawRoundedRect(ShapeBox(box), corner_width / 2.0, corner_height / 2.0);
}

void TQtChartDevice::Polygon(TBitmap& bitmap, const TCanvas& dc, std::span<const TPoint> points) {
  TBitmapPainter painter(bitmap, dc);
  SetUpShape(*painter, dc);
  QPolygon polygon;
  for (const TPoint& point : points) polygon << QPoint(point.X, point.Y);
  painter->drawPolygon(polygon);
}

void TQtChartDevice::GradientFill(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, TRgb start, TRgb end,
                                  bool vertical) {
  TBitmapPainter painter(bitmap, dc);
  const QRect area(rect.Left, rect.Top, rect.Width(), rect.Height());
  QLinearGradient gradient(area.topLeft(), vertical ? area.bottomLeft() : area.topRight());
  gradient.setColorAt(0, QColor(start));
  gradient.setColorAt(1, QColor(end));
  painter->fillRect(area, gradient);
}

void TQtChartDevice::StretchDraw(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, const TBitmap& image) {
  TBitmapPainter painter(bitmap, dc);
  painter->drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ImageOf(image));
}

void TQtChartDevice::Present(const TBitmap& frame, int x, int y) {
  if (window_ == nullptr) return;
  QPainter painter;
  if (!painter.begin(window_)) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(x, y, ImageOf(frame));
}
