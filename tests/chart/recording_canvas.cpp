// Test doubles of the chart canvas.
#include "recording_canvas.h"

#include <string>


namespace {

std::string Arg(int value) { return std::to_string(value); }
std::string Arg(unsigned value) { return std::to_string(value); }
std::string Arg(bool value) { return value ? "true" : "false"; }
std::string Arg(const rtl::Text& text) { return Quoted(text); }
std::string Arg(const TRect& rect) {
  return Arg(rect.Left) + "," + Arg(rect.Top) + "," + Arg(rect.Right) + "," + Arg(rect.Bottom);
}
// Points are appended to a string that starts with the bracket, not put after a literal:
// GCC 12 at -O3 reports a false -Wrestrict (overlapping copy) inside the library's
// literal-plus-string operator once these are inlined.
std::string Arg(TPoint point) { return std::string("(").append(Arg(point.X)).append(",").append(Arg(point.Y)) + ")"; }
std::string Arg(std::span<const TPoint> points) {
  std::string text = "[";
  for (std::size_t i = 0; i < points.size(); ++i) text.append(i ? "," : "").append(Arg(points[i]));
  return text + "]";
}
std::string Arg(const TBitmap* graphic) { return graphic ? "image" : "none"; }

// "Name(a,b,c)".
template <class... Args>
std::string Call(const char* name, const Args&... args) {
  std::string text = std::string(name) + "(";
  bool first = true;
  ((text += (first ? "" : ","), text += Arg(args), first = false), ...);
  return text + ")";
}

}  // namespace

std::string Quoted(const rtl::Text& text) { return "\"" + text + "\""; }

TRecordingCanvas::TRecordingCanvas() { AttachDevice(device_); }

std::vector<std::string> TRecordingCanvas::Calls() const {
  std::vector<std::string> calls;
  for (const TRecordedCall& record : records_) calls.push_back(record.call);
  return calls;
}

std::vector<std::string> TRecordingCanvas::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> calls;
  for (const TRecordedCall& record : records_)
    if (record.call.starts_with(prefix)) calls.push_back(record.call);
  return calls;
}

void TRecordingCanvas::Log(const std::string& call) {
  records_.push_back({call, Pen().DrawingColor(), Pen().Style(), Pen().Width(), Pen().HasAlternateCosmeticHandle(),
                      Brush().Color(), Brush().Style(), Font().Color(), Font().Size()});
}

int TRecordingCanvas::TextWidth(const rtl::Text& text) { return TChartCanvas::MeasureTextWidth(text); }
int TRecordingCanvas::TextHeight(const rtl::Text& text) { return TChartCanvas::MeasureTextHeight(text); }

int TMeasuringCanvas::TextWidth(const rtl::Text& text) {
  int width = 0;
  for (char c : text) {
    const auto found = char_widths_.find(c);
    width += found == char_widths_.end() ? char_width_ : found->second;
  }
  return width;
}

