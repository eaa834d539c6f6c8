// Pixel rules of the device canvas: lines, pen styles, rectangles, raster operations, clipping.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "chart/device_canvas.h"
#include "chart/gdi_raster.h"
#include "pixel_image.h"
#include "plain_device.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet LinePixels(int x0, int y0, int x1, int y1) {
  PixelSet pixels;
  gdi::ForEachLinePixel(x0, y0, x1, y1, [&](int x, int y) { pixels.insert({x, y}); });
  return pixels;
}

// The pixels of a cosmetic line by the diamond rule, computed independently: along the major
// axis from the start (included) to the end (excluded), the pixel nearest to the exact line;
// at a tie the upper pixel of an x-major line and the left pixel of a y-major line.
PixelSet NearestPixels(int x0, int y0, int x1, int y1) {
  PixelSet pixels;
  const int dx = x1 - x0, dy = y1 - y0;
  const bool x_major = std::abs(dx) > std::abs(dy);
  const int steps = x_major ? std::abs(dx) : std::abs(dy);
  for (int n = 0; n < steps; ++n) {
    const int major = n * (x_major ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1));
    const double minor = double(major) * (x_major ? dy : dx) / (x_major ? dx : dy);
    const double below = std::floor(minor);
    const int offset = int(minor - below == 0.5 ? below : std::floor(minor + 0.5));
    pixels.insert(x_major ? std::pair{x0 + major, y0 + offset} : std::pair{x0 + offset, y0 + major});
  }
  return pixels;
}

TEST(gdi_raster_test, lines_in_every_direction_follow_the_diamond_rule) {
  // Every end point on a ring around the start covers all octants, the diagonals and the ties.
  for (int dx = -7; dx <= 7; ++dx)
    for (int dy = -7; dy <= 7; ++dy) {
      if (dx == 0 && dy == 0) continue;
      EXPECT_EQ(LinePixels(10, 10, 10 + dx, 10 + dy), NearestPixels(10, 10, 10 + dx, 10 + dy))
          << "to (" << 10 + dx << "," << 10 + dy << ")";
    }
}

