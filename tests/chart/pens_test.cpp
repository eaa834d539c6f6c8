// Chart pens, brushes, fonts and 3D view settings: defaults, change notification, copying.
#include <gtest/gtest.h>

#include "chart/pens.h"

namespace {

struct PenDefaults {
  const char* name;
  TColor color;
  TPenStyle style;
  int width;
  bool visible;
};

template <class Pen>
PenDefaults DefaultsOf(const char* name) {
  const Pen pen;
  return {name, pen.Color(), pen.Style(), pen.Width(), pen.Visible()};
}

TEST(pens_test, chart_pen_classes_differ_only_in_their_defaults) {
  const PenDefaults expected[] = {
      {"TChartPen", clBlack, psSolid, 1, true},      {"TChartHiddenPen", clBlack, psSolid, 1, false},
      {"TDottedGrayPen", clGray, psDot, 1, true},    {"TDarkGrayPen", clGray, psSolid, 1, true},
      {"TChartArrowPen", clWhite, psSolid, 1, true}, {"TChartAxisPen", clBlack, psSolid, 2, true},
  };
  const PenDefaults actual[] = {
      DefaultsOf<TChartPen>("TChartPen"),           DefaultsOf<TChartHiddenPen>("TChartHiddenPen"),
      DefaultsOf<TDottedGrayPen>("TDottedGrayPen"), DefaultsOf<TDarkGrayPen>("TDarkGrayPen"),
      DefaultsOf<TChartArrowPen>("TChartArrowPen"), DefaultsOf<TChartAxisPen>("TChartAxisPen"),
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(actual[i].color, expected[i].color);
    EXPECT_EQ(actual[i].style, expected[i].style);
    EXPECT_EQ(actual[i].width, expected[i].width);
    EXPECT_EQ(actual[i].visible, expected[i].visible);
  }
  const TChartPen pen;
  EXPECT_EQ(pen.Mode(), pmCopy);
  EXPECT_FALSE(pen.SmallDots());
}

TEST(pens_test, creating_a_pen_notifies_no_one) {
  int changes = 0;
  const TChartHiddenPen hidden([&] { ++changes; });
  const TDottedGrayPen dotted([&] { ++changes; });
  const TChartAxisPen axis([&] { ++changes; });
  EXPECT_EQ(changes, 0);
}

TEST(pens_test, a_changed_property_notifies_once_and_an_equal_value_not_at_all) {
  int changes = 0;
  TChartPen pen([&] { ++changes; });
  pen.SetColor(clBlack);
  pen.SetVisible(true);
  pen.SetSmallDots(false);
  pen.SetWidth(1);
  EXPECT_EQ(changes, 0);
  pen.SetColor(clRed);
  pen.SetVisible(false);
  pen.SetSmallDots(true);
  pen.SetStyle(psDot);
  pen.SetMode(pmNotXor);
  pen.SetWidth(2);
  EXPECT_EQ(changes, 6);
}

TEST(pens_test, assigning_a_chart_pen_copies_visibility_dots_and_the_pen) {
  TChartPen source;
  source.SetVisible(false);
  source.SetSmallDots(true);
  source.SetColor(clBlue);
  source.SetWidth(3);
  source.SetStyle(psDash);
  source.SetMode(pmXor);
  TChartPen target;
  target.Assign(source);
  EXPECT_FALSE(target.Visible());
  EXPECT_TRUE(target.SmallDots());
  EXPECT_EQ(target.Color(), clBlue);
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Style(), psDash);
  EXPECT_EQ(target.Mode(), pmXor);
}

TEST(pens_test, chart_brush_defaults_to_no_colour_of_its_own) {
  const TChartBrush chart_brush;
  const TBrush brush;
  EXPECT_EQ(chart_brush.Color(), clDefault);
  EXPECT_EQ(brush.Color(), clWhite);
  EXPECT_EQ(chart_brush.Style(), bsSolid);
}

TEST(pens_test, chart_brush_has_a_bitmap_only_when_it_is_not_empty) {
  int changes = 0;
  TChartBrush brush([&] { ++changes; });
  EXPECT_FALSE(brush.HasBitmap());
  brush.SetBitmap(TBitmap());
  EXPECT_FALSE(brush.HasBitmap());
  brush.SetBitmap(TBitmap(2, 2));
  EXPECT_TRUE(brush.HasBitmap());
  EXPECT_EQ(changes, 2);
}

TEST(pens_test, default_chart_font_is_arial_8_black) {
  int changes = 0;
  TFont font;
  InitChartFont(font, [&] { ++changes; });
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clBlack);
  EXPECT_EQ(font.Style(), 0);
  EXPECT_EQ(font.Height(), -11);  // 8 points at 96 pixels per inch, halves away from zero
  EXPECT_TRUE(IsDefaultFont(font));
  EXPECT_EQ(changes, 0);
  font.SetSize(9);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(IsDefaultFont(font));
}

