// The Win32 chart window driven by messages in-process, as the system delivers them: the
// paint that draws a frame and shows it (and an expose that only shows it again), a resize,
// a left drag that zooms, a drag back that undoes, a right drag that pans, the wheel, the
// cursor the chart asks for and a change of the system colours. Needs a display; the windows
// stay hidden (a shown one takes seconds to go on a display without a window manager) except
// where the picture on the screen is checked.
#include <windows.h>

#include <gtest/gtest.h>

#include "chart/cursors.h"
#include "chart/fast_line_series.h"
#include "chart/history_chart.h"
#include "chart/win32/chart_window.h"
#include "rtl/date_time.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class ChartWindowTest : public ::testing::Test {
 protected:
  ChartWindowTest() {
    // Three polls of one day with counts 3, 60 and 7: the left axis ends at 65.
    const double day = rtl::EncodeDate(2026, 12, 8);
    THistoryLine line;
    line.replaces_curve = true;
    line.x = {day + rtl::EncodeTime(10, 0, 0, 0), day + rtl::EncodeTime(12, 0, 0, 0), day + rtl::EncodeTime(14, 0, 0, 0)};
    line.y = {3, 60, 7};
    line.labels = {"08.12.2026", " 12:00:00", " 14:00:00"};
    line.axis_maximum = 65;
    ShowHistoryLine(chart_, series_, "docs", std::move(line), [](const rtl::Text&) {});
    Paint();
  }

  // Handles what is waiting in the thread's queue.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  void Post(UINT message, WPARAM wparam, LPARAM lparam) { PostMessageW(window_.Handle(), message, wparam, lparam); }
  // A hidden window gets no WM_PAINT from the system; it is sent as the system would.
  void Paint() { SendMessageW(window_.Handle(), WM_PAINT, 0, 0); }
  // Press at `from`, move to `to`, release there; the button's messages and key flag.
  void Drag(UINT down, UINT up, WPARAM held, POINT from, POINT to) {
    Post(down, held, At(from.x, from.y));
    Post(WM_MOUSEMOVE, held, At(to.x, to.y));
    Post(up, 0, At(to.x, to.y));
    Pump();
    Paint();
  }
  TChartAxis& Left() { return chart_.LeftAxisRef(); }
  TChartAxis& Bottom() { return chart_.BottomAxisRef(); }

  TWin32ChartWindow window_{nullptr, {0, 0, 817, 250}, WS_POPUP};
  TChart& chart_ = window_.Chart();
  TFastLineSeries& series_ = ConfigureHistoryChart(chart_);
};

TEST_F(ChartWindowTest, paint_draws_a_frame_shows_it_and_an_expose_shows_it_again) {
  ShowWindow(window_.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(window_.Handle());
  const int frames = chart_.PipelineRuns();
  InvalidateRect(window_.Handle(), nullptr, FALSE);  // an expose, no change
  Pump();
  EXPECT_EQ(chart_.PipelineRuns(), frames);
  const TBitmap* frame = chart_.Canvas() != nullptr ? static_cast<TChartCanvas3D*>(chart_.Canvas())->FrameBitmap() : nullptr;
  ASSERT_NE(frame, nullptr);
  HDC screen = GetDC(window_.Handle());
  int differing = 0;
  for (int y = 0; y < 250; y += 7)
    for (int x = 0; x < 817; x += 5) differing += GetPixel(screen, x, y) != RGB(RgbRed(frame->Pixel(x, y)), RgbGreen(frame->Pixel(x, y)), RgbBlue(frame->Pixel(x, y)));
  ReleaseDC(window_.Handle(), screen);
  EXPECT_EQ(differing, 0);
  Left().SetMaximum(70);  // a change: the next paint draws a new frame
  UpdateWindow(window_.Handle());
  EXPECT_EQ(chart_.PipelineRuns(), frames + 1);
}

TEST_F(ChartWindowTest, resize_gives_the_chart_the_client_size_and_a_new_frame) {
  SetWindowPos(window_.Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(chart_.Size(), (TSize{400, 300}));
  Paint();
  const TBitmap* frame = static_cast<TChartCanvas3D*>(chart_.Canvas())->FrameBitmap();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Rect(), (TRect{0, 0, 400, 300}));
}

TEST_F(ChartWindowTest, left_drag_zooms_with_the_mouse_captured_and_a_drag_back_undoes) {
  const double first = Bottom().Minimum(), last = Bottom().Maximum();
  ASSERT_DOUBLE_EQ(65, Left().Maximum());
  Post(WM_LBUTTONDOWN, MK_LBUTTON, At(200, 60));
  Pump();
  EXPECT_EQ(GetCapture(), window_.Handle());
  Post(WM_MOUSEMOVE, MK_LBUTTON, At(400, 150));
  Post(WM_LBUTTONUP, 0, At(400, 150));
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_GT(Left().Minimum(), 0);
  EXPECT_LT(Left().Maximum(), 65);
  EXPECT_GT(Bottom().Minimum(), first);
  EXPECT_LT(Bottom().Maximum(), last);
  Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {400, 150}, {200, 60});
  EXPECT_DOUBLE_EQ(0, Left().Minimum());
  EXPECT_DOUBLE_EQ(65, Left().Maximum());
  EXPECT_TRUE(Bottom().Automatic());
  EXPECT_DOUBLE_EQ(first, Bottom().Minimum());
  EXPECT_DOUBLE_EQ(last, Bottom().Maximum());
}

TEST_F(ChartWindowTest, right_drag_pans_the_time_axis) {
  const double first = Bottom().Minimum();
  Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, {300, 100}, {340, 100});
  EXPECT_LT(Bottom().Minimum(), first);  // earlier times come into view
  EXPECT_DOUBLE_EQ(65, Left().Maximum());
  EXPECT_EQ(GetCapture(), nullptr);
}

// The wheel message gives the pointer in screen coordinates.
TEST_F(ChartWindowTest, wheel_down_moves_the_counts_up) {
  POINT at{300, 100};
  ClientToScreen(window_.Handle(), &at);
  Post(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), At(at.x, at.y));
  Pump();
  EXPECT_DOUBLE_EQ(1.95, Left().Minimum());
  EXPECT_DOUBLE_EQ(66.95, Left().Maximum());
}

TEST_F(ChartWindowTest, the_cursor_is_the_one_the_chart_asks_for) {
  chart_.SetCursor(crHandPoint);
  SendMessageW(window_.Handle(), WM_SETCURSOR, WPARAM(window_.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  chart_.SetCursor(crDefault);
  SendMessageW(window_.Handle(), WM_SETCURSOR, WPARAM(window_.Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(ChartWindowTest, a_change_of_the_system_colours_draws_a_new_frame) {
  const int frames = chart_.PipelineRuns();
  Paint();
  EXPECT_EQ(chart_.PipelineRuns(), frames);
  SendMessageW(window_.Handle(), WM_SYSCOLORCHANGE, 0, 0);
  Paint();
  EXPECT_EQ(chart_.PipelineRuns(), frames + 1);
}

}  // namespace
