// The GUI thread's kept fonts end with the application that made them: in a process of its
// own, since every other chart test keeps one application to the end.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "chart/pens.h"
#include "chart/text_render_cache.h"

namespace {

TEST(TextRenderCacheLifetimeTest, KeptFontsEndWithTheApplication) {
  for (int application = 0; application < 2; ++application) {
    {
      int argc = 1;
      char name[] = "text_render_cache_lifetime_test";
      char* argv[] = {name, nullptr};
      QGuiApplication gui(argc, argv);
      TFont font;
      EXPECT_GT(TTextRenderCache::ForThisThread().Extent(font, "12:45").width(), 0);
      EXPECT_EQ(TTextRenderCache::ForThisThread().FontCount(), 1u) << application;
    }
    EXPECT_EQ(TTextRenderCache::ForThisThread().FontCount(), 0u) << application;
  }
}

}  // namespace
