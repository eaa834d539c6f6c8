// The device cases and the comparison of a device's drawing with them.
#include "device_cases.h"

#include <cstdio>
#include <cstdlib>

#include "chart/pens.h"
#include "plain_device.h"

namespace {

constexpr int kSide = 64;
constexpr TRgb kWhite = kRgbWhite;
constexpr TRgb kPurple = MakeRgb(0x90, 0x10, 0x70);
const rtl::Text kLabel = "\xD8\xE0\xF0\xFB 12";  // "Шары 12"

template <int L, int T, int R, int B>
TRect Box(const TCanvas&) {
  return {L, T, R, B};
}

void Line(TCanvas& c, int x0, int y0, int x1, int y1) {
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

void StyledLine(TCanvas& c, TPenStyle style) {
  c.Pen().SetStyle(style);
  Line(c, 4, 20, 60, 20);
}

void Hatch(TCanvas& c, TBrushStyle style) {
  c.Brush().SetStyle(style);
  c.SetBackgroundMode(OPAQUE);
  c.FillRect({6, 6, 46, 38});
}

// Four colours in the quarters of a picture.
TBitmap Quarters(int width, int height) {
  TBitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.SetPixel(x, y, y < height / 2 ? (x < width / 2 ? kCaseInk : kCaseBrush)
                                            : (x < width / 2 ? kCaseBackground : kPurple));
  return picture;
}

// A brush tile of 3 x 2: (0,0) ink, (0,1) background, the rest brush but (1,1) ink.
TBitmap Tile() {
  TBitmap tile(3, 2, kCaseBrush);
  tile.SetPixel(0, 0, kCaseInk);
  tile.SetPixel(1, 1, kCaseInk);
  tile.SetPixel(0, 1, kCaseBackground);
  return tile;
}

void Label(TCanvas& c, int x, int y, unsigned align, int escapement) {
  c.SetBackgroundMode(OPAQUE);
  c.SetTextAlign(align);
  c.SetFontEscapement(escapement);
  c.OutputText(x, y, kLabel);
}

// The label's cell at (4, 20), upright, from the top left.
TRect UprightCell(const TCanvas& c) {
  const TTextExtent e = c.TextExtent(kLabel);
  return {4, 20, 4 + e.Width, 20 + e.Height};
}

const std::vector<DeviceCase> kCases = {
    // Lines with each pen, rectangles, solid fills and pictures copied: the engine's pixels.
    {.name = "solid line", .draw = [](TCanvas& c) { Line(c, 4, 6, 50, 30); }, .region = Box<4, 6, 50, 31>, .slack = 1,
     .colours = {kCaseInk}, .engine = true},
    {.name = "wide line",
     .draw =
         [](TCanvas& c) {
           c.Pen().SetWidth(2);
           Line(c, 4, 10, 40, 10);
         },
     .region = Box<3, 9, 41, 11>, .colours = {kCaseInk}, .engine = true},
    {.name = "dashed line", .draw = [](TCanvas& c) { StyledLine(c, psDash); }, .region = Box<4, 20, 60, 21>,
     .slack = 6, .colours = {kCaseInk}, .engine = true},
    {.name = "dotted line", .draw = [](TCanvas& c) { StyledLine(c, psDot); }, .region = Box<4, 20, 60, 21>,
     .slack = 6, .colours = {kCaseInk}, .engine = true},
    {.name = "dash-dot line", .draw = [](TCanvas& c) { StyledLine(c, psDashDot); }, .region = Box<4, 20, 60, 21>,
     .slack = 6, .colours = {kCaseInk}, .engine = true},
    {.name = "dash-dot-dot line", .draw = [](TCanvas& c) { StyledLine(c, psDashDotDot); },
     .region = Box<4, 20, 60, 21>, .slack = 6, .colours = {kCaseInk}, .engine = true},
    {.name = "inside-frame line", .draw = [](TCanvas& c) { StyledLine(c, psInsideFrame); },
     .region = Box<4, 20, 60, 21>, .colours = {kCaseInk}, .engine = true},
    {.name = "clear pen's line", .draw = [](TCanvas& c) { StyledLine(c, psClear); }, .region = Box<0, 0, 0, 0>,
     .engine = true},
    {.name = "alternate pixels' line",
     .draw =
         [](TCanvas& c) {
           c.Pen().SelectAlternateCosmeticHandle(ColorOfRgb(kCaseInk));
           Line(c, 4, 20, 60, 20);
         },
     .region = Box<4, 20, 60, 21>, .slack = 1, .colours = {kCaseInk}, .samples = {{{5, 20}, kWhite}}, .engine = true},
    {.name = "rectangle", .draw = [](TCanvas& c) { c.Rectangle(8, 8, 40, 30); }, .region = Box<8, 8, 40, 30>,
     .colours = {kCaseInk, kCaseBrush}, .samples = {{{20, 20}, kCaseBrush}}, .engine = true},
    {.name = "solid fill", .draw = [](TCanvas& c) { c.FillRect({10, 12, 30, 20}); }, .region = Box<10, 12, 30, 20>,
     .colours = {kCaseBrush}, .engine = true},
    {.name = "picture", .draw = [](TCanvas& c) { c.DrawImage(12, 14, Quarters(8, 6)); },
     .region = Box<12, 14, 20, 20>, .colours = {kCaseInk, kCaseBrush, kCaseBackground, kPurple}, .engine = true},
    {.name = "clipped line",
     .draw =
         [](TCanvas& c) {
           c.IntersectClipRect({10, 0, 30, kSide});
           Line(c, 4, 6, 50, 30);
         },
     .region = Box<10, 8, 30, 21>, .slack = 2, .colours = {kCaseInk}, .engine = true},

    // Hatches, bitmap brushes, gradients, shapes, stretched pictures and text: the device's.
    {.name = "horizontal hatch", .draw = [](TCanvas& c) { Hatch(c, bsHorizontal); }, .region = Box<6, 6, 46, 38>,
     .colours = {kCaseBrush, kCaseBackground}, .lines = kRows},
    {.name = "vertical hatch", .draw = [](TCanvas& c) { Hatch(c, bsVertical); }, .region = Box<6, 6, 46, 38>,
     .colours = {kCaseBrush, kCaseBackground}, .lines = kColumns},
    {.name = "falling diagonal hatch", .draw = [](TCanvas& c) { Hatch(c, bsFDiagonal); },
     .region = Box<6, 6, 46, 38>, .colours = {kCaseBrush, kCaseBackground}, .lines = kFalling},
    {.name = "rising diagonal hatch", .draw = [](TCanvas& c) { Hatch(c, bsBDiagonal); },
     .region = Box<6, 6, 46, 38>, .colours = {kCaseBrush, kCaseBackground}, .lines = kRising},
    {.name = "cross hatch", .draw = [](TCanvas& c) { Hatch(c, bsCross); }, .region = Box<6, 6, 46, 38>,
     .colours = {kCaseBrush, kCaseBackground}, .lines = kRows | kColumns},
    {.name = "diagonal cross hatch", .draw = [](TCanvas& c) { Hatch(c, bsDiagCross); }, .region = Box<6, 6, 46, 38>,
     .colours = {kCaseBrush, kCaseBackground}, .lines = kFalling | kRising},
    {.name = "hatched rectangle, gaps left",
     .draw =
         [](TCanvas& c) {
           c.Brush().SetStyle(bsCross);
           c.Rectangle(6, 6, 46, 38);
         },
     .region = Box<6, 6, 46, 38>, .colours = {kCaseInk, kCaseBrush}, .samples = {{{6, 6}, kCaseInk}}},
    {.name = "bitmap brush",
     .draw =
         [](TCanvas& c) {
           c.Brush().SetBitmap(Tile());
           c.FillRect({5, 7, 21, 15});
         },
     .region = Box<5, 7, 21, 15>, .colours = {kCaseInk, kCaseBrush, kCaseBackground},
     .samples = {{{6, 8}, kCaseInk}, {{7, 8}, kCaseBrush}, {{6, 9}, kCaseBackground}, {{7, 9}, kCaseInk}}},
    {.name = "vertical gradient",
     .draw = [](TCanvas& c) { c.GradientFill({8, 4, 40, 60}, kCaseBrush, kCaseBackground, true); },
     .region = Box<8, 4, 40, 60>,
     .samples = {{{8, 4}, kCaseBrush, 12}, {{39, 4}, kCaseBrush, 12}, {{8, 59}, kCaseBackground, 12},
                 {{39, 59}, kCaseBackground, 12}},
     .blends = true},
    {.name = "horizontal gradient",
     .draw = [](TCanvas& c) { c.GradientFill({4, 8, 60, 40}, kCaseBrush, kCaseBackground, false); },
     .region = Box<4, 8, 60, 40>,
     .samples = {{{4, 8}, kCaseBrush, 12}, {{4, 39}, kCaseBrush, 12}, {{59, 8}, kCaseBackground, 12},
                 {{59, 39}, kCaseBackground, 12}},
     .blends = true},
    {.name = "ellipse", .draw = [](TCanvas& c) { c.Ellipse(8, 8, 48, 40); }, .region = Box<8, 8, 48, 40>, .slack = 1,
     .colours = {kCaseInk, kCaseBrush}, .samples = {{{28, 24}, kCaseBrush}, {{8, 8}, kWhite}}},
    // Wine's GDI ends this quarter arc three pixels before the ray through its end point.
    {.name = "arc", .draw = [](TCanvas& c) { c.Arc(8, 8, 48, 40, 48, 24, 28, 8); }, .region = Box<27, 8, 48, 25>,
     .slack = 3, .colours = {kCaseInk}},
    {.name = "pie", .draw = [](TCanvas& c) { c.Pie(8, 8, 48, 40, 48, 24, 28, 8); }, .region = Box<27, 8, 48, 25>,
     .slack = 2, .colours = {kCaseInk, kCaseBrush}, .samples = {{{38, 16}, kCaseBrush}}},
    {.name = "round rectangle", .draw = [](TCanvas& c) { c.RoundRect(8, 8, 48, 40, 16, 16); },
     .region = Box<8, 8, 48, 40>, .slack = 1, .colours = {kCaseInk, kCaseBrush},
     .samples = {{{28, 24}, kCaseBrush}, {{8, 8}, kWhite}, {{47, 39}, kWhite}}},
    {.name = "polygon",
     .draw =
         [](TCanvas& c) {
           const TPoint corners[] = {{8, 40}, {28, 6}, {50, 40}};
           c.Polygon(corners, 3);
         },
     .region = Box<8, 6, 51, 41>, .slack = 1, .colours = {kCaseInk, kCaseBrush},
     .samples = {{{28, 30}, kCaseBrush}, {{9, 7}, kWhite}}},
    {.name = "stretched picture", .draw = [](TCanvas& c) { c.StretchDraw({10, 10, 42, 30}, Quarters(2, 2)); },
     .region = Box<10, 10, 42, 30>, .colours = {kCaseInk, kCaseBrush, kCaseBackground, kPurple},
     .samples = {{{18, 15}, kCaseInk}, {{34, 15}, kCaseBrush}, {{18, 25}, kCaseBackground}, {{34, 25}, kPurple}}},
    {.name = "text", .draw = [](TCanvas& c) { Label(c, 4, 20, TA_LEFT | TA_TOP, 0); }, .region = UprightCell,
     .colours = {kCaseInk, kCaseBackground}},
    {.name = "text centred on its baseline", .draw = [](TCanvas& c) { Label(c, 32, 30, TA_CENTER | TA_BASELINE, 0); },
     .region =
         [](const TCanvas& c) {
           const TTextExtent e = c.TextExtent(kLabel);
           return TRect{32 - e.Width / 2, 30 - e.Ascent, 32 - e.Width / 2 + e.Width, 30 - e.Ascent + e.Height};
         },
     .colours = {kCaseInk, kCaseBackground}},
    {.name = "text turned upward", .draw = [](TCanvas& c) { Label(c, 20, 60, TA_LEFT | TA_TOP, 900); },
     .region =
         [](const TCanvas& c) {
           const TTextExtent e = c.TextExtent(kLabel);
           return TRect{20, 60 - e.Width, 20 + e.Height, 60};
         },
     .colours = {kCaseInk, kCaseBackground}},

    // The clip, on what the device draws.
    {.name = "clipped ellipse",
     .draw =
         [](TCanvas& c) {
           c.IntersectClipRect({0, 0, 28, kSide});
           c.Ellipse(8, 8, 48, 40);
         },
     .region = Box<8, 8, 28, 40>, .slack = 1, .colours = {kCaseInk, kCaseBrush}},
    {.name = "clipped hatch",
     .draw =
         [](TCanvas& c) {
           c.IntersectClipRect({0, 0, kSide, 20});
           Hatch(c, bsCross);
         },
     .region = Box<6, 6, 46, 20>, .colours = {kCaseBrush, kCaseBackground}, .lines = kRows | kColumns},
    {.name = "clipped text",
     .draw =
         [](TCanvas& c) {
           c.IntersectClipRect({0, 0, 20, kSide});
           Label(c, 4, 20, TA_LEFT | TA_TOP, 0);
         },
     .region = [](const TCanvas& c) { return Intersection(UprightCell(c), {0, 0, 20, kSide}); },
     .colours = {kCaseInk, kCaseBackground}},
};

// The state every case starts from: the chart's font, and the case colours.
void Prepare(TCanvas& canvas) {
  InitChartFont(canvas.Font(), {});
  canvas.Pen().SetColor(ColorOfRgb(kCaseInk));
  canvas.Brush().SetColor(ColorOfRgb(kCaseBrush));
  canvas.SetTextColor(kCaseInk);
  canvas.SetBackgroundColor(kCaseBackground);
  canvas.SetBackgroundMode(TRANSPARENT);
}

std::string At(int x, int y) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d)", x, y);
  return text;
}

