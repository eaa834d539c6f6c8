// The fast line series: what it draws per point, the colour tie with its pen, the hit test,
// drawing a new point at once, and the merged column runs against drawing every segment.
#include "chart/fast_line_series.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "chart/axis.h"
#include "chart/canvas.h"
#include "pixel_image.h"
#include "plain_device.h"
#include "recording_canvas.h"
#include "recording_chart_host.h"

namespace {

using Calls = std::vector<std::string>;

// A host whose canvas is the one given and whose axes map values 0..200 to pixels as
// x = value and y = 200 - value on a plot area of (0, 0, 200, 200).
class CanvasHost : public RecordingChartHost {
 public:
  explicit CanvasHost(TChartCanvas& canvas) : canvas_(canvas) {
    plot_area = {0, 0, 200, 200};
    FixRange(Axes().Bottom(), 0, 200);
    FixRange(Axes().Left(), 0, 200);
  }
  TChartCanvas* Canvas() const override { return &canvas_; }
  bool View3D() const override { return view3d; }

  static void FixRange(TCustomChartAxis& axis, double minimum, double maximum) {
    axis.SetAutomatic(false);
    axis.SetMinimum(std::min(minimum, axis.Minimum()));
    axis.SetMaximum(maximum);
    axis.SetMinimum(minimum);
  }
  // What a paint does before it draws the series.
  void PrepareSeries(TChartSeries& series) {
    UpdateAxes();
    series.ComputeVisibleRange();
  }

  bool view3d = false;

 private:
  TChartCanvas& canvas_;
};

// Value of a pixel row under CanvasHost's left axis.
double RowValue(int y) { return 200 - y; }

// Calls that draw or move the pen.
Calls LineCalls(const TRecordingCanvas& canvas) {
  Calls lines;
  for (const std::string& call : canvas.Calls())
    if (call.starts_with("MovePen") || call.starts_with("DrawLine")) lines.push_back(call);
  return lines;
}

struct RecordingFixture : ::testing::Test {
  RecordingFixture() { series.SetParentChart(&host); }
  ~RecordingFixture() override { series.SetParentChart(nullptr); }

  void AddPixels(const std::vector<TPoint>& pixels) {
    for (TPoint pixel : pixels) series.AddPoint(pixel.X, RowValue(pixel.Y));
  }
  void Paint() {
    host.PrepareSeries(series);
    canvas.Clear();
    series.DrawPoints();
  }

