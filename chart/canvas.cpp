// The drawing canvas: the chart-side operations over the device canvas, and the frame
// buffer that lets a window expose be served without drawing the chart again.
#include "chart/canvas.h"

#include <algorithm>
#include <cmath>

void TChartCanvas::AttachDevice(TCanvas& device) { target_ = &device; }

void TChartCanvas::RestoreDefaults() {
  Pen().SetColor(clBlack);
  Pen().SetWidth(1);
  Pen().SetStyle(psSolid);
  Brush().SetColor(clWhite);
  Brush().SetStyle(bsSolid);
  Font().SetColor(clBlack);
  Font().SetSize(10);
  SetBackgroundColor(clWhite);
  SetBackgroundMode(TRANSPARENT);
}

void TChartCanvas::ApplyChartPen(const TChartPen& pen) {
  if (!pen.Visible()) {
    Pen().SetStyle(psClear);
    return;
  }
  // The platforms this runs on draw cosmetic pens as the NT family does.
  if (pen.SmallDots() && pen.Width() == 1) {
    Pen().SelectAlternateCosmeticHandle(pen.Color());
    return;
  }
  Pen().Assign(pen);
}

int TChartCanvas::LineHeight() { return MeasureTextHeight("W"); }

int TChartCanvas::MeasureTextWidth(const rtl::Text& text) { return target_->TextExtent(text).Width; }

int TChartCanvas::MeasureTextHeight(const rtl::Text& text) { return target_->TextExtent(text).Height; }

void TChartCanvas::CopyFrom(TChartCanvas& other) { ChangeMonochrome(other.IsMonochrome()); }

// The frame bitmap and the device canvas over it. The canvas's state (font, text alignment,
// pen) carries over from one frame to the next while the bitmap stays.
struct TChartCanvas3D::Frame {
  Frame(TChartDevice& device, int width, int height)
      : bitmap(device.CreateFrame(std::max(width, 0), std::max(height, 0))), canvas(device, &bitmap) {}
  TBitmap bitmap;
  TCanvas canvas;
};

TChartCanvas3D::TChartCanvas3D(TCanvas& window_device) { AttachDevice(window_device); }

TChartCanvas3D::~TChartCanvas3D() = default;

const TBitmap* TChartCanvas3D::FrameBitmap() const { return frame_ ? &frame_->bitmap : nullptr; }

TRgb TChartCanvas3D::ToRGB(TColor color, TColor fallback) const {
  return ColorToRGB(color, target_->Device(), fallback);
}

TColor TChartCanvas3D::BackgroundColor() { return ColorOfRgb(target_->BackgroundColor()); }

int TChartCanvas3D::BackgroundMode() { return target_->BackgroundMode(); }

unsigned TChartCanvas3D::TextAlignment() { return target_->TextAlign(); }

void TChartCanvas3D::SetBackgroundColor(TColor color) { target_->SetBackgroundColor(ToRGB(color, clWhite)); }

void TChartCanvas3D::SetBackgroundMode(int mode) { target_->SetBackgroundMode(mode); }

void TChartCanvas3D::ChangeMonochrome(bool monochrome) {
  if (monochrome_ == monochrome) return;
  monochrome_ = monochrome;
  frame_.reset();
  dirty_ = true;
  if (options_ != nullptr) options_->RequestRepaint();
}

void TChartCanvas3D::PlotPixel(int x, int y, TColor color) { target_->SetPixel(x, y, ToRGB(color, clBlack)); }

void TChartCanvas3D::SetTextAlignment(unsigned flags) { target_->SetTextAlign(flags); }

void TChartCanvas3D::ChangeBuffered(bool buffered) {
  buffered_ = buffered;
  if (!buffered && frame_) {
    frame_.reset();
    dirty_ = true;
  }
}

void TChartCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  target_->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::DrawGraphicAt(int x, int y, const TBitmap* graphic) {
  if (graphic == nullptr || graphic->IsEmpty()) return;
  target_->SetBackgroundColor(ToRGB(Brush().Color(), clWhite));
  target_->SetTextColor(ToRGB(Font().Color(), clBlack));
  target_->DrawImage(x, y, *graphic);
}

void TChartCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) { target_->Ellipse(x1, y1, x2, y2); }

void TChartCanvas3D::FillRectangle(const TRect& rect) { target_->FillRect(rect); }

void TChartCanvas3D::DrawBevelFrame(const TRect& rect, TColor top_left, TColor bottom_right) {
  // Same pen stroke as the panel's bevel: up the left edge and along the top, then down the
  // right edge and back along the bottom.
  const int right = rect.Right - 1, bottom = rect.Bottom - 1;
  Pen().SetColor(top_left);
  MovePen(rect.Left, bottom);
  DrawLineTo(rect.Left, rect.Top);
  DrawLineTo(right, rect.Top);
  Pen().SetColor(bottom_right);
  DrawLineTo(right, bottom);
  DrawLineTo(rect.Left - 1, bottom);
}

