// Text through the chart canvas on the Qt device: cells placed by the alignment flags,
// rotated text by escapement, and measuring with the real font.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "chart/canvas.h"
#include "chart/qt/qt_device.h"
#include "gui_application.h"
#include "pixel_image.h"

namespace {

class CanvasTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    canvas_.BeginFrame(window_device_, nullptr, {0, 0, 160, 120}, false);
    InitChartFont(canvas_.Font(), {});
    width_ = canvas_.MeasureTextWidth(kText);
    height_ = canvas_.MeasureTextHeight(kText);
  }
  const TBitmap& Frame() const { return *canvas_.FrameBitmap(); }
  void Clear() { const_cast<TBitmap&>(Frame()).Fill(kBackground); }
  // Text drawn over a background of its own colour, so that the whole cell shows.
  void WriteOpaque(int x, int y, unsigned align, int angle) {
    canvas_.SetBackgroundMode(OPAQUE);
    canvas_.SetBackgroundColor(0x00C000);
    canvas_.SetTextAlignment(align);
    canvas_.WriteRotatedText(x, y, kText, angle);
  }

  static constexpr char kText[] = "W0 ";
  bool application_ready_ = (EnsureGuiApplication(), true);
  TQtChartDevice device_;
  TBitmap window_ = BlankImage(160, 120);
  TCanvas window_device_{device_, &window_};
  TChartCanvas3D canvas_{window_device_};
  int width_ = 0;
  int height_ = 0;
};

// Half-open cell [left, right) x [top, bottom).
TRect Cell(int left, int right, int top, int bottom) { return {left, top, right, bottom}; }

bool Holds(const TRect& outer, const TRect& inner) {
  return outer.Left <= inner.Left && outer.Top <= inner.Top && inner.Right <= outer.Right && inner.Bottom <= outer.Bottom;
}

TEST_F(CanvasTextTest, text_cells_for_each_alignment_unrotated) {
  ASSERT_GT(width_, 0);
  ASSERT_GT(height_, 0);
  const int x = 80, y = 60, w = width_, h = height_;
  const struct {
    unsigned align;
    TRect cell;
  } cases[] = {
      {TA_LEFT | TA_TOP, Cell(x, x + w, y, y + h)},
      {TA_CENTER | TA_TOP, Cell(x - w / 2, x - w / 2 + w, y, y + h)},
      {TA_RIGHT | TA_TOP, Cell(x - w, x, y, y + h)},
      {TA_LEFT | TA_BOTTOM, Cell(x, x + w, y - h, y)},
      {TA_CENTER | TA_BOTTOM, Cell(x - w / 2, x - w / 2 + w, y - h, y)},
      {TA_RIGHT | TA_BOTTOM, Cell(x - w, x, y - h, y)},
  };
  for (const auto& c : cases) {
    Clear();
    WriteOpaque(x, y, c.align, 0);
    EXPECT_EQ(InkBounds(Frame()), c.cell) << "align " << c.align;
    EXPECT_EQ(ChangedPixels(Frame()), w * h) << "align " << c.align;
  }
}

TEST_F(CanvasTextTest, text_cells_for_each_alignment_at_ninety_degrees) {
  const int x = 80, y = 60, w = width_, h = height_;
  const struct {
    unsigned align;
    TRect cell;
  } cases[] = {
      {TA_LEFT | TA_TOP, Cell(x, x + h, y - w, y)},
      {TA_CENTER | TA_TOP, Cell(x, x + h, y - (w - w / 2), y + w / 2)},
      {TA_RIGHT | TA_TOP, Cell(x, x + h, y, y + w)},
      {TA_LEFT | TA_BOTTOM, Cell(x - h, x, y - w, y)},
      {TA_CENTER | TA_BOTTOM, Cell(x - h, x, y - (w - w / 2), y + w / 2)},
      {TA_RIGHT | TA_BOTTOM, Cell(x - h, x, y, y + w)},
  };
  for (const auto& c : cases) {
    Clear();
    WriteOpaque(x, y, c.align, 90);
    EXPECT_EQ(InkBounds(Frame()), c.cell) << "align " << c.align;
  }
}

TEST_F(CanvasTextTest, baseline_alignment_puts_the_ascent_above_the_anchor) {
  const int ascent = QFontMetrics(DeviceFont(canvas_.Font())).ascent();
  ASSERT_GT(ascent, 0);
  ASSERT_LT(ascent, height_);
  WriteOpaque(80, 60, TA_LEFT | TA_BASELINE, 0);
  EXPECT_EQ(InkBounds(Frame()), Cell(80, 80 + width_, 60 - ascent, 60 - ascent + height_));
  Clear();
  WriteOpaque(80, 60, TA_LEFT | TA_BASELINE, 90);
  EXPECT_EQ(InkBounds(Frame()), Cell(80 - ascent, 80 - ascent + height_, 60 - width_, 60));
}