TEST(gdi_raster_test, worked_lines_and_their_ties_take_the_rules_pixels) {
  struct Case {
    int x0, y0, x1, y1;
    PixelSet expected;
  };
  const Case cases[] = {
      {2, 2, 6, 2, {{2, 2}, {3, 2}, {4, 2}, {5, 2}}},
      {6, 2, 2, 2, {{6, 2}, {5, 2}, {4, 2}, {3, 2}}},
      {5, 5, 2, 2, {{5, 5}, {4, 4}, {3, 3}}},
      {0, 0, 2, 1, {{0, 0}, {1, 0}}},
      {2, 1, 0, 0, {{2, 1}, {1, 0}}},
      {0, 0, 1, 2, {{0, 0}, {0, 1}}},
      {1, 2, 0, 0, {{1, 2}, {0, 1}}},
      {3, 3, 3, 3, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LinePixels(c.x0, c.y0, c.x1, c.y1), c.expected) << c.x0 << "," << c.y0 << "->" << c.x1 << "," << c.y1;
}

class device_canvas_test : public ::testing::Test {
 protected:
  TPlainDevice plain_;
  TBitmap image_ = BlankImage(40, 30);
  TCanvas device_{plain_, &image_};
};

TEST_F(device_canvas_test, zero_length_line_draws_nothing_but_moves_the_pen) {
  device_.MoveTo(5, 5);
  device_.LineTo(5, 5);
  EXPECT_EQ(ChangedPixels(image_), 0);
  device_.LineTo(8, 5);
  EXPECT_EQ(Row(image_, 5, 4, 9), ".###..");
}

TEST_F(device_canvas_test, dotted_pen_is_three_on_three_off_from_the_start_of_each_line) {
  device_.Pen().SetStyle(psDot);
  device_.SetBackgroundMode(TRANSPARENT);
  device_.MoveTo(0, 1);
  device_.LineTo(20, 1);
  EXPECT_EQ(Row(image_, 1, 0, 20), "###...###...###...##.");
  device_.MoveTo(20, 3);
  device_.LineTo(0, 3);  // right to left: the pattern starts at the right end
  EXPECT_EQ(Row(image_, 3, 0, 20), ".##...###...###...###");
}

TEST_F(device_canvas_test, dotted_pen_gaps_take_the_background_colour_when_opaque) {
  device_.Pen().SetStyle(psDot);
  device_.SetBackgroundMode(OPAQUE);
  device_.SetBackgroundColor(0xFF00FF00);
  device_.MoveTo(0, 1);
  device_.LineTo(7, 1);
  EXPECT_EQ(image_.Pixel(0, 1), 0xFF000000);
  EXPECT_EQ(image_.Pixel(3, 1), 0xFF00FF00);
  EXPECT_EQ(image_.Pixel(6, 1), 0xFF000000);
  EXPECT_EQ(image_.Pixel(7, 1), kBackground);
}

TEST_F(device_canvas_test, alternate_pen_sets_every_other_pixel_and_leaves_gaps_alone) {
  device_.SetBackgroundMode(OPAQUE);
  device_.Pen().SelectAlternateCosmeticHandle(clBlack);
  device_.MoveTo(0, 1);
  device_.LineTo(10, 1);
  EXPECT_EQ(Row(image_, 1, 0, 10), "#.#.#.#.#..");
  device_.MoveTo(3, 10);
  device_.LineTo(3, 2);
  EXPECT_EQ(Column(image_, 3, 2, 10), "..#.#.#.#");
}

TEST_F(device_canvas_test, a_property_change_replaces_the_alternate_pen) {
  device_.Pen().SelectAlternateCosmeticHandle(clBlack);
  device_.Pen().SetColor(clBlack);
  EXPECT_FALSE(device_.Pen().HasAlternateCosmeticHandle());
  device_.MoveTo(0, 1);
  device_.LineTo(4, 1);
  EXPECT_EQ(Row(image_, 1, 0, 4), "####.");
}

TEST_F(device_canvas_test, width_two_pen_covers_the_end_point_and_the_row_above) {
  struct Case {
    int x0, y0, x1, y1;
    TRect expected;
  };
  const Case cases[] = {
      {2, 5, 8, 5, {1, 4, 9, 6}},
      {8, 5, 2, 5, {1, 4, 9, 6}},
      {6, 3, 6, 9, {5, 2, 7, 10}},
      {6, 6, 6, 6, {5, 5, 7, 7}},
  };
  for (const Case& c : cases) {
    image_.Fill(kBackground);
    device_.Pen().SetWidth(2);
    device_.Pen().SetStyle(psDot);  // styles do not apply to wide pens
    device_.MoveTo(c.x0, c.y0);
    device_.LineTo(c.x1, c.y1);
    EXPECT_EQ(InkBounds(image_), c.expected) << c.x0 << "," << c.y0 << "->" << c.x1 << "," << c.y1;
    EXPECT_EQ(ChangedPixels(image_), c.expected.Width() * c.expected.Height());
  }
}

TEST_F(device_canvas_test, rectangle_outline_and_fill_exclude_the_right_and_bottom_edges) {
  device_.Brush().SetColor(clRed);
  device_.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(Row(image_, 2, 1, 8), ".######.");
  EXPECT_EQ(Row(image_, 5, 1, 8), ".######.");
  EXPECT_EQ(Row(image_, 6, 1, 8), "........");
  EXPECT_EQ(image_.Pixel(2, 3), 0xFF000000);
  EXPECT_EQ(image_.Pixel(7, 3), 0xFF000000);
  for (int x = 3; x <= 6; ++x) EXPECT_EQ(image_.Pixel(x, 3), 0xFFFF0000) << x;
}

TEST_F(device_canvas_test, rectangle_with_clear_brush_leaves_the_inside) {
  device_.Brush().SetStyle(bsClear);
  device_.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(ChangedPixels(image_), 2 * 6 + 2 * 2);
  EXPECT_EQ(Row(image_, 3, 1, 8), ".#....#.");
}

TEST_F(device_canvas_test, rectangle_without_pen_fills_one_pixel_short) {
  device_.Pen().SetStyle(psClear);
  device_.Brush().SetColor(clRed);
  device_.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(InkBounds(image_), (TRect{2, 2, 7, 5}));
}

TEST_F(device_canvas_test, fill_rect_covers_left_and_top_but_not_right_and_bottom) {
  device_.Brush().SetColor(clBlue);
  device_.FillRect({2, 2, 8, 6});
  EXPECT_EQ(InkBounds(image_), (TRect{2, 2, 8, 6}));
  EXPECT_EQ(image_.Pixel(2, 2), 0xFF0000FF);
}

TEST_F(device_canvas_test, not_xor_box_drawn_twice_restores_every_pixel) {
  std::mt19937 random(5);
  for (int y = 0; y < image_.Height(); ++y)
    for (int x = 0; x < image_.Width(); ++x) image_.SetPixel(x, y, 0xFF000000u | (random() & 0xFFFFFF));
  const TBitmap original = image_;
  device_.Pen().SetMode(pmNotXor);
  device_.Brush().SetStyle(bsClear);
  device_.Rectangle(5, 5, 25, 20);
  EXPECT_EQ(image_.Pixel(5, 5), 0xFF000000u | (~original.Pixel(5, 5) & 0xFFFFFF));  // black inverts
  EXPECT_EQ(image_.Pixel(24, 19), 0xFF000000u | (~original.Pixel(24, 19) & 0xFFFFFF));
  EXPECT_EQ(image_.Pixel(10, 10), original.Pixel(10, 10));
  device_.Rectangle(5, 5, 25, 20);
  EXPECT_EQ(image_, original);
}

TEST_F(device_canvas_test, clip_rectangles_narrow_each_other_and_exclude_right_and_bottom) {
  device_.IntersectClipRect({2, 2, 10, 12});
  device_.IntersectClipRect({5, 0, 20, 8});
  device_.Brush().SetColor(clBlack);
  device_.FillRect({0, 0, 40, 30});
  EXPECT_EQ(InkBounds(image_), (TRect{5, 2, 10, 8}));
  device_.RemoveClip();
  device_.FillRect({0, 0, 40, 30});
  EXPECT_EQ(ChangedPixels(image_), 40 * 30);
}

TEST_F(device_canvas_test, clipping_does_not_move_line_pixels) {
  TBitmap unclipped = BlankImage(40, 30);
  TCanvas reference(plain_, &unclipped);
  reference.MoveTo(1, 2);
  reference.LineTo(37, 25);
  device_.IntersectClipRect({10, 5, 30, 20});
  device_.MoveTo(1, 2);
  device_.LineTo(37, 25);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 30 && y >= 5 && y < 20;
      EXPECT_EQ(image_.Pixel(x, y), inside ? unclipped.Pixel(x, y) : kBackground) << x << "," << y;
    }
}