void TChartCanvas3D::DrawLineTo(int x, int y) { target_->LineTo(x, y); }

void TChartCanvas3D::MovePen(int x, int y) { target_->MoveTo(x, y); }

void TChartCanvas3D::DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  target_->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TChartCanvas3D::DrawBox(int x0, int y0, int x1, int y1) { target_->Rectangle(x0, y0, x1, y1); }

void TChartCanvas3D::DrawRoundedBox(int x0, int y0, int x1, int y1, int corner_width, int corner_height) {
  target_->RoundRect(x0, y0, x1, y1, corner_width, corner_height);
}

void TChartCanvas3D::DrawGraphicStretched(const TRect& rect, const TBitmap* graphic) {
  if (graphic != nullptr && !graphic->IsEmpty()) target_->StretchDraw(rect, *graphic);
}

void TChartCanvas3D::WriteText(int x, int y, const rtl::Text& text) {
  target_->SetTextColor(ToRGB(Font().Color(), clBlack));
  target_->OutputText(x, y, text);
}

void TChartCanvas3D::ClipToRectangle(const TRect& rect) { target_->IntersectClipRect(rect); }

void TChartCanvas3D::DrawHorizontalLine(int x0, int x1, int y) {
  MovePen(x0, y);
  DrawLineTo(x1, y);
}

void TChartCanvas3D::DrawRectangle(const TRect& rect) { DrawBox(rect.Left, rect.Top, rect.Right, rect.Bottom); }

void TChartCanvas3D::DrawVerticalLine(int x, int y0, int y1) {
  MovePen(x, y0);
  DrawLineTo(x, y1);
}

void TChartCanvas3D::PaintBackground(const TRect& rect) { FillRectangle(rect); }

void TChartCanvas3D::FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction) {
  const bool reversed = direction == gdBottomTop || direction == gdRightLeft;
  const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
  TRgb from = ToRGB(start, clWhite), to = ToRGB(end, clWhite);
  if (reversed) std::swap(from, to);
  target_->GradientFill(rect, from, to, vertical);
}

void TChartCanvas3D::DrawLineSegment(int x0, int y0, int x1, int y1) {
  MovePen(x0, y0);
  DrawLineTo(x1, y1);
}

void TChartCanvas3D::DrawPolygon(std::span<const TPoint> points, int last_index) {
  const int count = std::min<int>(last_index + 1, int(points.size()));
  target_->Polygon(points.data(), count);
}

void TChartCanvas3D::WriteRotatedText(int x, int y, const rtl::Text& text, int angle) {
  if (angle > 360) angle -= 360;
  Brush().SetStyle(bsClear);
  // Selecting a turned copy of the font and the previous one back again afterwards.
  const int previous = target_->FontEscapement();
  target_->SetFontEscapement(angle * 10);
  WriteText(x, y, text);
  target_->SetFontEscapement(previous);
}

void TChartCanvas3D::RemoveClipping() { target_->RemoveClip(); }

void TChartCanvas3D::PlotPixelAtDepth(int x, int y, int z, TColor color) {
  const TPoint point = ProjectPoint(x, y, z);
  PlotPixel(point.X, point.Y, color);
}

// Only the flat projection is implemented: the chart is never three-dimensional here.
TPoint TChartCanvas3D::UnprojectPixel(int x, int y, int) { return {x, y}; }

TPoint TChartCanvas3D::ProjectPoint(int x, int y, int) { return {x, y}; }

TRect TChartCanvas3D::BeginFrame(TCanvas& device, TView3DOptions* options, const TRect& window,
                                 bool three_dimensional) {
  bounds_ = window;
  options_ = options;
  three_dimensional_ = three_dimensional;
  orthogonal_ = false;
  zoom_factor_ = 1.0;
  if (three_dimensional && options != nullptr) {
    orthogonal_ = options->Orthogonal();
    zoom_factor_ = options->Zoom() * 0.01;
    zoom_text_ = options->ZoomText();
  }
  if (!buffered_) {
    AttachDevice(device);
    return window;
  }
  const int width = window.Width(), height = window.Height();
  // A frame of another size, or made by another device, is made anew.
  if (frame_ && (frame_->bitmap.Width() != std::max(width, 0) || frame_->bitmap.Height() != std::max(height, 0) ||
                 &frame_->canvas.Device() != &device.Device()))
    frame_.reset();
  if (!frame_) frame_ = std::make_unique<Frame>(device.Device(), width, height);
  AttachDevice(frame_->canvas);
  return {0, 0, width, height};
}

void TChartCanvas3D::SetProjection(int depth, const TRect&, const TRect& plot) {
  centre_x_ = (plot.Left + plot.Right) / 2;
  centre_y_ = (plot.Top + plot.Bottom) / 2;
  centre_z_ = depth / 2;
  offset_x_ = centre_x_ + (options_ ? options_->HorizOffset() : 0);
  offset_y_ = centre_y_ + (options_ ? options_->VertOffset() : 0);
}

