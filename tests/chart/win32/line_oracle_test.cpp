// The line oracle: the engine's rasteriser and real GDI (MoveToEx/LineTo, Rectangle and
// FillRect on a DIB section) set the same pixels, for every pen the chart draws with (solid,
// the dash styles, the alternate-pixel pen, the clear pen, widths 1 and 2), every raster
// operation, both background modes of a styled pen, with and without a clip rectangle, over a
// table of segments and rectangles: ends in every octant with ties, one-pixel lines, both
// diagonals both ways, lines along the clip's edges and ends far outside the frame. The frame
// starts as a pattern of varied colours, so that every raster operation shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "chart/device_canvas.h"
#include "chart/win32/gdi_device.h"
#include "chart/win32/gdi_surface.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr TRgb kPen = MakeRgb(0x12, 0x9A, 0xF0);
constexpr TRgb kBrush = MakeRgb(0xE4, 0x31, 0x5C);
constexpr TRgb kGap = MakeRgb(0x33, 0x66, 0x99);
constexpr int kFar = 1 << 26;  // GDI's coordinates reach 2^27

struct PenCase {
  const char* name;
  TPenStyle style;
  int width;
  bool alternate;  // the alternate-pixel cosmetic pen (SmallDots)
};
const PenCase kPens[] = {
    {"solid", psSolid, 1, false},    {"dot", psDot, 1, false},          {"dash", psDash, 1, false},
    {"dash-dot", psDashDot, 1, false}, {"dash-dot-dot", psDashDotDot, 1, false}, {"alternate", psSolid, 1, true},
    {"clear", psClear, 1, false},    {"solid 2", psSolid, 2, false},    {"dot 2", psDot, 2, false},
};

// The pen, mode and background on both sides.
struct PenSetup {
  const PenCase& pen;
  TPenMode mode;
  int background_mode;
  std::optional<TRect> clip;
  bool brush;  // a solid brush (rectangles); else clear

  std::string Name() const {
    std::ostringstream name;
    name << pen.name << ", mode " << int(mode) << (background_mode == OPAQUE ? ", opaque" : "")
         << (clip ? ", clipped" : "") << (brush ? ", brush" : "");
    return name.str();
  }
};

struct Segment {
  int x0, y0, x1, y1;
};
const Segment kSegments[] = {
    {2, 5, 40, 5},     {40, 7, 2, 7},       {5, 2, 5, 40},      {7, 40, 7, 2},          // along a row, a column
    {9, 9, 10, 9},     {10, 11, 9, 11},     {12, 9, 12, 10},    {13, 10, 13, 9},        // one pixel
    {20, 20, 20, 20},                                                                    // no length
    {3, 3, 40, 40},    {40, 40, 3, 3},      {40, 3, 3, 40},     {3, 40, 40, 3},         // both diagonals
    {0, 0, 2, 1},      {2, 1, 0, 0},        {0, 0, 1, 2},       {1, 2, 0, 0},           // ties
    {30, 20, 50, 27},  {50, 30, 31, 21},    {30, 20, 37, 44},   {37, 44, 30, 21},       // every octant
    {30, 20, 10, 25},  {10, 25, 30, 20},    {30, 20, 24, 1},    {24, 1, 31, 20},
    {10, 8, 50, 8},    {10, 39, 50, 39},    {10, 8, 10, 40},    {49, 8, 49, 40},        // the clip's edges
    {-kFar, 10, kFar, 30}, {30, kFar, 33, -kFar}, {-kFar, -kFar + 7, kFar, kFar + 7},   // far outside
    {-100000, 44, 63, 0},  {63, 47, 100000, -3},  {70, -5, -9, 60},
    {-kFar, 12, kFar, 12}, {34, kFar, 34, -kFar}, {-100000, 47, 100000, 47},
};

// Wide pens draw the axis lines, along a row or a column; GDI's wide pens give a slanting
// line a body of its own shape, which the rasteriser does not follow.
bool DrawnWith(const PenSetup& setup, const Segment& s) {
  return setup.pen.width == 1 || s.x0 == s.x1 || s.y0 == s.y1;
}

