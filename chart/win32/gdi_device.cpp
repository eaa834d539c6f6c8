// The GDI device: fonts, text, brushes, shapes, system colours and frames.
#include "chart/win32/gdi_device.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/device_canvas.h"
#include "chart/win32/gdi_surface.h"

namespace {

// A pen, a brush and the modes a shape is drawn with, selected into a device context for the
// life of the scope and deleted afterwards.
class TShapeTools {
 public:
  TShapeTools(HDC dc, const TCanvas& canvas);
  ~TShapeTools();
  TShapeTools(const TShapeTools&) = delete;
  TShapeTools& operator=(const TShapeTools&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ previous_pen_;
  HGDIOBJ previous_brush_;
};

int PenStyleOf(TPenStyle style) {
  switch (style) {
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    default: return PS_SOLID;
  }
}

int HatchOf(TBrushStyle style) {
  switch (style) {
    case bsHorizontal: return HS_HORIZONTAL;
    case bsVertical: return HS_VERTICAL;
    case bsFDiagonal: return HS_FDIAGONAL;
    case bsBDiagonal: return HS_BDIAGONAL;
    case bsCross: return HS_CROSS;
    default: return HS_DIAGCROSS;
  }
}

HPEN PenOf(const TCanvas& canvas) {
  const TPen& pen = canvas.Pen();
  if (pen.HasAlternateCosmeticHandle()) {
    const LOGBRUSH solid{BS_SOLID, gdi::ColorRefOf(canvas.PenRGB()), 0};
    return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &solid, 0, nullptr);
  }
  return CreatePen(PenStyleOf(pen.Style()), pen.Width(), gdi::ColorRefOf(canvas.PenRGB()));
}

// A pattern brush of the image, tiled from the device's origin.
HBRUSH PatternBrushOf(const TBitmap& image) {
  const TBitmap packed(image);  // rows of exactly 4 * width bytes, as a bitmap's bits are given
  HBITMAP bitmap = CreateBitmap(packed.Width(), packed.Height(), 1, 32, packed.Row(0));
  if (bitmap == nullptr) return nullptr;
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);
  return brush;
}

// The context's brush as GDI draws it: none for bsClear, a pattern for a bitmap, a hatch, or solid.
HBRUSH BrushOf(const TCanvas& canvas) {
  const TBrush& brush = canvas.Brush();
  if (brush.Style() == bsClear) return nullptr;
  if (brush.Bitmap() && !brush.Bitmap()->IsEmpty()) return PatternBrushOf(*brush.Bitmap());
  const COLORREF color = gdi::ColorRefOf(canvas.BrushRGB());
  return brush.Style() == bsSolid ? CreateSolidBrush(color) : CreateHatchBrush(HatchOf(brush.Style()), color);
}

// Background mode and colour (the gaps of hatches and styled pens) of the context.
void SetBackground(HDC dc, const TCanvas& canvas) {
  SetBkMode(dc, canvas.BackgroundMode());
  SetBkColor(dc, gdi::ColorRefOf(canvas.BackgroundColor()));
}

TShapeTools::TShapeTools(HDC dc, const TCanvas& canvas)
    : dc_(dc),
      pen_(canvas.Pen().Style() == psClear && !canvas.Pen().HasAlternateCosmeticHandle() ? nullptr : PenOf(canvas)),
      brush_(BrushOf(canvas)),
      previous_pen_(SelectObject(dc, pen_ != nullptr ? static_cast<HGDIOBJ>(pen_) : GetStockObject(NULL_PEN))),
      previous_brush_(SelectObject(dc, brush_ != nullptr ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH))) {
  SetROP2(dc, gdi::RasterOperationOf(canvas.Pen().Mode()));
  SetBackground(dc, canvas);
  SetBrushOrgEx(dc, 0, 0, nullptr);
}

TShapeTools::~TShapeTools() {
  SelectObject(dc_, previous_pen_);
  SelectObject(dc_, previous_brush_);
  SetROP2(dc_, R2_COPYPEN);
  if (pen_ != nullptr) DeleteObject(pen_);
  if (brush_ != nullptr) DeleteObject(brush_);
}

POINT PointOf(TPoint point) { return {point.X, point.Y}; }