namespace {

// A monochrome bitmap holds only black and white: black where the pixel's grey level,
// (11 red + 16 green + 5 blue) / 32, is below half.
TBitmap Monochrome(const TBitmap& frame) {
  TBitmap mono(frame.Width(), frame.Height());
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const TRgb pixel = frame.Pixel(x, y);
      const int grey = (RgbRed(pixel) * 11 + RgbGreen(pixel) * 16 + RgbBlue(pixel) * 5) / 32;
      mono.SetPixel(x, y, grey < 128 ? kRgbBlack : kRgbWhite);
    }
  return mono;
}

}  // namespace

void TChartCanvas3D::CopyFrameTo(TCanvas& destination, int x, int y) {
  if (monochrome_)
    destination.DrawImage(x, y, Monochrome(frame_->bitmap));
  else
    destination.DrawImage(x, y, frame_->bitmap);
}

void TChartCanvas3D::EndFrame(TCanvas& destination, TCanvas& default_device, const TRect& window) {
  if (buffered_ && frame_) {
    CopyFrameTo(destination, window.Left, window.Top);
    dirty_ = false;
  }
  AttachDevice(default_device);
}

TCanvas* TChartCanvas3D::ShownFrame() { return buffered_ && frame_ ? &frame_->canvas : nullptr; }

bool TChartCanvas3D::RepaintFromBuffer() {
  if (dirty_ || !frame_) return false;
  CopyFrameTo(*target_, 0, 0);
  return true;
}

void TChartCanvas3D::ClipToBox(const TRect& rect, int, int) {
  ClipToRectangle({rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
}

void TChartCanvas3D::DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) {
  const TPoint from = ProjectPoint(x0, y, z), to = ProjectPoint(x1, y, z);
  MovePen(from.X, from.Y);
  DrawLineTo(to.X, to.Y);
}

void TChartCanvas3D::DrawVerticalLineAtDepth(int x, int y0, int y1, int z) {
  const TPoint from = ProjectPoint(x, y0, z), to = ProjectPoint(x, y1, z);
  MovePen(from.X, from.Y);
  DrawLineTo(to.X, to.Y);
}

void TChartCanvas3D::DrawDepthLine(int x, int y, int z0, int z1) {
  const TPoint from = ProjectPoint(x, y, z0), to = ProjectPoint(x, y, z1);
  MovePen(from.X, from.Y);
  DrawLineTo(to.X, to.Y);
}

void TChartCanvas3D::DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
  const TPoint from = ProjectPoint(x1, y1, z), to = ProjectPoint(x2, y2, z);
  DrawEllipse(from.X, from.Y, to.X + 1, to.Y + 1);
}

void TChartCanvas3D::BeginFrontPlane() {
  front_plane_saved_three_dimensional_ = three_dimensional_;
  three_dimensional_ = false;
}

void TChartCanvas3D::EndFrontPlane() { three_dimensional_ = front_plane_saved_three_dimensional_; }

void TChartCanvas3D::DrawLineSegmentAtDepth(int x0, int y0, int x1, int y1, int z) {
  const TPoint from = ProjectPoint(x0, y0, z), to = ProjectPoint(x1, y1, z);
  MovePen(from.X, from.Y);
  DrawLineTo(to.X, to.Y);
}

void TChartCanvas3D::MovePenAtDepth(int x, int y, int z) {
  const TPoint point = ProjectPoint(x, y, z);
  MovePen(point.X, point.Y);
}

void TChartCanvas3D::DrawLineToAtDepth(int x, int y, int z) {
  const TPoint point = ProjectPoint(x, y, z);
  DrawLineTo(point.X, point.Y);
}

void TChartCanvas3D::DrawQuadAtDepth(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) {
  const TPoint corners[4] = {ProjectPoint(p0.X, p0.Y, z), ProjectPoint(p1.X, p1.Y, z), ProjectPoint(p2.X, p2.Y, z),
                             ProjectPoint(p3.X, p3.Y, z)};
  DrawPolygon(corners, 3);
}

void TChartCanvas3D::DrawPolygonAtDepth(std::span<const TPoint> points, int) {
  DrawPolygon(points, int(points.size()) - 1);
}

void TChartCanvas3D::WriteRotatedTextAtDepth(int x, int y, int angle, const rtl::Text& text, int z) {
  const TPoint point = ProjectPoint(x, y, z);
  WriteRotatedText(point.X, point.Y, text, angle);
}

void TChartCanvas3D::WriteTextAtDepth(int x, int y, const rtl::Text& text, int z) {
  const TPoint point = ProjectPoint(x, y, z);
  if (!zoom_text_ || zoom_factor_ == 1.0) {
    WriteText(point.X, point.Y, text);
    return;
  }
  // Text grows with the 3D zoom: a temporarily scaled font.
  const int size = Font().Size();
  Font().SetSize(std::max(1, int(std::lround(size * zoom_factor_))));
  WriteText(point.X, point.Y, text);
  Font().SetSize(size);
}