  TRecordingCanvas canvas;
  CanvasHost host{canvas};
  TFastLineSeries series;
};

TEST(FastLineSeriesTest, ConstructorSettings) {
  TFastLineSeries series;
  EXPECT_TRUE(series.DrawsBetweenPoints());
  EXPECT_FALSE(series.AllowsSinglePoint());
  EXPECT_TRUE(series.AutoRepaint());
  EXPECT_TRUE(series.LinePen().Visible());
  EXPECT_EQ(series.EditorClassName(), "TFastLineSeriesEditor");
}

using FastLineDrawTest = RecordingFixture;

TEST_F(FastLineDrawTest, OnePointOnlyMovesThePen) {
  AddPixels({{30, 70}});
  Paint();
  EXPECT_EQ(LineCalls(canvas), (Calls{"MovePen(30,70)"}));
}

TEST_F(FastLineDrawTest, PointOnTheLastDrawnEndDrawsNothing) {
  AddPixels({{10, 50}, {10, 50}, {20, 40}});
  Paint();
  EXPECT_EQ(LineCalls(canvas), (Calls{"MovePen(10,50)", "DrawLineTo(20,40)"}));
  EXPECT_EQ(series.LastDrawnX(), 20);
  EXPECT_EQ(series.LastDrawnY(), 40);
}

TEST_F(FastLineDrawTest, LineStartsAtThePointBeforeTheLeftEdgeAndEndsBeyondTheRightEdge) {
  for (int i = 0; i <= 10; ++i) series.AddPoint(i * 10, 100 + i);
  // 35..75 over 200 pixels: 5 pixels per unit, the edges between points 3 and 4 and 7 and 8.
  CanvasHost::FixRange(host.Axes().Bottom(), 35, 75);
  Paint();
  EXPECT_EQ(series.FirstVisibleIndex(), 4);
  EXPECT_EQ(series.LastVisibleIndex(), 8);
  EXPECT_EQ(LineCalls(canvas), (Calls{"DrawLineSegment(-25,97,25,96)", "DrawLineTo(75,95)", "DrawLineTo(125,94)",
                                      "DrawLineTo(175,93)", "DrawLineTo(225,92)"}));
}

TEST_F(FastLineDrawTest, BlankPointIsDrawnInTheLine) {
  AddPixels({{10, 50}, {20, 60}});
  series.AddBlankPointAt(30, RowValue(40));
  AddPixels({{40, 70}});
  Paint();
  EXPECT_TRUE(series.IsBlankPoint(2));
  EXPECT_EQ(LineCalls(canvas),
            (Calls{"MovePen(10,50)", "DrawLineTo(20,60)", "DrawLineTo(30,40)", "DrawLineTo(40,70)"}));
}

TEST_F(FastLineDrawTest, LinePenIsSetOnceWithAClearBrush) {
  series.LinePen().SetColor(clRed);
  series.LinePen().SetWidth(2);
  AddPixels({{10, 50}, {20, 60}});
  Paint();
  const TRecordedCall& line = canvas.Records().back();
  EXPECT_EQ(line.call, "DrawLineTo(20,60)");
  EXPECT_EQ(line.pen_color, clRed);
  EXPECT_EQ(line.pen_width, 2);
  EXPECT_EQ(line.brush_style, bsClear);
}

TEST_F(FastLineDrawTest, HiddenPenDrawsWithAClearPen) {
  series.LinePen().SetVisible(false);
  AddPixels({{10, 50}, {20, 60}});
  Paint();
  ASSERT_FALSE(canvas.Records().empty());
  EXPECT_EQ(canvas.Records().back().pen_style, psClear);
}

TEST_F(FastLineDrawTest, ThreeDimensionalChartUsesTheDepthFormsAtTheMiddleDepth) {
  host.view3d = true;
  series.DepthBand() = {2, 7, 12};
  for (int i = 0; i <= 4; ++i) series.AddPoint(i * 10, 100);
  CanvasHost::FixRange(host.Axes().Bottom(), 15, 40);  // 8 pixels per unit
  Paint();
  EXPECT_EQ(LineCalls(canvas), (Calls{"DrawLineSegmentAtDepth(-40,100,40,100,7)", "DrawLineToAtDepth(120,100,7)",
                                      "DrawLineToAtDepth(200,100,7)"}));
}

TEST_F(FastLineDrawTest, LegendSymbolIsAHorizontalLineAtTheMiddle) {
  series.LinePen().SetColor(clBlue);
  series.DrawLegendSymbol(0, {10, 20, 30, 25});
  ASSERT_EQ(canvas.Records().size(), 1u);
  EXPECT_EQ(canvas.Records()[0].call, "DrawHorizontalLine(10,30,22)");
  EXPECT_EQ(canvas.Records()[0].pen_color, clBlue);
}

TEST(FastLineColorTest, SeriesColorSetsThePenColour) {
  TFastLineSeries series;
  series.SetSeriesColor(clBlue);
  EXPECT_EQ(series.LinePen().Color(), clBlue);
}

TEST(FastLineColorTest, LinePenSetsTheSeriesColourAndKeepsItsPenObject) {
  TFastLineSeries series;
  TChartPen green;
  green.SetColor(0x008000);
  green.SetWidth(3);
  green.SetStyle(psDash);
  const TChartPen* own = &series.LinePen();
  series.SetLinePen(green);
  EXPECT_EQ(series.SeriesColor(), TColor(0x008000));
  EXPECT_EQ(&series.LinePen(), own);
  EXPECT_EQ(series.LinePen().Width(), 3);
  EXPECT_EQ(series.LinePen().Style(), psDash);
}

TEST(FastLineColorTest, PenColourAloneLeavesTheSeriesColour) {
  TFastLineSeries series;
  series.SetSeriesColor(clRed);
  series.LinePen().SetColor(clYellow);
  EXPECT_EQ(series.SeriesColor(), clRed);
}

TEST(FastLineColorTest, PenChangeRequestsARepaint) {
  RecordingChartHost host;
  TFastLineSeries series;
  series.SetParentChart(&host);
  const int before = host.invalidations;
  series.LinePen().SetWidth(2);
  EXPECT_EQ(host.invalidations, before + 1);
  series.LinePen().SetWidth(2);
  EXPECT_EQ(host.invalidations, before + 1);
  series.SetParentChart(nullptr);
}

TEST(FastLineAssignTest, CopiesAutoRepaintAndThePen) {
  TFastLineSeries source, target;
  source.SetAutoRepaint(false);
  source.LinePen().SetColor(clBlue);
  source.LinePen().SetSmallDots(true);
  target.Assign(source);
  EXPECT_FALSE(target.AutoRepaint());
  EXPECT_EQ(target.LinePen().Color(), clBlue);
  EXPECT_TRUE(target.LinePen().SmallDots());
}

using FastLineHitTest = RecordingFixture;

TEST_F(FastLineHitTest, NeverPaintedSeriesHitsNothing) {
  AddPixels({{10, 50}, {20, 60}});
  EXPECT_EQ(series.PointAtPixel(10, 50), -1);
}

TEST_F(FastLineHitTest, PointsAndSegmentsByTheirLeftIndex) {
  AddPixels({{0, 100}, {20, 100}, {40, 100}, {60, 100}, {80, 120}, {100, 160}, {120, 100}});
  Paint();
  struct Case {
    TPoint click;
    int index;
  };
  const Case cases[] = {
      {{40, 100}, 2},   // on a point
      {{90, 140}, 4},   // middle of the segment 4-5
      {{110, 180}, -1}, // beyond the right end of 4-5, on no other segment
      {{70, 110}, 3},   // middle of 3-4
      {{10, 100}, 0},   // on the first segment
      {{10, 101}, -1},  // one pixel off it
      {{130, 80}, -1},  // beyond the last point
  };
  for (const Case& c : cases) EXPECT_EQ(series.PointAtPixel(c.click.X, c.click.Y), c.index) << c.click.X << "," << c.click.Y;
}

TEST_F(FastLineHitTest, ExtensionLyingOnTheNextSegmentHitsThatSegment) {
  // 3-4 and 4-5 are collinear: the extension of 3-4 past point 4 is segment 4-5.
  AddPixels({{0, 100}, {20, 100}, {40, 100}, {60, 100}, {80, 120}, {100, 140}});
  Paint();
  EXPECT_EQ(series.PointAtPixel(90, 130), 4);
}

TEST_F(FastLineHitTest, ClickIsUnprojectedAtTheMiddleDepth) {
  AddPixels({{10, 50}, {20, 60}});
  series.DepthBand() = {0, 5, 10};
  Paint();
  canvas.Clear();
  series.PointAtPixel(10, 50);
  EXPECT_EQ(canvas.CallsStartingWith("UnprojectPixel("), (Calls{"UnprojectPixel(10,50,5)"}));
}

TEST_F(FastLineHitTest, PointsRemovedSinceThePaintAreNotHit) {
  AddPixels({{10, 50}, {20, 60}, {30, 70}});
  Paint();
  series.RemovePoint(2);
  EXPECT_EQ(series.PointAtPixel(30, 70), -1);
  EXPECT_EQ(series.PointAtPixel(20, 60), 1);
}

TEST(PointOnSegmentTest, Table) {
  struct Case {
    TPoint p, a, b;
    int tolerance;
    bool on;
  };
  const Case cases[] = {
      {{5, 5}, {0, 0}, {10, 10}, 0, true},    // on a diagonal
      {{5, 6}, {0, 0}, {10, 10}, 0, false},   // cross 10 = span 10: not below one pixel
      {{5, 0}, {0, 0}, {10, 0}, 0, true},     // on a horizontal
      {{0, 0}, {0, 0}, {10, 0}, 0, true},     // on an end
      {{10, 0}, {0, 0}, {10, 0}, 0, true},    // on the other end
      {{11, 0}, {0, 0}, {10, 0}, 0, false},   // one beyond
      {{-1, 0}, {0, 0}, {10, 0}, 0, false},   // one before
      {{11, 0}, {0, 0}, {10, 0}, 1, true},    // within the tolerance
      {{12, 0}, {10, 0}, {0, 0}, 1, false},   // beyond it, ends given the other way
      {{3, 3}, {3, 3}, {3, 3}, 0, false},     // a degenerate segment holds nothing
      {{0, 5}, {0, 0}, {0, 10}, 0, true},     // on a vertical
      {{0, 11}, {0, 10}, {0, 0}, 0, false},   // beyond a vertical's lower end
      {{4, 2}, {0, 0}, {10, 5}, 0, true},     // shallow slope, on the line
      {{4, 3}, {0, 0}, {10, 5}, 0, false},    // cross 10 = span 10
  };
  for (const Case& c : cases)
    EXPECT_EQ(PointOnSegment(c.p, c.a, c.b, c.tolerance), c.on)
        << "(" << c.p.X << "," << c.p.Y << ") on (" << c.a.X << "," << c.a.Y << ")-(" << c.b.X << "," << c.b.Y << ")";
}

using FastLineAutoRepaintTest = RecordingFixture;

TEST_F(FastLineAutoRepaintTest, TrueRequestsARepaintPerPoint) {
  int after_add = 0;
  series.OnAfterAdd = [&](TChartSeries&, int) { ++after_add; };
  const int before = host.invalidations;
  AddPixels({{10, 50}, {20, 60}});
  EXPECT_EQ(host.invalidations, before + 2);
  EXPECT_EQ(after_add, 2);
  EXPECT_TRUE(canvas.Records().empty());
}

TEST_F(FastLineAutoRepaintTest, FalseDrawsTheNewSegmentAtOnce) {
  series.LinePen().SetColor(clRed);
  AddPixels({{10, 50}, {20, 60}});
  Paint();
  int after_add = 0;
  series.OnAfterAdd = [&](TChartSeries&, int) { ++after_add; };
  series.SetAutoRepaint(false);
  const int before = host.invalidations;
  canvas.Clear();
  AddPixels({{30, 40}});
  EXPECT_EQ(host.invalidations, before);
  EXPECT_EQ(after_add, 0);
  EXPECT_EQ(LineCalls(canvas), (Calls{"MovePen(20,60)", "DrawLineTo(30,40)"}));
  EXPECT_EQ(canvas.Records().back().pen_color, clRed);
  EXPECT_EQ(series.PointCount(), 3);
}

TEST(FastLineAutoRepaintWithoutChartTest, FalseWithoutAChartStoresThePointOnly) {
  TFastLineSeries series;
  series.SetAutoRepaint(false);
  EXPECT_EQ(series.AddPoint(1, 2), 0);
  EXPECT_EQ(series.PointCount(), 1);
}

// --- pixels: merged column runs against one segment per point ------------------------------

struct PixelFixture : ::testing::Test {
  PixelFixture() : image(BlankImage(220, 220)), device(plain_device, &image), canvas(device) {
    series.SetParentChart(&host);
  }
  ~PixelFixture() override { series.SetParentChart(nullptr); }

