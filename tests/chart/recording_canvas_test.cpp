// The canvas test doubles that other chart tests build on.
#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace {

TEST(recording_canvas_test, logs_calls_with_arguments_and_the_pen_in_force) {
  TRecordingCanvas canvas;
  TDottedGrayPen grid;
  canvas.ApplyChartPen(grid);
  canvas.MovePenAtDepth(1, 2, 0);
  canvas.DrawLineToAtDepth(3, 2, 0);
  canvas.WriteText(4, 5, "ab");
  canvas.ClipToBox({10, 10, 100, 50}, 0, 0);
  const std::vector<std::string> expected = {"MovePenAtDepth(1,2,0)", "DrawLineToAtDepth(3,2,0)", "WriteText(4,5,\"ab\")",
                                             "ClipToBox(10,10,100,50,0,0)"};
  EXPECT_EQ(canvas.Calls(), expected);
  EXPECT_EQ(canvas.Records()[1].pen_color, clGray);
  EXPECT_EQ(canvas.Records()[1].pen_style, psDot);
  EXPECT_EQ(canvas.CallsStartingWith("Draw"), std::vector<std::string>{"DrawLineToAtDepth(3,2,0)"});
}

TEST(recording_canvas_test, restore_defaults_shows_as_background_calls) {
  TRecordingCanvas canvas;
  canvas.RestoreDefaults();
  const std::vector<std::string> expected = {"SetBackgroundColor(16777215)", "SetBackgroundMode(1)"};
  EXPECT_EQ(canvas.Calls(), expected);
  EXPECT_EQ(canvas.Records()[0].font_size, 10);
}

TEST(recording_canvas_test, measuring_double_is_a_thirteen_pixel_font) {
  TMeasuringCanvas canvas;
  canvas.SetCharWidth(' ', 3);
  EXPECT_EQ(canvas.LineHeight(), 13);
  EXPECT_EQ(canvas.MeasureTextWidth("10"), 14);
  EXPECT_EQ(canvas.MeasureTextWidth("1 0"), 17);
  EXPECT_EQ(canvas.MeasureTextWidth(""), 0);
  EXPECT_EQ(canvas.CallsStartingWith("MeasureTextHeight"), std::vector<std::string>{"MeasureTextHeight(\"W\")"});
}

}  // namespace
