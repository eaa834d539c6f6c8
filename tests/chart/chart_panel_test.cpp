// The chart panel: creation defaults, refused settings, repaint requests, series joining,
// axis visibility, the plot area and the paint pipeline's order through a recording canvas.
#include "chart/chart.h"

#include <gtest/gtest.h>

#include "chart/chart_exceptions.h"
#include "chart_fixture.h"

namespace {


using PanelTest = ChartFixture;

TEST_F(PanelTest, CreationDefaults) {
  TChart fresh(device_);
  EXPECT_EQ(fresh.Width(), 400);
  EXPECT_EQ(fresh.Height(), 250);
  EXPECT_EQ(fresh.Color(), clBtnFace);
  EXPECT_EQ(fresh.BevelOuter(), bvRaised);
  EXPECT_EQ(fresh.BevelInner(), bvNone);
  EXPECT_EQ(fresh.BevelWidth(), 1);
  EXPECT_EQ(fresh.BorderWidth(), 0);
  EXPECT_EQ((TRect{fresh.MarginLeft(), fresh.MarginTop(), fresh.MarginRight(), fresh.MarginBottom()}),
            (TRect{3, 4, 3, 4}));
  EXPECT_TRUE(fresh.View3D());
  EXPECT_TRUE(fresh.View3DWalls());
  EXPECT_EQ(fresh.Chart3DPercent(), 15);
  EXPECT_TRUE(fresh.ClipPoints());
  EXPECT_TRUE(fresh.AxisVisible());
  EXPECT_EQ(fresh.BackColor(), clDefault);
  EXPECT_EQ(fresh.Frame().Color(), clBlack);
  EXPECT_EQ(fresh.Frame().Width(), 1);
  EXPECT_TRUE(fresh.Frame().Visible());
  EXPECT_TRUE(fresh.Legend().Visible());
  EXPECT_FALSE(fresh.Gradient().Visible());
  EXPECT_EQ(fresh.Gradient().Direction(), gdTopBottom);
  EXPECT_EQ(fresh.Gradient().StartColor(), clWhite);
  EXPECT_EQ(fresh.Gradient().EndColor(), clYellow);
  EXPECT_FALSE(fresh.BackImage().has_value());
  EXPECT_EQ(fresh.BackImageMode(), pbmStretch);
  EXPECT_FALSE(fresh.BackImageInside());
  EXPECT_FALSE(fresh.Monochrome());
  EXPECT_EQ(fresh.MaxPointsPerPage(), 0);
  EXPECT_EQ(fresh.Page(), 1);
  EXPECT_TRUE(fresh.ScaleLastPage());
  EXPECT_TRUE(fresh.AllowZoom());
  EXPECT_EQ(fresh.AllowPanning(), pmBoth);
  EXPECT_FALSE(fresh.AnimatedZoom());
  EXPECT_EQ(fresh.AnimatedZoomSteps(), 8);
  EXPECT_TRUE(fresh.PrintProportional());
  EXPECT_EQ(fresh.PrintMargins(), (TRect{15, 15, 15, 15}));
  EXPECT_TRUE(fresh.SeriesList().empty());
  EXPECT_TRUE(fresh.RepaintEnabled());
  // Nothing requested a repaint while the panel was being built.
  EXPECT_EQ(fresh.RepaintRequests(), 0);
  EXPECT_FALSE(fresh.DepthAxisRef().Visible());
  EXPECT_EQ(fresh.LeftAxisRef().Title().Angle(), 90);
  EXPECT_EQ(fresh.RightAxisRef().Title().Angle(), 270);
  EXPECT_EQ(fresh.AxesList()[0], fresh.BottomAxis());
  EXPECT_EQ(fresh.AxesList()[4], fresh.DepthAxis());
  EXPECT_EQ(fresh.Title().Font().Name(), "Arial");
  EXPECT_EQ(fresh.Title().Font().Size(), 8);
  EXPECT_EQ(fresh.Title().Font().Color(), clBlue);
  EXPECT_EQ(fresh.Title().Alignment(), taCenter);
  EXPECT_FALSE(fresh.Title().Frame().Visible());
  EXPECT_TRUE(fresh.Foot().Text().empty());
}

TEST_F(PanelTest, Chart3DPercentOutsideOneToHundredIsRefused) {
  for (int bad : {0, 101, -5}) {
    try {
      chart().SetChart3DPercent(bad);
      FAIL() << bad;
    } catch (const ChartException& error) {
      EXPECT_STREQ(error.what(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(chart().Chart3DPercent(), 15);
  }
  chart().SetChart3DPercent(100);
  EXPECT_EQ(chart().Chart3DPercent(), 100);
}

TEST_F(PanelTest, NegativeMaxPointsPerPageIsRefused) {
  const int before = chart().RepaintRequests();
  try {
    chart().SetMaxPointsPerPage(-1);
    FAIL();
  } catch (const ChartException& error) {
    EXPECT_STREQ(error.what(), "MaxPointsPerPage must be >= 0");
  }
  EXPECT_EQ(chart().MaxPointsPerPage(), 0);
  EXPECT_EQ(chart().RepaintRequests(), before);
}

TEST_F(PanelTest, PageIsClampedToThePageCount) {
  MarkingSeries series;
  for (int i = 0; i < 25; ++i) series.AddPoint(i, i);
  series.SetParentChart(&chart());
  int page_changes = 0;
  chart().OnPageChange = [&](TChart&) { ++page_changes; };
  chart().SetPage(3);
  EXPECT_EQ(chart().Page(), 1);  // no paging: one page
  chart().SetMaxPointsPerPage(10);
  EXPECT_EQ(chart().PageCount(), 3);
  chart().SetPage(5);
  EXPECT_EQ(chart().Page(), 3);
  chart().SetPage(3);
  EXPECT_EQ(page_changes, 1);
  chart().SetMaxPointsPerPage(20);
  EXPECT_EQ(chart().Page(), 2);
  chart().SetPage(0);
  EXPECT_EQ(chart().Page(), 1);
  EXPECT_EQ(page_changes, 3);
}

TEST_F(PanelTest, SameValueRequestsNoRepaintNewValueRequestsOne) {
  struct Setter {
    const char* name;
    std::function<void(TChart&)> same;
    std::function<void(TChart&)> changed;
  };
  const Setter setters[] = {
      {"Color", [](TChart& c) { c.SetColor(clBtnFace); }, [](TChart& c) { c.SetColor(clWhite); }},
      {"BevelOuter", [](TChart& c) { c.SetBevelOuter(bvRaised); }, [](TChart& c) { c.SetBevelOuter(bvLowered); }},
      {"BevelWidth", [](TChart& c) { c.SetBevelWidth(1); }, [](TChart& c) { c.SetBevelWidth(2); }},
      {"BorderWidth", [](TChart& c) { c.SetBorderWidth(0); }, [](TChart& c) { c.SetBorderWidth(3); }},
      {"MarginLeft", [](TChart& c) { c.SetMarginLeft(3); }, [](TChart& c) { c.SetMarginLeft(5); }},
      {"MarginBottom", [](TChart& c) { c.SetMarginBottom(4); }, [](TChart& c) { c.SetMarginBottom(1); }},
      {"View3D", [](TChart& c) { c.SetView3D(false); }, [](TChart& c) { c.SetView3D(true); }},
      {"Chart3DPercent", [](TChart& c) { c.SetChart3DPercent(15); }, [](TChart& c) { c.SetChart3DPercent(20); }},
      {"ClipPoints", [](TChart& c) { c.SetClipPoints(true); }, [](TChart& c) { c.SetClipPoints(false); }},
      {"AxisVisible", [](TChart& c) { c.SetAxisVisible(true); }, [](TChart& c) { c.SetAxisVisible(false); }},
      {"MaxPointsPerPage", [](TChart& c) { c.SetMaxPointsPerPage(0); }, [](TChart& c) { c.SetMaxPointsPerPage(4); }},
      {"Legend", [](TChart& c) { c.Legend().SetVisible(false); }, [](TChart& c) { c.Legend().SetVisible(true); }},
      {"Gradient", [](TChart& c) { c.Gradient().SetEndColor(clYellow); },
       [](TChart& c) { c.Gradient().SetEndColor(clRed); }},
      {"View3DOptions", [](TChart& c) { c.View3DOptions().SetZoom(100); },
       [](TChart& c) { c.View3DOptions().SetZoom(90); }},
      {"Monochrome", [](TChart& c) { c.SetMonochrome(false); }, [](TChart& c) { c.SetMonochrome(true); }},
      {"Frame", [](TChart& c) { c.Frame().SetColor(clBlack); }, [](TChart& c) { c.Frame().SetColor(clRed); }},
  };
  for (const Setter& setter : setters) {
    const int before = chart().RepaintRequests();
    setter.same(chart());
    EXPECT_EQ(chart().RepaintRequests(), before) << setter.name;
    setter.changed(chart());
    EXPECT_GT(chart().RepaintRequests(), before) << setter.name;
  }
}

TEST_F(PanelTest, AttachedSeriesGetsTheFirstFreePaletteColour) {
  MarkingSeries first, second, preset, third;
  preset.SetSeriesColor(kGreen);
  first.SetParentChart(&chart());
  preset.SetParentChart(&chart());
  second.SetParentChart(&chart());
  EXPECT_EQ(first.SeriesColor(), clRed);
  EXPECT_EQ(preset.SeriesColor(), kGreen);
  EXPECT_EQ(second.SeriesColor(), clYellow);  // red and green are taken
  chart().SetColor(SeriesPaletteColor(3));    // the panel's own colour is skipped too
  third.SetParentChart(&chart());
  EXPECT_EQ(third.SeriesColor(), SeriesPaletteColor(4));
  EXPECT_EQ(chart().SeriesList().size(), 4u);
}

TEST_F(PanelTest, FirstFreeColourFallsBackToTheFirstEntryWhenAllAreTaken) {
  std::vector<std::unique_ptr<MarkingSeries>> series;
  for (int i = 0; i < 16; ++i) {
    series.push_back(std::make_unique<MarkingSeries>());
    series.back()->SetParentChart(&chart());
  }
  EXPECT_EQ(series.back()->SeriesColor(), SeriesPaletteColor(15));
  EXPECT_EQ(chart().FirstFreeSeriesColor(), SeriesPaletteColor(0));
}

TEST_F(PanelTest, AttachAndDetachKeepTheListAndTheSeriesInStep) {
  MarkingSeries series, dependent;
  chart().AttachSeries(series);
  chart().AttachSeries(series);
  ASSERT_EQ(chart().SeriesList().size(), 1u);
  EXPECT_EQ(series.ParentChart(), &chart());
  dependent.AddDataSource(series);
  const int before = chart().RepaintRequests();
  chart().DetachSeries(series);
  EXPECT_TRUE(chart().SeriesList().empty());
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_TRUE(dependent.DataSources().empty());
  EXPECT_GT(chart().RepaintRequests(), before);
  chart().DetachSeries(series);  // not listed: nothing
  EXPECT_TRUE(chart().SeriesList().empty());
}

TEST_F(PanelTest, AdoptedSeriesIsFreedWithTheChartOthersOnlyLeave) {
  MarkingSeries outside;
  {
    TChart owner(device_);
    owner.AdoptSeries(std::make_unique<MarkingSeries>());
    outside.SetParentChart(&owner);
    EXPECT_EQ(owner.SeriesList().size(), 2u);
  }
  EXPECT_EQ(outside.ParentChart(), nullptr);
}

TEST_F(PanelTest, AxisShownFollowsTheActiveSeries) {
  auto shown = [&] {
    std::string flags;
    for (TCustomChartAxis* axis : chart().AxesList()) flags += chart().AxisShown(*axis) ? '1' : '0';
    return flags;
  };
  EXPECT_EQ(shown(), "11110");  // no series: every side axis
  MarkingSeries series;
  series.SetParentChart(&chart());
  EXPECT_EQ(shown(), "10100");  // bottom and left only
  series.SetVertAxis(aRightAxis);
  EXPECT_EQ(shown(), "10010");
  series.SetActive(false);
  EXPECT_EQ(shown(), "11110");
  chart().RightAxisRef().SetVisible(false);
  EXPECT_EQ(shown(), "11100");
  chart().SetAxisVisible(false);
  EXPECT_EQ(shown(), "00000");
  chart().SetAxisVisible(true);
  chart().SetView3D(true);
  chart().DepthAxisRef().SetVisible(true);
  EXPECT_EQ(shown(), "11101");
}

TEST_F(PanelTest, NormalizePlotAreaKeepsARealRectangle) {
  struct Case {
    TRect in;
    TRect out;
  };
  const Case cases[] = {
      {{25, 10, 792, 240}, {25, 10, 792, 240}},
      {{-4, -2, 100, 50}, {0, 0, 100, 50}},
      {{50, 60, 40, 20}, {50, 60, 51, 61}},      // inverted: one pixel
      {{50, 60, 50, 60}, {50, 60, 867, 310}},    // collapsed: the control's size
  };
  for (const Case& c : cases) {
    chart().SetPlotArea(c.in);
    chart().NormalizePlotArea();
    EXPECT_EQ(chart().PlotArea(), c.out);
  }
  chart().SetPlotArea({25, 10, 792, 241});
  chart().NormalizePlotArea();
  EXPECT_EQ(chart().PlotWidth(), 767);
  EXPECT_EQ(chart().PlotHeight(), 231);
  EXPECT_EQ(chart().PlotCenterX(), 408);
  EXPECT_EQ(chart().PlotCenterY(), 125);
}

TEST_F(PanelTest, MultiLineWidthCountsLinesAtCarriageReturns) {
  struct Case {
    rtl::Text text;
    int width;
    int count;
  };
  const Case cases[] = {{"", 0, 1}, {"ab", 14, 1}, {"ab\rcde\r", 21, 2}, {"ab\rcde\rx", 21, 3}, {"\r\rx", 7, 3}};
  for (const Case& c : cases) {
    const TChart::TextLines lines = chart().MultiLineWidth(c.text);
    EXPECT_EQ(lines.Width, c.width) << c.text;
    EXPECT_EQ(lines.Count, c.count) << c.text;
  }
}

TEST_F(PanelTest, WidestPointLabelCoversInactiveSeriesToo) {
  MarkingSeries labelled, plain;
  labelled.AddPoint(1, 1, "abc");
  labelled.AddPoint(2, 2, "abcde\rx");
  plain.AddPoint(1, 1);
  labelled.SetActive(false);
  labelled.SetParentChart(&chart());
  plain.SetParentChart(&chart());
  EXPECT_EQ(chart().WidestPointLabel(), 35);
}

TEST_F(PanelTest, SelectFontCopiesTheFontIntoTheCanvas) {
  TFont font;
  InitChartFont(font, {});
  font.SetColor(clRed);
  font.SetPixelsPerInch(72);
  chart().SelectFont(font);
  EXPECT_EQ(font.PixelsPerInch(), canvas().Font().PixelsPerInch());
  EXPECT_EQ(canvas().Font().Color(), clRed);
  EXPECT_EQ(canvas().Font().Name(), "Arial");
}

}  // namespace
