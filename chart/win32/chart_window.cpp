// The Win32 chart window: its messages forwarded to the chart.
#include "chart/win32/chart_window.h"

#include <windowsx.h>

#include <array>
#include <string>
#include <utility>

#include "chart/cursors.h"
#include "rtl/errors.h"

namespace {

constexpr wchar_t kClassName[] = L"SharemonChart";

ATOM RegisterChartClass(WNDPROC procedure) {
  static const ATOM atom = [procedure] {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    // Double clicks arrive as presses with the double-click flag; no class cursor, so that
    // WM_SETCURSOR decides.
    description.style = CS_DBLCLKS;
    description.lpfnWndProc = procedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = kClassName;
    return RegisterClassExW(&description);
  }();
  return atom;
}

TShiftState ShiftOf(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  return shift;
}

// The shape the framework's cursor number stands for; the arrow for unknown numbers.
HCURSOR CursorOf(std::int16_t cursor) {
  static const std::array<std::pair<std::int16_t, LPCSTR>, 11> kShapes{{
      {crArrow, IDC_ARROW},
      {crCross, IDC_CROSS},
      {crIBeam, IDC_IBEAM},
      {crSizeNS, IDC_SIZENS},
      {crSizeWE, IDC_SIZEWE},
      {crUpArrow, IDC_UPARROW},
      {crHourGlass, IDC_WAIT},
      {crNo, IDC_NO},
      {crHandPoint, IDC_HAND},
      {crSizeAll, IDC_SIZEALL},
      {crDefault, IDC_ARROW},
  }};
  if (cursor == crNone) return nullptr;
  for (const auto& [number, shape] : kShapes)
    if (number == cursor) return LoadCursorA(nullptr, shape);
  return LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace

TWin32ChartWindow::TWin32ChartWindow(HWND parent, const TRect& bounds, DWORD style)
    : chart_(device_), cursor_(CursorOf(crDefault)) {
  RegisterChartClass(&Procedure);
  window_ = CreateWindowExW(0, kClassName, L"", style, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                            parent, nullptr, GetModuleHandleW(nullptr), this);
  if (window_ == nullptr)
    throw rtl::Exception("The chart window cannot be made: error " + std::to_string(GetLastError()));
  chart_.AttachWindow(this);
}

TWin32ChartWindow::~TWin32ChartWindow() {
  chart_.AttachWindow(nullptr);
  if (window_ != nullptr) DestroyWindow(window_);
}

void TWin32ChartWindow::Invalidate() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void TWin32ChartWindow::PaintNow() {
  if (window_ != nullptr) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TSize TWin32ChartWindow::ClientSize() const {
  RECT client{};
  if (window_ != nullptr) GetClientRect(window_, &client);
  return {int(client.right - client.left), int(client.bottom - client.top)};
}

void TWin32ChartWindow::SetCursorShape(std::int16_t cursor) {
  cursor_ = CursorOf(cursor);
  // The pointer is over the window while the chart decides its shape.
  POINT pointer{};
  if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == window_) SetCursor(cursor_);
}

LRESULT CALLBACK TWin32ChartWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TWin32ChartWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWin32ChartWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The parent destroyed the window first: the chart draws off-screen from now on.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->chart_.AttachWindow(nullptr);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT TWin32ChartWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      PaintOn(BeginPaint(window_, &paint));
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintOn(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      chart_.Resize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_SYSCOLORCHANGE:
      chart_.SystemColorsChanged();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lparam) != HTCLIENT) break;
      SetCursor(cursor_);
      return TRUE;
    case WM_MOUSEMOVE:
      chart_.MouseMove(ShiftOf(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};  // of the screen
      ScreenToClient(window_, &at);
      chart_.WheelRotated(GET_WHEEL_DELTA_WPARAM(wparam), ShiftOf(GET_KEYSTATE_WPARAM(wparam)), at.x, at.y);
      return 0;
    }
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      MouseButton(message, wparam, lparam);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void TWin32ChartWindow::PaintOn(HDC dc) {
  device_.SetPaintTarget(dc);
  chart_.Paint();
  device_.SetPaintTarget(nullptr);
}

void TWin32ChartWindow::MouseButton(UINT message, WPARAM wparam, LPARAM lparam) {
  const int x = GET_X_LPARAM(lparam), y = GET_Y_LPARAM(lparam);
  const TShiftState shift = ShiftOf(wparam);
  TMouseButton button = mbLeft;
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK || message == WM_RBUTTONUP) button = mbRight;
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK || message == WM_MBUTTONUP) button = mbMiddle;
  if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
    chart_.MouseUp(button, shift, x, y);
    if ((wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == window_) ReleaseCapture();
    return;
  }
  // The wheel goes to the window with the focus: the one last clicked.
  SetFocus(window_);
  SetCapture(window_);
  const bool double_click = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
  chart_.MouseDown(button, double_click ? shift | ssDouble : shift, x, y);
}