struct RectCase {
  int left, top, right, bottom;
};
bool DrawnWith(const PenSetup&, const RectCase&) { return true; }
const RectCase kRectangles[] = {
    {5, 5, 30, 20}, {30, 20, 5, 5}, {8, 8, 9, 9}, {8, 8, 10, 10}, {8, 8, 11, 30},
    {12, 3, 12, 30}, {-10, -10, 70, 60}, {40, 30, 90, 90}, {1, 1, 63, 47},
};

const std::optional<TRect> kClips[] = {std::nullopt, TRect{10, 8, 50, 40}};

// A frame of varied colours, the same for both sides.
TBitmap Pattern(TBitmap bitmap) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) bitmap.SetPixel(x, y, MakeRgb(x * 4, y * 5, (x * 7 + y * 3) & 0xFF));
  return bitmap;
}


class GdiSide {
 public:
  explicit GdiSide(const PenSetup& setup) : bitmap_(Pattern(gdi::MakeDibBitmap(kWidth, kHeight))) {
    HDC dc = gdi::DeviceContextOf(bitmap_);
    const COLORREF color = gdi::ColorRefOf(kPen);
    if (setup.pen.alternate) {
      const LOGBRUSH solid{BS_SOLID, color, 0};
      pen_ = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &solid, 0, nullptr);
    } else {
      const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
      pen_ = CreatePen(styles[setup.pen.style], setup.pen.width, color);
    }
    brush_ = setup.brush ? CreateSolidBrush(gdi::ColorRefOf(kBrush)) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    SelectObject(dc, pen_);
    SelectObject(dc, brush_);
    SetROP2(dc, gdi::RasterOperationOf(setup.mode));
    SetBkMode(dc, setup.background_mode);
    SetBkColor(dc, gdi::ColorRefOf(kGap));
    if (setup.clip) {
      HRGN region = CreateRectRgn(setup.clip->Left, setup.clip->Top, setup.clip->Right, setup.clip->Bottom);
      SelectClipRgn(dc, region);
      DeleteObject(region);
    }
  }
  ~GdiSide() {
    HDC dc = gdi::DeviceContextOf(bitmap_);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen_);
    DeleteObject(brush_);
  }
  HDC Dc() const { return gdi::DeviceContextOf(bitmap_); }
  const TBitmap& Pixels() {
    GdiFlush();
    return bitmap_;
  }

 private:
  TBitmap bitmap_;
  HPEN pen_;
  HBRUSH brush_;
};

class EngineSide {
 public:
  EngineSide(TChartDevice& device, const PenSetup& setup) : bitmap_(Pattern(TBitmap(kWidth, kHeight))), canvas_(device, &bitmap_) {
    TPen& pen = canvas_.Pen();
    pen.SetColor(ColorOfRgb(kPen));
    pen.SetStyle(setup.pen.style);
    pen.SetWidth(setup.pen.width);
    pen.SetMode(setup.mode);
    if (setup.pen.alternate) pen.SelectAlternateCosmeticHandle(ColorOfRgb(kPen));
    canvas_.Brush().SetColor(ColorOfRgb(kBrush));
    canvas_.Brush().SetStyle(setup.brush ? bsSolid : bsClear);
    canvas_.SetBackgroundMode(setup.background_mode);
    canvas_.SetBackgroundColor(kGap);
    if (setup.clip) canvas_.IntersectClipRect(*setup.clip);
  }
  TCanvas& Canvas() { return canvas_; }
  const TBitmap& Pixels() const { return bitmap_; }

 private:
  TBitmap bitmap_;
  TCanvas canvas_;
};

// "" when both have the same colours everywhere; else where they first differ.
std::string Difference(const TBitmap& gdi, const TBitmap& engine) {
  int differing = 0;
  std::ostringstream first;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (((gdi.Pixel(x, y) ^ engine.Pixel(x, y)) & 0xFFFFFF) != 0 && differing++ == 0)
        first << " first at (" << x << "," << y << "): GDI " << std::hex << (gdi.Pixel(x, y) & 0xFFFFFF)
              << ", engine " << (engine.Pixel(x, y) & 0xFFFFFF) << std::dec;
  return differing == 0 ? "" : std::to_string(differing) + " pixels differ," + first.str();
}