// The cell of a text turned by `escapement`, filled with the background colour: Wine's GDI
// fills only an upright text's cell in OPAQUE mode, Windows the turned one too, so the device
// fills it itself. The cell's corners in the text's own frame follow the alignment and are
// turned counter-clockwise about the anchor (x, y).
void FillTurnedCell(HDC dc, const TCanvas& canvas, int x, int y, const TTextExtent& extent) {
  const unsigned align = canvas.TextAlign();
  const int w = extent.Width, h = extent.Height;
  const int fx = (align & TA_CENTER) == TA_CENTER ? -(w / 2) : (align & TA_RIGHT) ? -w : 0;
  const int fy = (align & TA_BASELINE) == TA_BASELINE ? -extent.Ascent : (align & TA_BOTTOM) ? -h : 0;
  const double radians = canvas.FontEscapement() / 10.0 * 3.14159265358979323846 / 180.0;
  const double cosine = std::cos(radians), sine = std::sin(radians);
  auto turned = [&](int u, int v) {
    return POINT{x + LONG(std::lround(u * cosine + v * sine)), y + LONG(std::lround(-u * sine + v * cosine))};
  };
  const POINT corners[] = {turned(fx, fy), turned(fx + w, fy), turned(fx + w, fy + h), turned(fx, fy + h)};
  HBRUSH brush = CreateSolidBrush(gdi::ColorRefOf(canvas.BackgroundColor()));
  HGDIOBJ previous_brush = SelectObject(dc, brush);
  HGDIOBJ previous_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  ::Polygon(dc, corners, 4);
  SelectObject(dc, previous_pen);
  SelectObject(dc, previous_brush);
  DeleteObject(brush);
}

}  // namespace

TGdiChartDevice::TGdiChartDevice() : measuring_dc_(CreateCompatibleDC(nullptr)) {
  SetFrameworkFont(FrameworkFontOfSystem());
}

TGdiChartDevice::~TGdiChartDevice() {
  if (measuring_dc_ != nullptr) DeleteDC(measuring_dc_);
  for (const FontEntry& entry : fonts_) DeleteObject(entry.font);
}

HFONT TGdiChartDevice::FontFor(const TFont& font, int escapement) {
  for (const FontEntry& entry : fonts_)
    if (entry.name == font.Name() && entry.height == font.Height() && entry.style == font.Style() &&
        entry.char_set == font.CharSet() && entry.escapement == escapement)
      return entry.font;
  LOGFONTW description{};
  description.lfHeight = font.Height();
  description.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (font.Style() & fsItalic) ? TRUE : FALSE;
  description.lfUnderline = (font.Style() & fsUnderline) ? TRUE : FALSE;
  description.lfStrikeOut = (font.Style() & fsStrikeOut) ? TRUE : FALSE;
  description.lfCharSet = static_cast<BYTE>(font.CharSet());
  description.lfEscapement = description.lfOrientation = escapement;
  // Only outline fonts turn, so a turned text asks for one.
  description.lfOutPrecision = escapement != 0 ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS;
  description.lfQuality = NONANTIALIASED_QUALITY;
  const std::wstring face = gdi::WideOf(font.Name()).substr(0, LF_FACESIZE - 1);
  std::copy(face.begin(), face.end(), description.lfFaceName);
  HFONT made = CreateFontIndirectW(&description);
  fonts_.push_back({font.Name(), font.Height(), font.Style(), font.CharSet(), escapement, made});
  return made;
}

TTextExtent TGdiChartDevice::MeasureText(const TFont& font, const rtl::Text& text) {
  HFONT handle = FontFor(font, 0);
  std::string key(reinterpret_cast<const char*>(&handle), sizeof handle);
  key += text;
  if (const auto known = measured_.find(key); known != measured_.end()) return known->second;
  HGDIOBJ previous = SelectObject(measuring_dc_, handle);
  TEXTMETRICW metrics{};
  SIZE size{};
  const std::wstring wide = gdi::WideOf(text);
  const bool measured = GetTextMetricsW(measuring_dc_, &metrics) &&
                        GetTextExtentPoint32W(measuring_dc_, wide.c_str(), int(wide.size()), &size);
  SelectObject(measuring_dc_, previous);
  if (!measured) return {};
  if (measured_.size() >= kMeasuredTextLimit) measured_.clear();
  return measured_[std::move(key)] = {int(size.cx), int(metrics.tmAscent), int(metrics.tmHeight)};
}

void TGdiChartDevice::OutputText(TBitmap& bitmap, const TCanvas& dc, int x, int y, const rtl::Text& text) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const bool turned_cell = dc.BackgroundMode() == OPAQUE && dc.FontEscapement() % 3600 != 0;
  if (turned_cell) FillTurnedCell(scope.Dc(), dc, x, y, MeasureText(dc.Font(), text));
  HGDIOBJ previous = SelectObject(scope.Dc(), FontFor(dc.Font(), dc.FontEscapement()));
  SetTextAlign(scope.Dc(), dc.TextAlign());
  SetTextColor(scope.Dc(), gdi::ColorRefOf(dc.TextColor()));
  SetBackground(scope.Dc(), dc);
  if (turned_cell) SetBkMode(scope.Dc(), TRANSPARENT);
  const std::wstring wide = gdi::WideOf(text);
  TextOutW(scope.Dc(), x, y, wide.c_str(), int(wide.size()));
  SelectObject(scope.Dc(), previous);
}