  // Draws as the chart does (DrawPoints inside the plot area's clip) into a fresh image.
  TBitmap DrawAsChart() {
    return DrawClipped([&] { series.DrawPoints(); });
  }
  // The same line drawn one DrawPoint per visible point, with the pen DrawPoints sets.
  TBitmap DrawPointByPoint() {
    return DrawClipped([&] {
      canvas.ApplyChartPen(series.LinePen());
      canvas.Brush().SetStyle(bsClear);
      for (int i = series.FirstVisibleIndex(); i <= series.LastVisibleIndex(); ++i) series.DrawPoint(i);
    });
  }
  template <class Draw>
  TBitmap DrawClipped(Draw draw) {
    image.Fill(kBackground);
    host.PrepareSeries(series);
    canvas.ClipToBox(host.PlotArea(), 0, 0);
    draw();
    canvas.RemoveClipping();
    return image;
  }

  TPlainDevice plain_device;
  TBitmap image;
  TCanvas device;
  TChartCanvas3D canvas;
  CanvasHost host{canvas};
  TFastLineSeries series;
};

TEST_F(PixelFixture, SegmentsBeyondTheEdgesAreCutByTheClip) {
  for (int i = 0; i <= 10; ++i) series.AddPoint(i * 10, 100);
  CanvasHost::FixRange(host.Axes().Bottom(), 35, 75);
  const TBitmap drawn = DrawAsChart();
  // ClipToBox leaves columns 1..199 of the plot area (0, 0, 200, 200).
  EXPECT_EQ(InkBounds(drawn), (TRect{1, 100, 200, 101}));
}

TEST_F(PixelFixture, MergedRunsSetTheSamePixelsAsEverySegment) {
  std::mt19937 random(7);
  struct Case {
    int points;
    bool inverted;
    double first_x, last_x;
  };
  const Case cases[] = {{5000, false, -10, 210}, {3000, true, 0, 200}, {300, false, 20, 180}, {40, false, -5, 205}};
  for (const Case& c : cases) {
    series.ClearPoints();
    std::uniform_real_distribution<double> x_step(0, 2 * (c.last_x - c.first_x) / c.points);
    std::uniform_int_distribution<int> count(-10, 230);
    double x = c.first_x;
    for (int i = 0; i < c.points; ++i, x += x_step(random)) series.AddPoint(x, count(random));
    host.Axes().Left().SetInverted(c.inverted);
    const TBitmap merged = DrawAsChart();
    const TPoint merged_end{series.LastDrawnX(), series.LastDrawnY()};
    const TBitmap plain = DrawPointByPoint();
    EXPECT_GT(ChangedPixels(merged), 0);
    EXPECT_TRUE(merged == plain) << c.points << " points";
    EXPECT_EQ(merged_end, (TPoint{series.LastDrawnX(), series.LastDrawnY()}));
  }
}

// Thousands of points per column: each column's end is found by searching the ascending X
// values, on a normal and on a right-to-left axis, and must leave the same pixels.
// Each search starts from the length of the column before: evenly spaced points, and points
// in clusters whose columns are much longer or shorter than the one before.
TEST_F(PixelFixture, SearchedColumnEndsSetTheSamePixelsAsEverySegment) {
  ASSERT_EQ(series.XValues().Order(), loAscending);
  std::mt19937 random(23);
  std::uniform_int_distribution<int> count(-10, 230);
  for (const bool clustered : {false, true}) {
    series.ClearPoints();
    double x = -3;
    for (int i = 0; i < 200000; ++i) {
      series.AddPoint(x, count(random));
      x += !clustered ? 0.001031 : (random() % 500 == 0 ? 1.7 : 0.0002 * double(random() % 8));
    }
    for (const bool inverted : {false, true}) {
      host.Axes().Bottom().SetInverted(inverted);
      const TBitmap merged = DrawAsChart();
      const TPoint merged_end{series.LastDrawnX(), series.LastDrawnY()};
      const TBitmap plain = DrawPointByPoint();
      EXPECT_GT(ChangedPixels(merged), 0);
      EXPECT_TRUE(merged == plain) << "clustered " << clustered << ", inverted " << inverted;
      EXPECT_EQ(merged_end, (TPoint{series.LastDrawnX(), series.LastDrawnY()}));
    }
  }
  host.Axes().Bottom().SetInverted(false);
}

// Columns gathered from their extreme values alone: the last point of a column is often
// the only one on an extreme row (which the last segment leaves undrawn), or returns to a
// row visited before; NaN and values beyond the pixel guard must fall back to every point.
TEST_F(PixelFixture, DenseColumnsFromTheirExtremesSetTheSamePixelsAsEverySegment) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    int per_column;
    std::function<double(int index, int in_column, std::mt19937& random)> value;
    double multiplier = 1;
  };
  const Case cases[] = {
      {"ramp up ending on the top row", 6, [](int, int k, std::mt19937&) { return 100.0 + 3 * k; }},
      {"ramp down ending on the bottom row", 9, [](int, int k, std::mt19937&) { return 100.0 - 2 * k; }},
      {"three rows at random", 5, [](int, int, std::mt19937& r) { return 100.0 + double(r() % 3); }},
      {"two rows, long columns", 40, [](int, int, std::mt19937& r) { return 50.0 + 5 * double(r() % 2); }},
      {"flat tail after a spike", 12,
       [](int i, int k, std::mt19937&) { return k == 2 ? 150.0 : 60.0 + (i / 12) % 4; }},
      {"back on the starting row", 8,
       [](int, int k, std::mt19937&) { return k == 0 || k == 7 ? 150.0 : 100.0 + k; }},
      {"constant", 30, [](int, int, std::mt19937&) { return 77.0; }},
      {"fractions within one row", 25, [](int, int, std::mt19937& r) { return 90.0 + (r() % 100) / 250.0; }},
      {"NaN among them", 20, [nan](int i, int, std::mt19937& r) { return i % 37 == 5 ? nan : double(r() % 200); }},
      {"beyond the pixel guard", 20,
       [](int i, int, std::mt19937& r) { return i % 53 == 7 ? 1e300 : double(r() % 200); }},
      // Rows 200 - value: the last row of the int range, one beyond it (to the centre), and
      // far above the plot, all within the guard.
      {"at and beyond the int range's last row", 20,
       [](int i, int, std::mt19937& r) {
         return i % 41 == 3 ? -2147483447.0 : i % 43 == 5 ? -2147483448.0 : i % 47 == 9 ? 2147483000.0 : double(r() % 200);
       }},
      {"negative multiplier", 7, [](int, int k, std::mt19937&) { return -(100.0 + 4 * k); }, -1},
  };
  for (const Case& c : cases) {
    std::mt19937 random(31);
    series.ClearPoints();
    series.YValues().SetMultiplier(c.multiplier);
    // Columns 0..199 of the plot, with the points of one column spread inside it.
    const int points = 200 * c.per_column;
    for (int i = 0; i < points; ++i)
      series.AddPoint((i + 0.5) / c.per_column - 0.5, c.value(i, i % c.per_column, random));
    for (const bool inverted : {false, true}) {
      host.Axes().Left().SetInverted(inverted);
      const TBitmap merged = DrawAsChart();
      const TPoint merged_end{series.LastDrawnX(), series.LastDrawnY()};
      const TBitmap plain = DrawPointByPoint();
      EXPECT_GT(ChangedPixels(merged), 0) << c.name;
      EXPECT_TRUE(merged == plain) << c.name << (inverted ? ", inverted" : "");
      EXPECT_EQ(merged_end, (TPoint{series.LastDrawnX(), series.LastDrawnY()})) << c.name;
    }
  }
  host.Axes().Left().SetInverted(false);
  series.YValues().SetMultiplier(1);
}

