// DIB-section bitmaps and the scope that lets GDI draw on any engine bitmap.
#include "chart/win32/gdi_surface.h"

#include <algorithm>
#include <array>

namespace gdi {

namespace {

// What keeps a DIB section and its device context: deleted together with the bitmap.
class TDibStorage : public TBitmapStorage {
 public:
  TDibStorage(HDC dc, HBITMAP bitmap) : dc_(dc), bitmap_(bitmap), previous_(SelectObject(dc, bitmap)) {}
  ~TDibStorage() override {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top to bottom, as the engine's
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// The region GDI may draw in: the context's clip within the bitmap.
RECT VisibleArea(const TBitmap& bitmap, const TCanvas& dc) {
  const TRect area = dc.ClipRect() ? Intersection(*dc.ClipRect(), bitmap.Rect()) : bitmap.Rect();
  if (area.IsEmpty()) return {0, 0, 0, 0};
  return {area.Left, area.Top, area.Right, area.Bottom};
}

}  // namespace

TBitmap MakeDibBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return TBitmap(width, height);
  const BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP section = dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (section == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    return TBitmap(width, height);
  }
  TBitmap bitmap(static_cast<TRgb*>(bits), width, height, std::ptrdiff_t(width) * 4,
                 std::make_shared<TDibStorage>(dc, section));
  bitmap.Fill(kRgbWhite);
  return bitmap;
}

HDC DeviceContextOf(const TBitmap& bitmap) {
  const auto* storage = dynamic_cast<const TDibStorage*>(bitmap.Storage());
  return storage != nullptr ? storage->Dc() : nullptr;
}

int RasterOperationOf(TPenMode mode) {
  // In the order of the framework's pen modes.
  static constexpr std::array<int, 16> kOperations{{
      R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
      R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN,
  }};
  return kOperations[mode];
}

std::wstring WideOf(const rtl::Text& text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (const char c : text) wide += static_cast<wchar_t>(rtl::UnicodeFromWindows1251(static_cast<unsigned char>(c)));
  return wide;
}

TGdiScope::TGdiScope(TBitmap& bitmap, const TCanvas& dc) : bitmap_(bitmap) {
  const RECT visible = VisibleArea(bitmap, dc);
  visible_ = visible;
  if (IsRectEmpty(&visible)) return;
  dc_ = DeviceContextOf(bitmap);
  if (dc_ == nullptr) {
    copy_ = MakeDibBitmap(bitmap.Width(), bitmap.Height());
    dc_ = DeviceContextOf(copy_);
    if (dc_ == nullptr) return;
    for (int y = visible.top; y < visible.bottom; ++y)
      std::copy(bitmap.Row(y) + visible.left, bitmap.Row(y) + visible.right, copy_.Row(y) + visible.left);
  }
  HRGN region = CreateRectRgnIndirect(&visible);
  SelectClipRgn(dc_, region);
  DeleteObject(region);
  SetBoundsRect(dc_, nullptr, DCB_ENABLE | DCB_RESET);
}

TGdiScope::~TGdiScope() {
  if (dc_ == nullptr) return;
  GdiFlush();
  RECT touched{};
  if (GetBoundsRect(dc_, &touched, DCB_RESET) & DCB_SET) {
    RECT area{};
    if (IntersectRect(&area, &touched, &visible_)) TakeBack(area);
  }
  SetBoundsRect(dc_, nullptr, DCB_DISABLE);
  SelectClipRgn(dc_, nullptr);
}

void TGdiScope::TakeBack(const RECT& area) {
  const TBitmap& drawn = copy_.IsEmpty() ? bitmap_ : copy_;
  for (int y = area.top; y < area.bottom; ++y) {
    const TRgb* from = drawn.Row(y);
    TRgb* to = bitmap_.Row(y);
    for (int x = area.left; x < area.right; ++x) to[x] = from[x] | 0xFF000000u;
  }
}

}  // namespace gdi
