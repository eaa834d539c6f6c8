// GDI drawing on the engine's bitmap: a bitmap whose pixels live in a DIB section with its
// own memory device context, and a drawing scope that gives GDI any bitmap (such a DIB
// bitmap itself, any other through a DIB copy) with a device context's clip. GDI leaves the
// unused top byte of the pixels it writes 0; the scope puts back the 0xFF the engine's
// pixels carry. Windows only; one thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "chart/bitmap.h"
#include "chart/device_canvas.h"
#include "chart/pens.h"

namespace gdi {

// A white bitmap of width x height whose pixels are a top-down 32-bit DIB section, selected
// into a memory device context that lives as long as the pixels. A plain bitmap when the
// system cannot make one (a side of 0, or too large).
TBitmap MakeDibBitmap(int width, int height);

// The memory device context behind a bitmap's pixels, or null when the bitmap has none.
HDC DeviceContextOf(const TBitmap& bitmap);

// COLORREF of an engine colour, and the engine colour of a COLORREF.
constexpr COLORREF ColorRefOf(TRgb rgb) { return RGB(RgbRed(rgb), RgbGreen(rgb), RgbBlue(rgb)); }
constexpr TRgb RgbOf(COLORREF color) { return MakeRgb(GetRValue(color), GetGValue(color), GetBValue(color)); }

// The binary raster operation (R2_*) of a framework pen mode.
int RasterOperationOf(TPenMode mode);

// Windows-1251 text as UTF-16.
std::wstring WideOf(const rtl::Text& text);

// GDI on `bitmap` for the life of the scope, within `dc`'s clip rectangle (none: the whole
// bitmap). Whatever GDI drew ends up in the bitmap with 0xFF in the top byte when the scope
// ends. Dc() is null when the system cannot give a device context; then nothing is drawn.
class TGdiScope {
 public:
  TGdiScope(TBitmap& bitmap, const TCanvas& dc);
  ~TGdiScope();
  TGdiScope(const TGdiScope&) = delete;
  TGdiScope& operator=(const TGdiScope&) = delete;

  HDC Dc() const { return dc_; }

 private:
  // Copies GDI's pixels of `area` (within the clip) into the bitmap, from the copy if there is
  // one, with the top byte set.
  void TakeBack(const RECT& area);

  TBitmap& bitmap_;
  TBitmap copy_;  // a DIB section holding the bitmap's pixels, when they are no DIB themselves
  RECT visible_{};
  HDC dc_ = nullptr;
};

}  // namespace gdi
