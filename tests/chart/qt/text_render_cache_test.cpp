// Texts kept per font: what the cache returns must be what the font engine gives each time,
// whichever font, colour or order of requests, also once the store has started afresh.
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "chart/qt/qt_device.h"
#include "chart/pens.h"
#include "chart/qt/text_render_cache.h"
#include "gui_application.h"

namespace {

using PixelPlaces = std::set<std::pair<int, int>>;

PixelPlaces PlacesOf(const TRenderedText& text) {
  PixelPlaces places;
  for (const TGlyphPixel& pixel : text.Pixels) places.insert({pixel.Column, pixel.Row});
  return places;
}

int EngineWidth(const TFont& font, const char* utf8) {
  return QFontMetrics(DeviceFont(font)).horizontalAdvance(QString::fromUtf8(utf8));
}

class TextRenderCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    font_.SetName("Arial");
    font_.SetSize(8);
  }
  TFont font_;
  TTextRenderCache cache_;
};

TEST_F(TextRenderCacheTest, extents_are_the_font_engines_in_every_font) {
  TFont large;
  large.SetName("Arial");
  large.SetSize(20);
  large.SetStyle(fsBold);
  struct Case {
    const char* text;      // Windows-1251
    const char* utf8;      // the same text for the engine
  };
  const Case cases[] = {{"12:45", "12:45"}, {"01.02.2026", "01.02.2026"}, {"\xC2\xF0\xE5\xEC\xFF", "Время"}, {"", ""}};
  // Alternating fonts: each answer must come from its own font's store.
  for (int round = 0; round < 2; ++round)
    for (const Case& c : cases) {
      EXPECT_EQ(cache_.Extent(font_, c.text).Width, EngineWidth(font_, c.utf8)) << c.utf8;
      EXPECT_EQ(cache_.Extent(large, c.text).Width, EngineWidth(large, c.utf8)) << c.utf8;
    }
  const QFontMetrics small_metrics(DeviceFont(font_)), large_metrics(DeviceFont(large));
  EXPECT_EQ(cache_.Extent(font_, "x").Height, small_metrics.ascent() + small_metrics.descent());
  EXPECT_EQ(cache_.Extent(large, "x").Height, large_metrics.ascent() + large_metrics.descent());
}

TEST_F(TextRenderCacheTest, a_colour_change_keeps_the_glyph_pixels_and_takes_the_new_colour) {
  const PixelPlaces black = PlacesOf(cache_.Rendered(font_, "W0", 0xFF000000));
  ASSERT_GT(black.size(), 10u);
  const TRenderedText& red = cache_.Rendered(font_, "W0", 0xFFFF0000);
  EXPECT_EQ(PlacesOf(red), black);
  for (const TGlyphPixel& pixel : red.Pixels) EXPECT_EQ(pixel.Color, 0xFFFF0000u);
  EXPECT_EQ(PlacesOf(cache_.Rendered(font_, "W0", 0xFF000000)), black);
}

TEST_F(TextRenderCacheTest, a_font_change_changes_the_glyphs) {
  const PixelPlaces regular = PlacesOf(cache_.Rendered(font_, "W0", 0xFF000000));
  font_.SetStyle(fsBold);
  const PixelPlaces bold = PlacesOf(cache_.Rendered(font_, "W0", 0xFF000000));
  EXPECT_NE(bold, regular);
  font_.SetStyle(0);
  EXPECT_EQ(PlacesOf(cache_.Rendered(font_, "W0", 0xFF000000)), regular);
}

TEST_F(TextRenderCacheTest, texts_beyond_the_bound_start_the_store_afresh_with_the_same_answers) {
  const TRenderedText first = cache_.Rendered(font_, "00:00", 0xFF000000);
  for (std::size_t i = 0; i <= TTextRenderCache::kTextsPerFont + 10; ++i) cache_.Extent(font_, std::to_string(i));
  const TRenderedText& again = cache_.Rendered(font_, "00:00", 0xFF000000);
  EXPECT_EQ(again.Width, first.Width);
  EXPECT_EQ(again.Height, first.Height);
  EXPECT_EQ(PlacesOf(again), PlacesOf(first));
  EXPECT_EQ(cache_.Extent(font_, "12345").Width, EngineWidth(font_, "12345"));
}

TEST_F(TextRenderCacheTest, many_fonts_in_turn_each_keep_their_own_answers) {
  // More fonts than the list keeps: the oldest are dropped and measured again when asked.
  for (int round = 0; round < 2; ++round)
    for (int size = 6; size < 30; ++size) {
      font_.SetSize(size);
      EXPECT_EQ(cache_.Extent(font_, "12:45").Width, EngineWidth(font_, "12:45")) << size;
    }
}

}  // namespace