void TGdiChartDevice::FillPattern(TBitmap& bitmap, const TCanvas& dc, const TRect& area) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  HBRUSH brush = BrushOf(dc);
  if (brush == nullptr) return;
  SetBackground(scope.Dc(), dc);
  SetBrushOrgEx(scope.Dc(), 0, 0, nullptr);
  const RECT rect{area.Left, area.Top, area.Right, area.Bottom};
  FillRect(scope.Dc(), &rect, brush);
  DeleteObject(brush);
}

void TGdiChartDevice::Ellipse(TBitmap& bitmap, const TCanvas& dc, const TRect& box) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const TShapeTools tools(scope.Dc(), dc);
  ::Ellipse(scope.Dc(), box.Left, box.Top, box.Right, box.Bottom);
}

void TGdiChartDevice::Arc(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const TShapeTools tools(scope.Dc(), dc);
  ::Arc(scope.Dc(), box.Left, box.Top, box.Right, box.Bottom, start.X, start.Y, end.X, end.Y);
}

void TGdiChartDevice::Pie(TBitmap& bitmap, const TCanvas& dc, const TRect& box, TPoint start, TPoint end) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const TShapeTools tools(scope.Dc(), dc);
  ::Pie(scope.Dc(), box.Left, box.Top, box.Right, box.Bottom, start.X, start.Y, end.X, end.Y);
}

void TGdiChartDevice::RoundRect(TBitmap& bitmap, const TCanvas& dc, const TRect& box, int corner_width,
                                int corner_height) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const TShapeTools tools(scope.Dc(), dc);
  ::RoundRect(scope.Dc(), box.Left, box.Top, box.Right, box.Bottom, corner_width, corner_height);
}

void TGdiChartDevice::Polygon(TBitmap& bitmap, const TCanvas& dc, std::span<const TPoint> points) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  const TShapeTools tools(scope.Dc(), dc);
  std::vector<POINT> corners;
  for (const TPoint& point : points) corners.push_back(PointOf(point));
  ::Polygon(scope.Dc(), corners.data(), int(corners.size()));
}

void TGdiChartDevice::GradientFill(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, TRgb start, TRgb end,
                                   bool vertical) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr) return;
  // Colour channels of a vertex are 16 bits: the byte in the high half.
  auto vertex = [](int x, int y, TRgb rgb) {
    return TRIVERTEX{x, y, COLOR16(RgbRed(rgb) << 8), COLOR16(RgbGreen(rgb) << 8), COLOR16(RgbBlue(rgb) << 8), 0};
  };
  TRIVERTEX corners[2] = {vertex(rect.Left, rect.Top, start), vertex(rect.Right, rect.Bottom, end)};
  GRADIENT_RECT span{0, 1};
  ::GradientFill(scope.Dc(), corners, 2, &span, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

void TGdiChartDevice::StretchDraw(TBitmap& bitmap, const TCanvas& dc, const TRect& rect, const TBitmap& image) {
  const gdi::TGdiScope scope(bitmap, dc);
  if (scope.Dc() == nullptr || image.IsEmpty()) return;
  const TBitmap packed(image);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), packed.Width(), -packed.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetStretchBltMode(scope.Dc(), COLORONCOLOR);
  StretchDIBits(scope.Dc(), rect.Left, rect.Top, rect.Width(), rect.Height(), 0, 0, packed.Width(), packed.Height(),
                packed.Row(0), &info, DIB_RGB_COLORS, SRCCOPY);
}

TRgb TGdiChartDevice::SystemColor(int index) const {
  if (index < 0 || index > COLOR_MENUBAR) return kRgbBlack;
  return gdi::RgbOf(GetSysColor(index));
}

TBitmap TGdiChartDevice::CreateFrame(int width, int height) { return gdi::MakeDibBitmap(width, height); }

void TGdiChartDevice::Present(const TBitmap& frame, int x, int y) {
  if (paint_target_ == nullptr || frame.IsEmpty()) return;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), frame.Width(), -frame.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(paint_target_, x, y, DWORD(frame.Width()), DWORD(frame.Height()), 0, 0, 0, UINT(frame.Height()),
                    frame.Row(0), &info, DIB_RGB_COLORS);
}

TFrameworkFont FrameworkFontOfSystem() {
  TFrameworkFont framework;
  framework.japanese_interface = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
  LOGFONTW font{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != 0) {
    rtl::Text name;
    for (const wchar_t* c = font.lfFaceName; *c != 0; ++c) name += rtl::Windows1251FromUnicode(*c);
    framework.name = name;
    framework.height = font.lfHeight;
  }
  HDC screen = GetDC(nullptr);
  if (screen != nullptr) {
    framework.pixels_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return framework;
}