TEST(pens_test, a_font_differing_in_any_stored_property_is_not_default) {
  auto changed = [](auto change) {
    TFont font;
    InitChartFont(font, {});
    change(font);
    return IsDefaultFont(font);
  };
  EXPECT_FALSE(changed([](TFont& f) { f.SetName("Tahoma"); }));
  EXPECT_FALSE(changed([](TFont& f) { f.SetColor(clRed); }));
  EXPECT_FALSE(changed([](TFont& f) { f.SetStyle(fsBold); }));
  EXPECT_FALSE(changed([](TFont& f) { f.SetCharSet(204); }));
  EXPECT_TRUE(changed([](TFont& f) { f.SetPixelsPerInch(120); }));
}

TEST(pens_test, japanese_interface_takes_the_framework_font) {
  const DefaultFontChoice plain = ChooseDefaultFont("Arial", 8, false, "MS UI Gothic", -12, 96);
  EXPECT_EQ(plain.name, "Arial");
  EXPECT_EQ(plain.size, 8);
  const DefaultFontChoice japanese = ChooseDefaultFont("Arial", 8, true, "MS UI Gothic", -12, 96);
  EXPECT_EQ(japanese.name, "MS UI Gothic");
  EXPECT_EQ(japanese.size, 9);
  const DefaultFontChoice other = ChooseDefaultFont("Tahoma", 10, true, "MS UI Gothic", -12, 96);
  EXPECT_EQ(other.name, "Tahoma");
  EXPECT_EQ(other.size, 10);
}

TEST(pens_test, font_assignment_keeps_the_pixels_per_inch) {
  TFont source;
  source.SetName("Arial");
  source.SetSize(12);
  source.SetPixelsPerInch(72);
  TFont target;
  target.Assign(source);
  EXPECT_EQ(target.Size(), 12);
  EXPECT_EQ(target.PixelsPerInch(), 96);
  EXPECT_EQ(target.Height(), -16);
}

TEST(pens_test, chart_font_object_reports_font_changes_as_repaints) {
  int repaints = 0;
  TChartFontObject owner([&] { ++repaints; });
  EXPECT_TRUE(IsDefaultFont(owner.Font()));
  owner.Font().SetColor(clBlue);
  EXPECT_EQ(repaints, 1);
  TChartFontObject copy({});
  copy.Assign(owner);
  EXPECT_EQ(copy.Font().Color(), clBlue);
}

TEST(pens_test, view_3d_options_defaults) {
  const TView3DOptions options;
  EXPECT_EQ(options.Elevation(), 345);
  EXPECT_EQ(options.HorizOffset(), 0);
  EXPECT_TRUE(options.Orthogonal());
  EXPECT_EQ(options.Perspective(), 15);
  EXPECT_EQ(options.Rotation(), 345);
  EXPECT_EQ(options.Tilt(), 0);
  EXPECT_EQ(options.VertOffset(), 0);
  EXPECT_EQ(options.Zoom(), 100);
  EXPECT_TRUE(options.ZoomText());
}

TEST(pens_test, view_3d_options_repaint_and_callbacks) {
  std::vector<std::string> events;
  TView3DOptions options([&] { events.push_back("repaint"); });
  options.OnScrolled = [&](bool horizontal) { events.push_back(horizontal ? "scrolled h" : "scrolled v"); };
  options.OnZoom = [&](int zoom) { events.push_back("zoom " + std::to_string(zoom) + " stored " + std::to_string(options.Zoom())); };
  options.SetHorizOffset(5);
  options.SetVertOffset(-3);
  options.SetZoom(150);
  options.SetZoom(150);
  options.SetRotation(345);
  options.SetTilt(10);
  const std::vector<std::string> expected = {"repaint", "scrolled h", "repaint", "scrolled v",
                                             "zoom 150 stored 100", "repaint", "repaint"};
  EXPECT_EQ(events, expected);
}

TEST(pens_test, view_3d_options_assignment_copies_all_and_requests_nothing) {
  TView3DOptions source;
  source.SetElevation(10);
  source.SetHorizOffset(1);
  source.SetOrthogonal(false);
  source.SetPerspective(20);
  source.SetRotation(30);
  source.SetTilt(40);
  source.SetVertOffset(2);
  source.SetZoom(50);
  source.SetZoomText(false);
  int repaints = 0;
  TView3DOptions target([&] { ++repaints; });
  target.Assign(source);
  EXPECT_EQ(repaints, 0);
  EXPECT_EQ(target.Elevation(), 10);
  EXPECT_EQ(target.HorizOffset(), 1);
  EXPECT_FALSE(target.Orthogonal());
  EXPECT_EQ(target.Perspective(), 20);
  EXPECT_EQ(target.Rotation(), 30);
  EXPECT_EQ(target.Tilt(), 40);
  EXPECT_EQ(target.VertOffset(), 2);
  EXPECT_EQ(target.Zoom(), 50);
  EXPECT_FALSE(target.ZoomText());
}

}  // namespace