TEST(gdi_raster_test, each_pen_mode_combines_pen_and_pixel_by_its_raster_operation) {
  struct Case {
    TPenMode mode;
    TRgb pen, dst, expected;
  };
  const Case cases[] = {
      {pmCopy, 0x123456, 0xABCDEF, 0xFF123456},  {pmNotXor, 0x000000, 0x5585FE, 0xFFAA7A01},
      {pmNotXor, 0xFFFFFF, 0x5585FE, 0xFF5585FE}, {pmXor, 0xFFFFFF, 0x5585FE, 0xFFAA7A01},
      {pmNot, 0x123456, 0x5585FE, 0xFFAA7A01},    {pmNop, 0x123456, 0x5585FE, 0xFF5585FE},
      {pmMask, 0x0F0F0F, 0x5585FE, 0xFF05050E},   {pmMerge, 0x0F0F0F, 0x5585FE, 0xFF5F8FFF},
  };
  for (const Case& c : cases) EXPECT_EQ(gdi::ApplyMode(c.mode, c.pen, c.dst), c.expected) << int(c.mode);
}

// What a line must set, pixel by pixel, from the rules alone: the line's pixels in order,
// each one on the dash pattern's position, kept when inside the clip; for a wide pen the
// union of the blocks at every pixel and the end, each changed once by the raster operation.
TBitmap ReferenceLine(TBitmap image, const TRect& clip, int x0, int y0, int x1, int y1, const gdi::LinePen& pen,
                      int position) {
  auto inside = [&](int x, int y) { return clip.Contains(x, y) && image.Rect().Contains(x, y); };
  auto apply = [&](int x, int y, TRgb color, TPenMode mode) {
    if (inside(x, y)) image.SetPixel(x, y, gdi::ApplyMode(mode, color, image.Pixel(x, y)));
  };
  if (pen.width > 1) {
    PixelSet covered;
    auto stamp = [&](int x, int y) {
      for (int dy = 0; dy < pen.width; ++dy)
        for (int dx = 0; dx < pen.width; ++dx) covered.insert({x - pen.width / 2 + dx, y - pen.width / 2 + dy});
    };
    gdi::ForEachLinePixel(x0, y0, x1, y1, stamp);
    stamp(x1, y1);
    for (const auto& [x, y] : covered) apply(x, y, pen.color, pen.mode);
    return image;
  }
  gdi::ForEachLinePixel(x0, y0, x1, y1, [&](int x, int y) {
    if (pen.pattern.IsOn(position)) apply(x, y, pen.color, pen.mode);
    else if (pen.fill_gaps) apply(x, y, pen.gap_color, pmCopy);
    ++position;
  });
  return image;
}

