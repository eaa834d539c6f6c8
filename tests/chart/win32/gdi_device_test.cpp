// The GDI device on DIB sections and on plain bitmaps: every drawing operation as the other
// devices draw it, text cells placed by the alignment and turned by GDI with the font's
// escapement, patterns and shapes drawn within the clip; and every pixel GDI wrote keeps the
// engine's 0xFF top byte. (Showing frames: the chart window's tests.)
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "chart/device_canvas.h"
#include "chart/win32/gdi_device.h"
#include "device_cases.h"
#include "pixel_image.h"

namespace {

constexpr TRgb kInk = MakeRgb(0x20, 0x40, 0xC0);
constexpr TRgb kCell = MakeRgb(0xF0, 0xE0, 0x10);

bool AllOpaque(const TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if ((bitmap.Pixel(x, y) >> 24) != 0xFF) return false;
  return true;
}

class GdiDeviceTest : public ::testing::Test {
 protected:
  GdiDeviceTest() { InitChartFont(canvas_.Font(), {}); }

  TGdiChartDevice device_;
  TBitmap frame_ = device_.CreateFrame(130, 130);
  TCanvas canvas_{device_, &frame_};
};

// The cells of the platform's text alignment, anchor (60, 62), w the text's width, h its
// height; a turned cell is filled as an upright one is.
TEST_F(GdiDeviceTest, text_cells_are_placed_by_the_alignment_and_turned_by_the_escapement) {
  const rtl::Text text = "08.12.2026";
  const TTextExtent extent = canvas_.TextExtent(text);
  const int w = extent.Width, h = extent.Height, x = 60, y = 62;
  ASSERT_GT(w, h);
  struct Case {
    unsigned align;
    int escapement;
    TRect cell;
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, 0, {x, y, x + w, y + h}},
      {TA_CENTER | TA_TOP, 0, {x - w / 2, y, x - w / 2 + w, y + h}},
      {TA_RIGHT | TA_BOTTOM, 0, {x - w, y - h, x, y}},
      {TA_LEFT | TA_TOP, 900, {x, y - w, x + h, y}},
      {TA_CENTER | TA_TOP, 900, {x, y - (w - w / 2), x + h, y + w / 2}},
      {TA_RIGHT | TA_TOP, 900, {x, y, x + h, y + w}},
      {TA_LEFT | TA_BOTTOM, 900, {x - h, y - w, x, y}},
  };
  for (const Case& c : cases) {
    frame_.Fill(kBackground);
    canvas_.SetTextAlign(c.align);
    canvas_.SetFontEscapement(c.escapement);
    canvas_.SetTextColor(kInk);
    canvas_.SetBackgroundMode(OPAQUE);
    canvas_.SetBackgroundColor(kCell);
    canvas_.OutputText(x, y, text);
    EXPECT_EQ(InkBounds(frame_), c.cell) << c.align << " at " << c.escapement;
    EXPECT_EQ(frame_.Pixel(c.cell.Left, c.cell.Top), kCell) << c.align << " at " << c.escapement;
    EXPECT_TRUE(AllOpaque(frame_));
  }
}

// A bitmap that is no DIB section (a caller's own pixels) gets the same text through a copy,
// and neither is written outside the clip.
TEST_F(GdiDeviceTest, text_on_any_bitmap_is_the_same_and_stays_in_the_clip) {
  TBitmap plain(130, 130);
  TCanvas other(device_, &plain);
  InitChartFont(other.Font(), {});
  for (TCanvas* canvas : {&canvas_, &other}) {
    canvas->IntersectClipRect({10, 10, 50, 18});
    canvas->SetTextColor(kInk);
    canvas->SetBackgroundMode(TRANSPARENT);
    canvas->OutputText(5, 8, "\xC4\xEE\xEA\xF3\xEC\xE5\xED\xF2\xFB WWW");  // "Документы"
  }
  EXPECT_TRUE(plain == frame_);
  const TRect ink = InkBounds(plain);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_TRUE(ink.Left >= 10 && ink.Top >= 10 && ink.Right <= 50 && ink.Bottom <= 18) << ink.Left << "," << ink.Top;
  EXPECT_TRUE(AllOpaque(plain) && AllOpaque(frame_));
}