std::string ColourName(TRgb rgb) {
  char text[16];
  std::snprintf(text, sizeof text, "#%06X", unsigned(rgb & 0xFFFFFF));
  return text;
}

std::string Bounds(const TRect& r) { return At(r.Left, r.Top) + "-" + At(r.Right, r.Bottom); }

bool Near(TRgb a, TRgb b, int tolerance) {
  return std::abs(RgbRed(a) - RgbRed(b)) <= tolerance && std::abs(RgbGreen(a) - RgbGreen(b)) <= tolerance &&
         std::abs(RgbBlue(a) - RgbBlue(b)) <= tolerance;
}

// Every pixel of `area` along (dx, dy) through (x, y) has `colour`.
bool FullLine(const TBitmap& image, const TRect& area, int x, int y, int dx, int dy, TRgb colour) {
  while (area.Contains(x - dx, y - dy)) x -= dx, y -= dy;
  for (; area.Contains(x, y); x += dx, y += dy)
    if (image.Pixel(x, y) != colour) return false;
  return true;
}

std::string HatchMismatch(const TBitmap& image, const TRect& area, unsigned lines) {
  static constexpr struct {
    unsigned line;
    int dx, dy;
  } kDirections[] = {{kRows, 1, 0}, {kColumns, 0, 1}, {kFalling, 1, 1}, {kRising, 1, -1}};
  unsigned found = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      bool on_line = false;
      for (const auto& d : kDirections)
        if ((lines & d.line) && FullLine(image, area, x, y, d.dx, d.dy, kCaseBrush)) on_line = true, found |= d.line;
      if (on_line != (image.Pixel(x, y) == kCaseBrush)) return "the hatch's lines broken at " + At(x, y);
    }
  return found == lines ? "" : "hatch lines missing in a direction";
}