// Every pen, mode, background mode (for the pens that have gaps) and clip.
std::vector<PenSetup> Setups(bool brush) {
  std::vector<PenSetup> setups;
  for (const PenCase& pen : kPens)
    for (int mode = pmBlack; mode <= pmNotXor; ++mode)
      for (int background : {TRANSPARENT, OPAQUE}) {
        const bool has_gaps = pen.width == 1 && pen.style != psSolid && pen.style != psClear && !pen.alternate;
        if (background == OPAQUE && !has_gaps) continue;
        for (const auto& clip : kClips) setups.push_back({pen, TPenMode(mode), background, clip, brush});
      }
  return setups;
}

class LineOracleTest : public ::testing::Test {
 protected:
  // Runs `draw` on both sides for every setup and case the setup's pen draws; returns the
  // number of comparisons.
  template <class Case, std::size_t N, class Gdi, class Engine>
  int Compare(const std::vector<PenSetup>& setups, const Case (&cases)[N], Gdi&& gdi_draw, Engine&& engine_draw) {
    int compared = 0, failed = 0;
    for (const PenSetup& setup : setups)
      for (std::size_t i = 0; i < N; ++i) {
        if (!DrawnWith(setup, cases[i])) continue;
        GdiSide gdi(setup);
        EngineSide engine(device_, setup);
        gdi_draw(gdi.Dc(), cases[i]);
        engine_draw(engine.Canvas(), cases[i]);
        const std::string difference = Difference(gdi.Pixels(), engine.Pixels());
        ++compared;
        if (!difference.empty() && ++failed <= 20) ADD_FAILURE() << setup.Name() << ", case " << i << ": " << difference;
      }
    EXPECT_EQ(failed, 0) << "of " << compared;
    return compared;
  }

  TGdiChartDevice device_;
};

TEST_F(LineOracleTest, line_to_sets_the_pixels_gdi_sets) {
  const int compared = Compare(
      Setups(false), kSegments,
      [](HDC dc, const Segment& s) {
        MoveToEx(dc, s.x0, s.y0, nullptr);
        LineTo(dc, s.x1, s.y1);
      },
      [](TCanvas& canvas, const Segment& s) {
        canvas.MoveTo(s.x0, s.y0);
        canvas.LineTo(s.x1, s.y1);
      });
  std::printf("line oracle: %d segments drawn both ways\n", compared);
}

TEST_F(LineOracleTest, rectangle_sets_the_pixels_gdi_sets) {
  for (bool brush : {false, true}) {
    const int compared = Compare(
        Setups(brush), kRectangles, [](HDC dc, const RectCase& r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); },
        [](TCanvas& canvas, const RectCase& r) { canvas.Rectangle(r.left, r.top, r.right, r.bottom); });
    std::printf("line oracle: %d rectangles drawn both ways%s\n", compared, brush ? " with a brush" : "");
  }
}

// FillRect copies the brush whatever the pen and its raster operation.
TEST_F(LineOracleTest, fill_rect_sets_the_pixels_gdi_sets) {
  std::vector<PenSetup> setups;
  for (const auto& clip : kClips) setups.push_back({kPens[0], pmNotXor, TRANSPARENT, clip, true});
  const int compared = Compare(
      setups, kRectangles,
      [](HDC dc, const RectCase& r) {
        HBRUSH brush = CreateSolidBrush(gdi::ColorRefOf(kBrush));
        const RECT area{r.left, r.top, r.right, r.bottom};
        FillRect(dc, &area, brush);
        DeleteObject(brush);
      },
      [](TCanvas& canvas, const RectCase& r) { canvas.FillRect({r.left, r.top, r.right, r.bottom}); });
  std::printf("line oracle: %d fills drawn both ways\n", compared);
}

}  // namespace