// Overwritten X values no longer ascend: columns are then not one stretch of indexes and
// must not be searched as if they were.
TEST_F(PixelFixture, OverwrittenXValuesOutOfOrderSetTheSamePixelsAsEverySegment) {
  std::mt19937 random(5);
  for (int i = 0; i < 4000; ++i) series.AddPoint(i * 0.05, double(random() % 200));
  for (int i = 100; i < 4000; i += 97) series.XValues().StoreValueAt(i, double(random() % 200));
  const TBitmap merged = DrawAsChart();
  EXPECT_GT(ChangedPixels(merged), 0);
  EXPECT_TRUE(merged == DrawPointByPoint());
}

TEST_F(PixelFixture, RasterPenDrawsEverySegment) {
  // Under NotXor a pixel hit twice is restored, so runs must not be merged.
  series.LinePen().SetMode(pmNotXor);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> count(0, 200);
  for (int i = 0; i < 2000; ++i) series.AddPoint(i * 0.1, count(random));
  EXPECT_TRUE(DrawAsChart() == DrawPointByPoint());
}

TEST(FastLineMergeTest, DenseColumnsCostOneRunEach) {
  TRecordingCanvas canvas;
  CanvasHost host(canvas);
  TFastLineSeries series;
  series.SetParentChart(&host);
  // 100 points in each of the columns 0..10 (values 0.0 .. 10.99).
  for (int i = 0; i < 1100; ++i) series.AddPoint(i / 100.0, (i * 37) % 200);
  CanvasHost::FixRange(host.Axes().Bottom(), 0, 200);
  host.PrepareSeries(series);
  canvas.Clear();
  series.DrawPoints();
  // Columns 0..11: a line into each column, then one span and one pen move.
  EXPECT_LE(LineCalls(canvas).size(), 12u * 3);
  series.SetParentChart(nullptr);
}

}  // namespace