// The changed pixels against the region, the colours and the samples.
std::string ExpectationMismatch(const TBitmap& image, const DeviceCase& c, const TRect& region) {
  TRect ink{kSide, kSide, 0, 0};
  std::vector<bool> seen(c.colours.size());
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TRgb pixel = image.Pixel(x, y);
      if (pixel == kWhite) continue;
      if (!region.Contains(x, y)) return "drawn outside " + Bounds(region) + " at " + At(x, y);
      ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1), std::max(ink.Bottom, y + 1)};
      bool known = false;
      for (std::size_t i = 0; i < c.colours.size(); ++i)
        if (pixel == c.colours[i]) seen[i] = known = true;
      if (!known && !c.blends) return "colour " + ColourName(pixel) + " at " + At(x, y);
    }
  if (region.IsEmpty()) return "";
  if (ink.IsEmpty()) return "nothing drawn";
  if (ink.Left - region.Left > c.slack || ink.Top - region.Top > c.slack || region.Right - ink.Right > c.slack ||
      region.Bottom - ink.Bottom > c.slack)
    return "drawn in " + Bounds(ink) + ", not over " + Bounds(region);
  for (std::size_t i = 0; i < c.colours.size(); ++i)
    if (!seen[i]) return "no pixel of " + ColourName(c.colours[i]);
  for (const CaseSample& s : c.samples)
    if (!Near(image.Pixel(s.at.X, s.at.Y), s.colour, s.tolerance))
      return ColourName(image.Pixel(s.at.X, s.at.Y)) + " at " + At(s.at.X, s.at.Y) + ", not " + ColourName(s.colour);
  return c.lines != kNoLines ? HatchMismatch(image, region, c.lines) : "";
}

std::string PixelMismatch(const TBitmap& image, const TBitmap& reference) {
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if (image.Pixel(x, y) != reference.Pixel(x, y))
        return ColourName(image.Pixel(x, y)) + " at " + At(x, y) + ", the engine's " + ColourName(reference.Pixel(x, y));
  return "";
}

}  // namespace

const std::vector<DeviceCase>& DeviceCases() { return kCases; }

std::string DeviceCaseMismatch(TChartDevice& device, const DeviceCase& c) {
  TBitmap frame = device.CreateFrame(kSide, kSide);
  TCanvas canvas(device, &frame);
  Prepare(canvas);
  c.draw(canvas);
  if (c.engine) {
    TPlainDevice plain(7, PlainDrawing::kDrawn);
    TBitmap reference(kSide, kSide);
    TCanvas engine(plain, &reference);
    Prepare(engine);
    c.draw(engine);
    if (std::string mismatch = PixelMismatch(frame, reference); !mismatch.empty()) return mismatch;
  }
  return ExpectationMismatch(frame, c, c.region(canvas));
}