struct Pen {
  const char* name;
  gdi::LinePen pen;
};

// A pen of every kind the raster draws in its own way.
std::vector<Pen> EveryKindOfPen() {
  gdi::LinePen solid;
  solid.color = 0xFF0000;
  gdi::LinePen dotted = solid;
  dotted.pattern = gdi::PatternOfStyle(psDot);
  gdi::LinePen dash_dot_gaps = solid;
  dash_dot_gaps.pattern = gdi::PatternOfStyle(psDashDotDot);
  dash_dot_gaps.fill_gaps = true;
  dash_dot_gaps.gap_color = 0x00FF00;
  gdi::LinePen not_xor = solid;
  not_xor.mode = pmNotXor;
  gdi::LinePen wide = solid;
  wide.width = 2;
  gdi::LinePen wide_xor = wide;
  wide_xor.width = 3;
  wide_xor.mode = pmXor;
  return {{"solid", solid},     {"dotted", dotted}, {"dash-dot-dot, opaque gaps", dash_dot_gaps},
          {"not-xor", not_xor}, {"wide", wide},     {"wide xor", wide_xor}};
}

// Lines along rows and columns, solid copies, dash patterns from any position and wide pens
// take short cuts; each must set what the pixel rules set, clipped or not.
TEST(gdi_raster_test, every_kind_of_line_sets_the_pixels_of_the_rules) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> coordinate(-6, 46);
  const TRect clips[] = {{0, 0, 40, 30}, {7, 5, 27, 20}};
  for (const Pen& p : EveryKindOfPen())
    for (const TRect& clip : clips)
      for (int n = 0; n < 600; ++n) {
        // Every other line lies wholly inside the image, where no pixel needs the clip test.
        auto pick = [&](int size) { return n % 2 == 0 ? coordinate(random) : int(random() % unsigned(size)); };
        const int x0 = pick(40), y0 = pick(30);
        // A third of the lines run along a row, a third along a column.
        const int x1 = n % 3 == 1 ? x0 : pick(40), y1 = n % 3 == 2 ? y0 : pick(30);
        const int position = int(random() % 50);
        TBitmap image = BlankImage(40, 30);
        image.SetPixel(x0 & 15, y0 & 15, 0xFF123456);  // something for raster operations to change
        const TBitmap expected = ReferenceLine(image, clip, x0, y0, x1, y1, p.pen, position);
        int advanced = position;
        gdi::Raster(image, clip).Line(x0, y0, x1, y1, p.pen, advanced);
        EXPECT_TRUE(image == expected) << p.name << ": " << x0 << "," << y0 << "->" << x1 << "," << y1 << " from "
                                       << position;
        const int period = p.pen.pattern.Period();
        if (p.pen.width <= 1 && period > 0) {
          // One step of the pattern per pixel, kept within one period.
          EXPECT_EQ(advanced, (position + std::max(std::abs(x1 - x0), std::abs(y1 - y0))) % period);
        }
      }
}

}  // namespace

