// The Win32 chart window: a window of its own class that hosts one chart with its GDI
// device. WM_PAINT draws the chart's frame off-screen (or takes the last one when nothing
// changed) and shows it in one copy, WM_PRINTCLIENT on the device context it names; WM_SIZE resizes the chart; the mouse buttons (with the
// mouse captured from a press until the last button is up, so that a drag that leaves the
// window still ends in it), moves and the wheel reach the chart's zoom, undo and panning;
// WM_SETCURSOR shows the cursor shape the chart asks for; WM_SYSCOLORCHANGE (which Windows
// sends to top-level windows only: a parent forwards it) repaints in the new colours. The
// background is never erased: the frame covers the whole client area. Windows only; the
// thread that makes the window runs its messages.
#pragma once

#include <windows.h>

#include "chart/chart.h"
#include "chart/chart_window.h"
#include "chart/win32/gdi_device.h"

class TWin32ChartWindow : public TChartWindow {
 public:
  // The window at `bounds` (pixels; of `parent`'s client area, or of the screen for a
  // top-level window when `parent` is null) with the given window styles. Throws
  // rtl::Exception with the system's reason when it cannot be made.
  TWin32ChartWindow(HWND parent, const TRect& bounds, DWORD style = WS_CHILD | WS_VISIBLE);
  // Destroys the window unless its parent already did.
  ~TWin32ChartWindow() override;
  TWin32ChartWindow(const TWin32ChartWindow&) = delete;
  TWin32ChartWindow& operator=(const TWin32ChartWindow&) = delete;

  HWND Handle() const { return window_; }
  TChart& Chart() { return chart_; }
  const TChart& Chart() const { return chart_; }

  void Invalidate() override;
  void PaintNow() override;
  TSize ClientSize() const override;
  void SetCursorShape(std::int16_t cursor) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // The chart's answer to a message, or DefWindowProcW's.
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  // The chart's frame shown on `dc`: the paint's, or another one's for WM_PRINTCLIENT (a
  // picture of the window, as PrintWindow takes it).
  void PaintOn(HDC dc);
  void MouseButton(UINT message, WPARAM wparam, LPARAM lparam);

  TGdiChartDevice device_;
  TChart chart_;
  HWND window_ = nullptr;
  HCURSOR cursor_;
};