TColor TRecordingCanvas::BackgroundColor() {
  Log(Call("BackgroundColor"));
  return ColorOfRgb(device_.BackgroundColor());
}
int TRecordingCanvas::BackgroundMode() {
  Log(Call("BackgroundMode"));
  return device_.BackgroundMode();
}
TCanvas& TRecordingCanvas::DeviceHandle() {
  Log(Call("DeviceHandle"));
  return device_;
}
bool TRecordingCanvas::IsMonochrome() {
  Log(Call("IsMonochrome"));
  return monochrome_;
}
unsigned TRecordingCanvas::TextAlignment() {
  Log(Call("TextAlignment"));
  return device_.TextAlign();
}
bool TRecordingCanvas::IsBuffered() {
  Log(Call("IsBuffered"));
  return buffered_;
}
void TRecordingCanvas::SetBackgroundColor(TColor color) {
  Log(Call("SetBackgroundColor", color));
  device_.SetBackgroundColor(ColorToRGB(color, device_.Device(), clWhite));
}
void TRecordingCanvas::SetBackgroundMode(int mode) {
  Log(Call("SetBackgroundMode", mode));
  device_.SetBackgroundMode(mode);
}
void TRecordingCanvas::ChangeMonochrome(bool monochrome) {
  Log(Call("ChangeMonochrome", monochrome));
  monochrome_ = monochrome;
}
void TRecordingCanvas::PlotPixel(int x, int y, TColor color) { Log(Call("PlotPixel", x, y, color)); }
void TRecordingCanvas::SetTextAlignment(unsigned flags) {
  Log(Call("SetTextAlignment", flags));
  device_.SetTextAlign(flags);
}
void TRecordingCanvas::ChangeBuffered(bool buffered) {
  Log(Call("ChangeBuffered", buffered));
  buffered_ = buffered;
}
void TRecordingCanvas::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Log(Call("DrawArc", x1, y1, x2, y2, x3, y3, x4, y4));
}
void TRecordingCanvas::DrawGraphicAt(int x, int y, const TBitmap* graphic) { Log(Call("DrawGraphicAt", x, y, graphic)); }
void TRecordingCanvas::DrawEllipse(int x1, int y1, int x2, int y2) { Log(Call("DrawEllipse", x1, y1, x2, y2)); }
void TRecordingCanvas::FillRectangle(const TRect& rect) { Log(Call("FillRectangle", rect)); }
void TRecordingCanvas::DrawBevelFrame(const TRect& rect, TColor top_left, TColor bottom_right) {
  Log(Call("DrawBevelFrame", rect, top_left, bottom_right));
}
void TRecordingCanvas::DrawLineTo(int x, int y) { Log(Call("DrawLineTo", x, y)); }
void TRecordingCanvas::MovePen(int x, int y) { Log(Call("MovePen", x, y)); }
void TRecordingCanvas::DrawPieSlice(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Log(Call("DrawPieSlice", x1, y1, x2, y2, x3, y3, x4, y4));
}
void TRecordingCanvas::DrawBox(int x0, int y0, int x1, int y1) { Log(Call("DrawBox", x0, y0, x1, y1)); }
void TRecordingCanvas::DrawRoundedBox(int x0, int y0, int x1, int y1, int corner_width, int corner_height) {
  Log(Call("DrawRoundedBox", x0, y0, x1, y1, corner_width, corner_height));
}
void TRecordingCanvas::DrawGraphicStretched(const TRect& rect, const TBitmap* graphic) {
  Log(Call("DrawGraphicStretched", rect, graphic));
}
void TRecordingCanvas::WriteText(int x, int y, const rtl::Text& text) { Log(Call("WriteText", x, y, text)); }
int TRecordingCanvas::MeasureTextWidth(const rtl::Text& text) {
  Log(Call("MeasureTextWidth", text));
  return TextWidth(text);
}
int TRecordingCanvas::MeasureTextHeight(const rtl::Text& text) {
  Log(Call("MeasureTextHeight", text));
  return TextHeight(text);
}
void TRecordingCanvas::ClipToRectangle(const TRect& rect) { Log(Call("ClipToRectangle", rect)); }
void TRecordingCanvas::DrawHorizontalLine(int x0, int x1, int y) { Log(Call("DrawHorizontalLine", x0, x1, y)); }
void TRecordingCanvas::DrawRectangle(const TRect& rect) { Log(Call("DrawRectangle", rect)); }
void TRecordingCanvas::DrawVerticalLine(int x, int y0, int y1) { Log(Call("DrawVerticalLine", x, y0, y1)); }
void TRecordingCanvas::PaintBackground(const TRect& rect) { Log(Call("PaintBackground", rect)); }
void TRecordingCanvas::FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction) {
  Log(Call("FillGradient", rect, start, end, int(direction)));
}
void TRecordingCanvas::MarkDirty() { Log(Call("MarkDirty")); }
void TRecordingCanvas::DrawLineSegment(int x0, int y0, int x1, int y1) { Log(Call("DrawLineSegment", x0, y0, x1, y1)); }
void TRecordingCanvas::DrawPolygon(std::span<const TPoint> points, int last_index) {
  Log(Call("DrawPolygon", points, last_index));
}
void TRecordingCanvas::WriteRotatedText(int x, int y, const rtl::Text& text, int angle) {
  Log(Call("WriteRotatedText", x, y, text, angle));
}
void TRecordingCanvas::RemoveClipping() { Log(Call("RemoveClipping")); }
void TRecordingCanvas::PlotPixelAtDepth(int x, int y, int z, TColor color) {
  Log(Call("PlotPixelAtDepth", x, y, z, color));
}
bool TRecordingCanvas::IsFreeRotating() {
  Log(Call("IsFreeRotating"));
  return false;
}
bool TRecordingCanvas::IsDepthAware() {
  Log(Call("IsDepthAware"));
  return false;
}
TPoint TRecordingCanvas::UnprojectPixel(int x, int y, int z) {
  Log(Call("UnprojectPixel", x, y, z));
  return {x, y};
}
TPoint TRecordingCanvas::ProjectPoint(int x, int y, int z) {
  Log(Call("ProjectPoint", x, y, z));
  return {x, y};
}
TRect TRecordingCanvas::BeginFrame(TCanvas&, TView3DOptions*, const TRect& window, bool three_dimensional) {
  Log(Call("BeginFrame", window, three_dimensional));
  return {0, 0, window.Width(), window.Height()};
}
void TRecordingCanvas::CopyFrom(TChartCanvas&) { Log(Call("CopyFrom")); }
void TRecordingCanvas::SetProjection(int depth, const TRect& chart_bounds, const TRect& plot) {
  Log(Call("SetProjection", depth, chart_bounds, plot));
}
void TRecordingCanvas::EndFrame(TCanvas&, TCanvas&, const TRect& window) { Log(Call("EndFrame", window)); }
bool TRecordingCanvas::RepaintFromBuffer() {
  Log(Call("RepaintFromBuffer"));
  return repaint_from_buffer_result;
}
void TRecordingCanvas::ClipToBox(const TRect& rect, int z0, int z1) { Log(Call("ClipToBox", rect, z0, z1)); }
void TRecordingCanvas::DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) {
  Log(Call("DrawHorizontalLineAtDepth", x0, x1, y, z));
}
void TRecordingCanvas::DrawVerticalLineAtDepth(int x, int y0, int y1, int z) {
  Log(Call("DrawVerticalLineAtDepth", x, y0, y1, z));
}
void TRecordingCanvas::DrawDepthLine(int x, int y, int z0, int z1) { Log(Call("DrawDepthLine", x, y, z0, z1)); }
void TRecordingCanvas::DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
  Log(Call("DrawEllipseAtDepth", x1, y1, x2, y2, z));
}
void TRecordingCanvas::BeginFrontPlane() { Log(Call("BeginFrontPlane")); }
void TRecordingCanvas::EndFrontPlane() { Log(Call("EndFrontPlane")); }
void TRecordingCanvas::DrawLineSegmentAtDepth(int x0, int y0, int x1, int y1, int z) {
  Log(Call("DrawLineSegmentAtDepth", x0, y0, x1, y1, z));
}
void TRecordingCanvas::MovePenAtDepth(int x, int y, int z) { Log(Call("MovePenAtDepth", x, y, z)); }
void TRecordingCanvas::DrawLineToAtDepth(int x, int y, int z) { Log(Call("DrawLineToAtDepth", x, y, z)); }
void TRecordingCanvas::DrawQuadAtDepth(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) {
  Log(Call("DrawQuadAtDepth", p0, p1, p2, p3, z));
}
void TRecordingCanvas::DrawPolygonAtDepth(std::span<const TPoint> points, int z) {
  Log(Call("DrawPolygonAtDepth", points, z));
}
void TRecordingCanvas::WriteRotatedTextAtDepth(int x, int y, int angle, const rtl::Text& text, int z) {
  Log(Call("WriteRotatedTextAtDepth", x, y, angle, text, z));
}
void TRecordingCanvas::WriteTextAtDepth(int x, int y, const rtl::Text& text, int z) {
  Log(Call("WriteTextAtDepth", x, y, text, z));
}