// --- ends anywhere in the int range ------------------------------------------------------------

// A walk begun at any step must be in the state the walk from the start reaches there.
TEST(gdi_raster_test, a_walk_begun_midway_continues_the_walk_from_the_start) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> delta(-150, 150);
  for (int n = 0; n < 300; ++n) {
    const int x0 = delta(random), y0 = delta(random);
    // Short lines give every octant and tie; longer ones many minor steps between ties.
    const int x1 = x0 + (n < 100 ? delta(random) / 20 : delta(random)), y1 = y0 + (n < 100 ? delta(random) / 20 : delta(random));
    const gdi::LineWalk walk(x0, y0, x1, y1);
    std::vector<std::pair<int, int>> whole;
    walk.Walk(0, walk.Length(), [&](int x, int y) { whole.push_back({x, y}); });
    ASSERT_EQ(std::int64_t(whole.size()), walk.Length());
    for (std::int64_t step = 0; step < walk.Length(); ++step) {
      std::vector<std::pair<int, int>> part;
      walk.Walk(step, std::min(step + 2, walk.Length()), [&](int x, int y) { part.push_back({x, y}); });
      EXPECT_EQ(part.front(), whole[step]) << x0 << "," << y0 << "->" << x1 << "," << y1 << " step " << step;
      if (part.size() == 2) {
        EXPECT_EQ(part.back(), whole[step + 1]);
      }
    }
  }
}

__extension__ using Wide = __int128;

// Rounds a / b (b > 0) to the nearest integer, a half to the smaller one.
std::int64_t RoundHalfDown(Wide a, Wide b) {
  const Wide numerator = 2 * a - b, denominator = 2 * b;  // ceil(a / b - 1/2)
  const Wide ceiling = numerator >= 0 ? (numerator + denominator - 1) / denominator : -((-numerator) / denominator);
  return static_cast<std::int64_t>(ceiling);
}

struct StepPixel {
  int x, y;
  std::int64_t step;
};

// The diamond rule computed exactly for the steps whose major coordinate lies in [low, high]:
// at each, the pixel nearest to the exact line, a tie going to the smaller coordinate.
std::vector<StepPixel> ExactLinePixels(int x0, int y0, int x1, int y1, std::int64_t low, std::int64_t high) {
  const Wide dx = Wide(x1) - x0, dy = Wide(y1) - y0;
  const bool x_major = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
  const Wide major_delta = x_major ? dx : dy, minor_delta = x_major ? dy : dx;
  const Wide length = major_delta < 0 ? -major_delta : major_delta;
  const std::int64_t major0 = x_major ? x0 : y0, minor0 = x_major ? y0 : x0, sign = major_delta > 0 ? 1 : -1;
  std::vector<StepPixel> pixels;
  for (std::int64_t major = low; major <= high; ++major) {
    const std::int64_t step = (major - major0) * sign;
    if (step < 0 || step >= length) continue;
    const std::int64_t minor = minor0 + RoundHalfDown(minor_delta * step, length);
    pixels.push_back(x_major ? StepPixel{int(major), int(minor), step} : StepPixel{int(minor), int(major), step});
  }
  return pixels;
}

