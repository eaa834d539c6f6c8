// The concrete chart canvas: frame buffer, clipping, chart pens, text cells and colours.
#include <gtest/gtest.h>

#include "chart/canvas.h"
#include "pixel_image.h"
#include "plain_device.h"

namespace {

class ChartCanvasTest : public ::testing::Test {
 protected:
  // Begins a buffered frame of the window's size; the canvas then draws into the frame.
  void BeginWindowFrame() { canvas_.BeginFrame(window_device_, nullptr, {0, 0, window_.Width(), window_.Height()}, false); }
  void EndWindowFrame() { canvas_.EndFrame(window_device_, window_device_, {0, 0, window_.Width(), window_.Height()}); }
  const TBitmap& Frame() const { return *canvas_.FrameBitmap(); }
  // Clears the frame to the test background with a copy brush, leaving the brush as it was set.
  void ClearFrame() {
    canvas_.Brush().SetColor(clWhite);
    canvas_.Brush().SetStyle(bsSolid);
    canvas_.FillRectangle({0, 0, 200, 200});
  }

  TPlainDevice device_;
  TBitmap window_ = BlankImage(120, 80);
  TCanvas window_device_{device_, &window_};
  TChartCanvas3D canvas_{window_device_};
};

TEST_F(ChartCanvasTest, frames_of_one_size_reuse_the_bitmap_and_a_resize_makes_a_new_one) {
  EXPECT_EQ(canvas_.FrameBitmap(), nullptr);
  const TRect drawing = canvas_.BeginFrame(window_device_, nullptr, {0, 0, 120, 80}, false);
  EXPECT_EQ(drawing, (TRect{0, 0, 120, 80}));
  ASSERT_NE(canvas_.FrameBitmap(), nullptr);
  canvas_.PlotPixel(5, 5, clRed);  // a mark that only the same bitmap keeps
  EndWindowFrame();
  canvas_.BeginFrame(window_device_, nullptr, {0, 0, 120, 80}, false);
  EXPECT_EQ(Frame().Pixel(5, 5), MakeRgb(255, 0, 0));
  EndWindowFrame();
  canvas_.BeginFrame(window_device_, nullptr, {0, 0, 121, 80}, false);
  EXPECT_EQ(Frame().Pixel(5, 5), kBackground);
  EXPECT_EQ(Frame().Rect(), (TRect{0, 0, 121, 80}));
}

TEST_F(ChartCanvasTest, end_frame_copies_the_frame_to_the_window_in_one_piece) {
  canvas_.BeginFrame(window_device_, nullptr, {10, 5, 60, 45}, false);
  canvas_.Brush().SetColor(clRed);
  canvas_.FillRectangle({0, 0, 50, 40});
  EXPECT_EQ(ChangedPixels(window_), 0);  // nothing reaches the window before the end
  canvas_.EndFrame(window_device_, window_device_, {10, 5, 60, 45});
  EXPECT_EQ(InkBounds(window_), (TRect{10, 5, 60, 45}));
  EXPECT_EQ(&canvas_.Target(), &window_device_);
  EXPECT_FALSE(canvas_.IsDirty());
}

TEST_F(ChartCanvasTest, repaint_from_buffer_serves_an_unchanged_frame_only) {
  EXPECT_FALSE(canvas_.RepaintFromBuffer());
  BeginWindowFrame();
  canvas_.Brush().SetColor(clBlue);
  canvas_.FillRectangle({0, 0, 30, 30});
  EndWindowFrame();
  window_.Fill(kBackground);
  EXPECT_TRUE(canvas_.RepaintFromBuffer());
  EXPECT_EQ(InkBounds(window_), (TRect{0, 0, 30, 30}));
  window_.Fill(kBackground);
  canvas_.MarkDirty();
  EXPECT_FALSE(canvas_.RepaintFromBuffer());
  EXPECT_EQ(ChangedPixels(window_), 0);
}

TEST_F(ChartCanvasTest, unbuffered_frames_draw_straight_into_the_device) {
  BeginWindowFrame();
  EndWindowFrame();
  canvas_.ChangeBuffered(false);
  EXPECT_EQ(canvas_.FrameBitmap(), nullptr);
  EXPECT_TRUE(canvas_.IsDirty());
  const TRect drawing = canvas_.BeginFrame(window_device_, nullptr, {3, 4, 50, 60}, false);
  EXPECT_EQ(drawing, (TRect{3, 4, 50, 60}));
  canvas_.Brush().SetColor(clRed);
  canvas_.FillRectangle({3, 4, 5, 6});
  EXPECT_EQ(InkBounds(window_), (TRect{3, 4, 5, 6}));
  EndWindowFrame();
  EXPECT_FALSE(canvas_.RepaintFromBuffer());
}

TEST_F(ChartCanvasTest, monochrome_change_drops_the_frame_and_asks_the_panel_to_repaint) {
  int repaints = 0;
  TView3DOptions options([&] { ++repaints; });
  canvas_.BeginFrame(window_device_, &options, {0, 0, 120, 80}, false);
  EndWindowFrame();
  canvas_.ChangeMonochrome(true);
  EXPECT_EQ(repaints, 1);
  EXPECT_EQ(canvas_.FrameBitmap(), nullptr);
  EXPECT_TRUE(canvas_.IsDirty());
  canvas_.ChangeMonochrome(true);
  EXPECT_EQ(repaints, 1);
}

TEST_F(ChartCanvasTest, device_state_of_the_frame_outlives_the_frame) {
  BeginWindowFrame();
  canvas_.SetTextAlignment(TA_RIGHT | TA_BOTTOM);
  EndWindowFrame();
  canvas_.SetTextAlignment(TA_CENTER);  // the window's own device, not the frame's
  BeginWindowFrame();
  EXPECT_EQ(canvas_.TextAlignment(), TA_RIGHT | TA_BOTTOM);
}

TEST_F(ChartCanvasTest, clip_to_box_keeps_drawing_inside_a_frame_on_the_box) {
  BeginWindowFrame();
  canvas_.ClipToBox({10, 10, 100, 50}, 0, 0);
  for (int y : {10, 11, 48, 49}) canvas_.DrawHorizontalLine(0, 120, y);
  for (int x : {10, 11, 99, 100}) canvas_.DrawVerticalLine(x, 0, 80);
  canvas_.RemoveClipping();
  EXPECT_EQ(Frame().Pixel(50, 10), kBackground);
  EXPECT_NE(Frame().Pixel(50, 11), kBackground);
  EXPECT_NE(Frame().Pixel(50, 48), kBackground);
  EXPECT_EQ(Frame().Pixel(50, 49), kBackground);
  EXPECT_EQ(Frame().Pixel(10, 30), kBackground);
  EXPECT_NE(Frame().Pixel(11, 30), kBackground);
  EXPECT_NE(Frame().Pixel(99, 30), kBackground);
  EXPECT_EQ(Frame().Pixel(100, 30), kBackground);
  EXPECT_EQ(InkBounds(Frame()), (TRect{11, 11, 100, 49}));
}

TEST_F(ChartCanvasTest, a_hidden_chart_pen_draws_nothing) {
  BeginWindowFrame();
  TChartHiddenPen hidden;
  hidden.SetColor(clRed);
  hidden.SetWidth(3);
  canvas_.ApplyChartPen(hidden);
  canvas_.Brush().SetStyle(bsClear);
  canvas_.DrawLineSegment(0, 0, 50, 30);
  canvas_.DrawBox(5, 5, 40, 40);
  canvas_.DrawHorizontalLine(0, 100, 60);
  EXPECT_EQ(ChangedPixels(Frame()), 0);
  EXPECT_EQ(canvas_.Pen().Style(), psClear);
}

TEST_F(ChartCanvasTest, small_dots_at_width_one_set_every_other_pixel) {
  BeginWindowFrame();
  TChartPen pen;
  pen.SetSmallDots(true);
  pen.SetColor(clRed);
  canvas_.ApplyChartPen(pen);
  canvas_.DrawHorizontalLine(0, 9, 2);
  EXPECT_EQ(Row(Frame(), 2, 0, 9), "#.#.#.#.#.");
  EXPECT_EQ(Frame().Pixel(0, 2), MakeRgb(255, 0, 0));
}

TEST_F(ChartCanvasTest, small_dots_at_width_two_draw_an_ordinary_wide_line) {
  BeginWindowFrame();
  TChartPen pen;
  pen.SetSmallDots(true);
  pen.SetWidth(2);
  canvas_.ApplyChartPen(pen);
  canvas_.DrawHorizontalLine(2, 9, 5);
  EXPECT_EQ(InkBounds(Frame()), (TRect{1, 4, 10, 6}));
  EXPECT_EQ(ChangedPixels(Frame()), 18);
}

TEST_F(ChartCanvasTest, axis_pen_draws_two_rows) {
  BeginWindowFrame();
  canvas_.ApplyChartPen(TChartAxisPen());
  canvas_.DrawHorizontalLineAtDepth(10, 50, 40, 0);
  EXPECT_EQ(InkBounds(Frame()), (TRect{9, 39, 51, 41}));
}

TEST_F(ChartCanvasTest, dotted_gray_grid_pen) {
  BeginWindowFrame();
  canvas_.SetBackgroundMode(TRANSPARENT);
  canvas_.ApplyChartPen(TDottedGrayPen());
  canvas_.DrawVerticalLineAtDepth(5, 0, 12, 0);
  EXPECT_EQ(Column(Frame(), 5, 0, 12), "###...###....");
  EXPECT_EQ(Frame().Pixel(5, 0), 0xFF808080);
}

TEST_F(ChartCanvasTest, depth_line_is_a_line_of_no_length) {
  BeginWindowFrame();
  canvas_.DrawDepthLine(5, 5, 0, 100);
  EXPECT_EQ(ChangedPixels(Frame()), 0);
}

TEST_F(ChartCanvasTest, projection_is_the_identity_in_two_dimensions) {
  canvas_.SetProjection(0, {0, 0, 817, 250}, {25, 10, 792, 240});
  EXPECT_EQ(canvas_.ProjectPoint(10, 20, 999), (TPoint{10, 20}));
  EXPECT_EQ(canvas_.UnprojectPixel(10, 20, 999), (TPoint{10, 20}));
}

TEST_F(ChartCanvasTest, default_colour_never_reaches_the_device) {
  BeginWindowFrame();
  canvas_.Brush().SetColor(clBlack);
  canvas_.FillRectangle({0, 0, 10, 10});
  canvas_.Brush().SetColor(clDefault);
  canvas_.FillRectangle({0, 0, 4, 4});
  EXPECT_EQ(Frame().Pixel(1, 1), MakeRgb(255, 255, 255));
  canvas_.Pen().SetColor(clDefault);
  canvas_.DrawHorizontalLine(20, 30, 20);
  EXPECT_EQ(Frame().Pixel(20, 20), MakeRgb(0, 0, 0));
  canvas_.SetBackgroundColor(clDefault);
  EXPECT_EQ(canvas_.BackgroundColor(), clWhite);
}

TEST_F(ChartCanvasTest, restore_defaults) {
  BeginWindowFrame();
  canvas_.Pen().SetColor(clRed);
  canvas_.Pen().SetWidth(2);
  canvas_.Pen().SetStyle(psDot);
  canvas_.Brush().SetColor(clBlue);
  canvas_.Brush().SetStyle(bsClear);
  canvas_.Font().SetColor(clRed);
  canvas_.Font().SetSize(8);
  canvas_.SetBackgroundColor(clRed);
  canvas_.SetBackgroundMode(OPAQUE);
  canvas_.RestoreDefaults();
  EXPECT_EQ(canvas_.Pen().Color(), clBlack);
  EXPECT_EQ(canvas_.Pen().Width(), 1);
  EXPECT_EQ(canvas_.Pen().Style(), psSolid);
  EXPECT_EQ(canvas_.Brush().Color(), clWhite);
  EXPECT_EQ(canvas_.Brush().Style(), bsSolid);
  EXPECT_EQ(canvas_.Font().Color(), clBlack);
  EXPECT_EQ(canvas_.Font().Size(), 10);
  EXPECT_EQ(canvas_.BackgroundColor(), clWhite);
  EXPECT_EQ(canvas_.BackgroundMode(), TRANSPARENT);
}

TEST_F(ChartCanvasTest, apply_chart_pen_copies_colour_width_style_and_mode) {
  TChartPen pen;
  pen.SetColor(clYellow);
  pen.SetWidth(3);
  pen.SetStyle(psDash);
  pen.SetMode(pmNotXor);
  canvas_.ApplyChartPen(pen);
  EXPECT_EQ(canvas_.Pen().Color(), clYellow);
  EXPECT_EQ(canvas_.Pen().Width(), 3);
  EXPECT_EQ(canvas_.Pen().Style(), psDash);
  EXPECT_EQ(canvas_.Pen().Mode(), pmNotXor);
}

TEST_F(ChartCanvasTest, bevel_frame_in_two_colours) {
  BeginWindowFrame();
  canvas_.DrawBevelFrame({2, 2, 8, 6}, clWhite - 0x010101, clGray);
  EXPECT_EQ(Frame().Pixel(2, 2), MakeRgb(254, 254, 254));
  EXPECT_EQ(Frame().Pixel(2, 4), MakeRgb(254, 254, 254));
  EXPECT_EQ(Frame().Pixel(2, 5), MakeRgb(128, 128, 128));  // the bottom line runs to the left edge
  EXPECT_EQ(Frame().Pixel(7, 2), MakeRgb(128, 128, 128));
  EXPECT_EQ(Frame().Pixel(7, 5), MakeRgb(128, 128, 128));
  EXPECT_EQ(Frame().Pixel(3, 5), MakeRgb(128, 128, 128));
  EXPECT_EQ(Frame().Pixel(8, 6), kBackground);
}

}  // namespace
