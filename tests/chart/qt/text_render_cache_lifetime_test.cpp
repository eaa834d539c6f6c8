// The GUI thread's kept fonts end with the application that made them, and the process
// ends cleanly whichever of the two ends first: in a process of its own, since every other
// chart test keeps one application to the end.
#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>

#include "chart/pens.h"
#include "chart/qt/text_render_cache.h"

namespace {

TEST(TextRenderCacheLifetimeTest, KeptFontsEndWithTheApplication) {
  for (int application = 0; application < 2; ++application) {
    {
      int argc = 1;
      char name[] = "text_render_cache_lifetime_test";
      char* argv[] = {name, nullptr};
      QGuiApplication gui(argc, argv);
      TFont font;
      EXPECT_GT(TTextRenderCache::ForThisThread().Extent(font, "12:45").Width, 0);
      EXPECT_EQ(TTextRenderCache::ForThisThread().FontCount(), 1u) << application;
    }
    EXPECT_EQ(TTextRenderCache::ForThisThread().FontCount(), 0u) << application;
  }
}

// A program that keeps its application in a static, made on first use, ends its
// thread-local objects before the application: the application's end must not reach
// back into the cache that went first. A widget application, as in the benchmark program
// where this once crashed; the sanitizer build catches any reach into the gone cache.
[[noreturn]] void ExitWithApplicationInStatic() {
  static int argc = 1;
  static char name[] = "text_render_cache_lifetime_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  TFont font;
  const bool kept = TTextRenderCache::ForThisThread().Extent(font, "12:45").Width > 0 &&
                    TTextRenderCache::ForThisThread().FontCount() == 1;
  std::exit(kept ? 0 : 2);
}

TEST(TextRenderCacheLifetimeTest, ProcessEndsCleanlyWhenTheApplicationOutlivesTheCache) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithApplicationInStatic(), testing::ExitedWithCode(0), "");
}

}  // namespace