TEST_F(GdiDeviceTest, hatches_leave_their_gaps_or_fill_them_and_bitmaps_tile_from_the_origin) {
  canvas_.Brush().SetStyle(bsCross);
  canvas_.Brush().SetColor(ColorOfRgb(kInk));
  canvas_.SetBackgroundColor(kCell);
  for (int mode : {TRANSPARENT, OPAQUE}) {
    frame_.Fill(kBackground);
    canvas_.SetBackgroundMode(mode);
    canvas_.FillRect({4, 4, 40, 40});
    int ink = 0, gap = 0, white = 0;
    for (int y = 4; y < 40; ++y)
      for (int x = 4; x < 40; ++x) {
        const TRgb pixel = frame_.Pixel(x, y);
        ink += pixel == kInk;
        gap += pixel == kCell;
        white += pixel == kBackground;
      }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(gap > 0, mode == OPAQUE);
    EXPECT_EQ(white > 0, mode == TRANSPARENT);
    EXPECT_EQ(InkBounds(frame_), (TRect{4, 4, 40, 40}));
  }
  TBitmap tile(3, 2);
  tile.SetPixel(1, 0, kInk);
  tile.SetPixel(2, 1, kCell);
  canvas_.Brush().SetStyle(bsSolid);
  canvas_.Brush().SetBitmap(tile);
  canvas_.FillRect({5, 7, 20, 15});
  for (int y = 7; y < 15; ++y)
    for (int x = 5; x < 20; ++x) ASSERT_EQ(frame_.Pixel(x, y), tile.Pixel(x % 3, y % 2)) << x << "," << y;
  EXPECT_TRUE(AllOpaque(frame_));
}

TEST_F(GdiDeviceTest, shapes_stay_in_their_box_and_the_clip_and_a_clear_pen_and_brush_draw_nothing) {
  const TRect box{10, 12, 50, 40};
  const std::function<void()> shapes[] = {
      [&] { canvas_.Ellipse(box.Left, box.Top, box.Right, box.Bottom); },
      [&] { canvas_.Arc(box.Left, box.Top, box.Right, box.Bottom, 50, 12, 10, 40); },
      [&] { canvas_.Pie(box.Left, box.Top, box.Right, box.Bottom, 50, 12, 10, 40); },
      [&] { canvas_.RoundRect(box.Left, box.Top, box.Right, box.Bottom, 8, 8); },
      [&] {
        const TPoint corners[] = {{10, 12}, {49, 20}, {30, 39}};
        canvas_.Polygon(corners, 3);
      },
      [&] { canvas_.GradientFill(box, kInk, kCell, true); },
  };
  canvas_.Pen().SetColor(ColorOfRgb(kInk));
  canvas_.Brush().SetColor(ColorOfRgb(kCell));
  int index = 0;
  for (const auto& shape : shapes) {
    frame_.Fill(kBackground);
    canvas_.RemoveClip();
    shape();
    const TRect ink = InkBounds(frame_);
    EXPECT_FALSE(ink.IsEmpty()) << index;
    EXPECT_TRUE(ink.Left >= box.Left && ink.Top >= box.Top && ink.Right <= box.Right && ink.Bottom <= box.Bottom) << index;
    EXPECT_TRUE(AllOpaque(frame_)) << index;
    frame_.Fill(kBackground);
    canvas_.IntersectClipRect({0, 0, 30, 100});
    shape();
    EXPECT_LE(InkBounds(frame_).Right, 30) << index;
    ++index;
  }
  canvas_.RemoveClip();
  frame_.Fill(kBackground);
  canvas_.Pen().SetStyle(psClear);
  canvas_.Brush().SetStyle(bsClear);
  for (int i = 0; i < 4; ++i) shapes[i]();
  EXPECT_EQ(InkBounds(frame_), TRect{});
}

TEST(gdi_device_test, draws_every_device_operation_as_the_case_table_has_it) {
  TGdiChartDevice device;
  for (const DeviceCase& c : DeviceCases()) EXPECT_EQ(DeviceCaseMismatch(device, c), "") << c.name;
}

}  // namespace
