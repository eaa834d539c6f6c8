// What the drawing surface leaves to the platform device and what it keeps: lines,
// rectangles and solid fills stay in the engine's rasteriser; text, patterns and shapes go
// to the device with the context state they honour; colours arrive resolved; frames are
// made by the device and shown through it.
#include <gtest/gtest.h>

#include "chart/canvas.h"
#include "device_cases.h"
#include "pixel_image.h"
#include "plain_device.h"

namespace {

class DeviceContractTest : public ::testing::Test {
 protected:
  TPlainDevice device_;
  TBitmap bitmap_ = BlankImage(40, 30);
  TCanvas canvas_{device_, &bitmap_};
};

TEST_F(DeviceContractTest, lines_rectangles_and_solid_fills_never_reach_the_device) {
  canvas_.MoveTo(1, 1);
  canvas_.LineTo(30, 20);
  canvas_.Brush().SetColor(clRed);
  canvas_.Rectangle(2, 2, 10, 10);
  canvas_.FillRect({20, 2, 25, 6});
  EXPECT_TRUE(device_.Calls().empty());
  EXPECT_GT(ChangedPixels(bitmap_), 30);
}

TEST_F(DeviceContractTest, text_reaches_the_device_with_alignment_escapement_colour_and_mode) {
  canvas_.SetTextAlign(TA_RIGHT | TA_BOTTOM);
  canvas_.SetFontEscapement(900);
  canvas_.SetTextColor(MakeRgb(0x12, 0x34, 0x56));
  canvas_.SetBackgroundMode(OPAQUE);
  canvas_.OutputText(7, 8, "ab");
  canvas_.OutputText(7, 8, "");  // nothing to write
  TCanvas window(device_);    // no bitmap: a window's canvas draws nothing
  window.OutputText(1, 1, "ab");
  EXPECT_EQ(device_.Calls(), std::vector<std::string>{"OutputText(7,8,\"ab\",10,900,123456,2)"});
  EXPECT_EQ(canvas_.TextExtent("abc").Width, 21);
}

TEST_F(DeviceContractTest, hatched_and_bitmap_brushes_fill_through_the_device_inside_the_engines_outline) {
  canvas_.Brush().SetStyle(bsCross);
  canvas_.Brush().SetColor(clBlue);
  canvas_.Rectangle(2, 2, 10, 8);
  canvas_.Brush().SetStyle(bsSolid);
  canvas_.Brush().SetBitmap(TBitmap(2, 2));
  canvas_.FillRect({20, 20, 24, 23});
  EXPECT_EQ(device_.Calls(), (std::vector<std::string>{"FillPattern(3,3,9,7,6,0000FF)", "FillPattern(20,20,24,23,0,0000FF)"}));
  EXPECT_EQ(Row(bitmap_, 2, 1, 10), ".########.");  // the outline is the engine's
}

TEST_F(DeviceContractTest, system_colours_are_resolved_by_the_device_and_default_never_arrives) {
  canvas_.Pen().SetColor(clBtnFace);
  canvas_.Brush().SetColor(clDefault);
  canvas_.Font().SetColor(clBtnShadow);
  EXPECT_EQ(canvas_.PenRGB(), device_.SystemColor(15));
  EXPECT_EQ(canvas_.BrushRGB(), kRgbWhite);
  EXPECT_EQ(canvas_.FontRGB(), device_.SystemColor(16));
  EXPECT_EQ(ColorToRGB(clRed, device_, clBlack), MakeRgb(255, 0, 0));
}

TEST_F(DeviceContractTest, a_frame_is_copied_onto_a_bitmap_within_the_clip_and_shown_on_a_window) {
  const TBitmap frame(6, 4, MakeRgb(0, 0, 255));
  canvas_.IntersectClipRect({0, 0, 8, 30});
  canvas_.DrawImage(5, 5, frame);
  EXPECT_EQ(InkBounds(bitmap_), (TRect{5, 5, 8, 9}));
  TCanvas window(device_);
  window.DrawImage(2, 3, frame);
  EXPECT_EQ(device_.Presents(), 1);
  EXPECT_EQ(device_.Screen().Pixel(2, 3), MakeRgb(0, 0, 255));
}

// A device that draws into its frames itself gives them its own storage.
class OwnFrameDevice : public TPlainDevice {
 public:
  struct Storage : TBitmapStorage {};
  TBitmap CreateFrame(int width, int height) override {
    ++frames;
    auto storage = std::make_shared<Storage>();
    pixels.assign(std::size_t(width) * std::size_t(height), kRgbWhite);
    return TBitmap(pixels.data(), width, height, std::ptrdiff_t(width) * 4, storage);
  }
  int frames = 0;
  std::vector<TRgb> pixels;
};

TEST(DeviceFrameTest, buffered_frames_are_made_by_the_device_once_per_size) {
  OwnFrameDevice device;
  TCanvas window(device);
  TChartCanvas3D canvas(window);
  for (int width : {50, 50, 60}) {
    canvas.BeginFrame(window, nullptr, {0, 0, width, 20}, false);
    ASSERT_NE(canvas.FrameBitmap()->Storage(), nullptr);
    canvas.Brush().SetColor(clRed);
    canvas.FillRectangle({0, 0, 1, 1});
    canvas.EndFrame(window, window, {0, 0, width, 20});
  }
  EXPECT_EQ(device.frames, 2);
  EXPECT_EQ(device.pixels[0], MakeRgb(255, 0, 0));  // drawn into the device's own pixels
  EXPECT_EQ(device.Screen().Width(), 60);
}

TEST(plain_device_test, draws_every_device_operation_as_the_case_table_has_it) {
  TPlainDevice device(7, PlainDrawing::kDrawn);
  for (const DeviceCase& c : DeviceCases()) EXPECT_EQ(DeviceCaseMismatch(device, c), "") << c.name;
}

}  // namespace