// What a far line must set: ReferenceLine's rules, with the pixels computed exactly where
// they can reach the clip.
TBitmap ReferenceFarLine(TBitmap image, const TRect& clip, int x0, int y0, int x1, int y1, const gdi::LinePen& pen,
                         int position) {
  const bool x_major = std::abs(std::int64_t(x1) - x0) > std::abs(std::int64_t(y1) - y0);
  const int margin = pen.width + 1;
  const std::vector<StepPixel> pixels =
      ExactLinePixels(x0, y0, x1, y1, (x_major ? clip.Left : clip.Top) - margin,
                      (x_major ? clip.Right : clip.Bottom) - 1 + margin);
  PixelSet covered;
  auto apply = [&](int x, int y, TRgb color, TPenMode mode) {
    if (clip.Contains(x, y)) image.SetPixel(x, y, gdi::ApplyMode(mode, color, image.Pixel(x, y)));
  };
  auto inside = [&](std::int64_t x, std::int64_t y) {
    return x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
  };
  auto stamp = [&](std::int64_t x, std::int64_t y) {
    for (int dy = 0; dy < pen.width; ++dy)
      for (int dx = 0; dx < pen.width; ++dx) {
        const std::int64_t px = x - pen.width / 2 + dx, py = y - pen.width / 2 + dy;
        if (inside(px, py)) covered.insert({int(px), int(py)});
      }
  };
  if (pen.width > 1) {
    for (const StepPixel& p : pixels) stamp(p.x, p.y);
    stamp(x1, y1);
    for (const auto& [x, y] : covered) apply(x, y, pen.color, pen.mode);
    return image;
  }
  const int period = pen.pattern.Period();
  for (const StepPixel& p : pixels) {
    const int place = period > 0 ? int((position + p.step) % period) : 0;
    if (pen.pattern.IsOn(place)) apply(p.x, p.y, pen.color, pen.mode);
    else if (pen.fill_gaps) apply(p.x, p.y, pen.gap_color, pmCopy);
  }
  return image;
}

// Ends far beyond the image, up to the int range's edges (as a value mapped just inside the
// pixel guard gives): the pixels inside the clip are those of the rules, and no step outside
// the clip is walked (a walk over 2^32 pixels would not finish in time).
TEST(gdi_raster_test, lines_with_far_ends_set_the_pixels_of_the_rules_within_the_clip) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  struct Line {
    int x0, y0, x1, y1;
  };
  const Line lines[] = {
      {kMin, 10, kMax, 20},   {10, kMin, 20, kMax},     {kMin, kMin, kMax, kMax}, {15, 12, kMax, kMin},
      {kMax, 12, -5, 12},     {12, kMax, 12, kMin},     {kMin, kMax, kMax, kMin}, {kMax - 3, 9, kMin + 7, 17},
      {20, 9, 21, kMin},      {kMin, 6, 30, 8},         {-1000000000, 7, 1000000000, 19},
  };
  const TRect clip{7, 5, 27, 20};
  int drawn = 0;
  for (const auto& [name, pen] : EveryKindOfPen())
    for (const Line& l : lines) {
      TBitmap image = BlankImage(40, 30);
      image.SetPixel(12, 12, 0xFF123456);
      const TBitmap expected = ReferenceFarLine(image, clip, l.x0, l.y0, l.x1, l.y1, pen, 4);
      int position = 4;
      gdi::Raster(image, clip).Line(l.x0, l.y0, l.x1, l.y1, pen, position);
      EXPECT_TRUE(image == expected) << name << ": " << l.x0 << "," << l.y0 << "->" << l.x1 << "," << l.y1;
      const int period = pen.pattern.Period();
      if (pen.width <= 1 && period > 0) {
        const std::int64_t length = std::max(std::abs(std::int64_t(l.x1) - l.x0), std::abs(std::int64_t(l.y1) - l.y0));
        EXPECT_EQ(position, (4 + length) % period) << name;
      }
      drawn += !(image == BlankImage(40, 30));
    }
  EXPECT_GT(drawn, 40);  // most lines cross the clip
}