TEST_F(CanvasTextTest, ninety_degrees_is_the_upright_text_turned_pixel_for_pixel) {
  const int x = 40, y = 80;
  canvas_.SetBackgroundMode(TRANSPARENT);
  canvas_.WriteRotatedText(x, y, kText, 0);
  const TBitmap upright = Frame();
  Clear();
  canvas_.WriteRotatedText(x, y, kText, 90);
  int ink = 0;
  for (int i = 0; i < width_; ++i)
    for (int j = 0; j < height_; ++j) {
      ink += upright.Pixel(x + i, y + j) != kBackground;
      EXPECT_EQ(Frame().Pixel(x + j, y - 1 - i), upright.Pixel(x + i, y + j)) << i << "," << j;
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(ChangedPixels(Frame()), ink);
}

TEST_F(CanvasTextTest, angles_above_360_lose_one_turn) {
  canvas_.WriteRotatedText(60, 60, kText, 90);
  const TBitmap ninety = Frame();
  Clear();
  canvas_.WriteRotatedText(60, 60, kText, 450);
  EXPECT_EQ(Frame(), ninety);
  Clear();
  canvas_.WriteRotatedText(60, 60, kText, 0);
  const TBitmap flat = Frame();
  EXPECT_NE(flat, ninety);
  Clear();
  canvas_.WriteRotatedText(60, 60, kText, 360);
  EXPECT_EQ(Frame(), flat);
}

TEST_F(CanvasTextTest, rotated_text_leaves_the_brush_clear_and_the_font_unturned) {
  canvas_.WriteRotatedText(60, 60, kText, 90);
  EXPECT_EQ(canvas_.Brush().Style(), bsClear);
  Clear();
  canvas_.WriteText(10, 10, kText);
  const TRect ink = InkBounds(Frame());
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_TRUE(Holds(Cell(10, 10 + width_, 10, 10 + height_), ink)) << ::testing::PrintToString(ink);
}

TEST_F(CanvasTextTest, text_is_written_in_the_font_colour_without_grey_pixels) {
  canvas_.SetBackgroundMode(TRANSPARENT);
  canvas_.Font().SetColor(clRed);
  canvas_.WriteText(10, 10, kText);
  int ink = 0;
  for (int y = 0; y < Frame().Height(); ++y)
    for (int x = 0; x < Frame().Width(); ++x)
      if (Frame().Pixel(x, y) != kBackground) {
        EXPECT_EQ(Frame().Pixel(x, y), MakeRgb(255, 0, 0)) << x << "," << y;
        ++ink;
      }
  EXPECT_GT(ink, 10);
}

TEST_F(CanvasTextTest, text_is_clipped) {
  canvas_.ClipToRectangle({0, 0, 12, 200});
  canvas_.WriteText(10, 10, kText);
  EXPECT_LE(InkBounds(Frame()).Right, 12);
}

TEST_F(CanvasTextTest, measuring_uses_whole_advances_without_kerning) {
  EXPECT_EQ(canvas_.MeasureTextWidth(""), 0);
  EXPECT_EQ(canvas_.MeasureTextWidth("WW"), 2 * canvas_.MeasureTextWidth("W"));
  EXPECT_EQ(canvas_.MeasureTextWidth("AV"), canvas_.MeasureTextWidth("A") + canvas_.MeasureTextWidth("V"));
  EXPECT_EQ(canvas_.MeasureTextWidth("To"), canvas_.MeasureTextWidth("T") + canvas_.MeasureTextWidth("o"));
  EXPECT_EQ(canvas_.LineHeight(), canvas_.MeasureTextHeight("x"));
}

TEST_F(CanvasTextTest, measuring_reads_windows_1251_text) {
  // Cyrillic capital A is as wide as Latin A; a byte misread as UTF-8 would measure as "?".
  EXPECT_EQ(canvas_.MeasureTextWidth("\xC0"), canvas_.MeasureTextWidth("A"));
  EXPECT_EQ(canvas_.MeasureTextWidth("\xC0\xC0"), 2 * canvas_.MeasureTextWidth("A"));
}

TEST_F(CanvasTextTest, line_height_follows_the_font_size) {
  const int small = canvas_.LineHeight();
  canvas_.Font().SetSize(16);
  EXPECT_GT(canvas_.LineHeight(), small + 5);
}

}  // namespace
