// Measured and rendered texts kept per font.
#include "chart/qt/text_render_cache.h"

#include <algorithm>
#include <unordered_map>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QThread>

#include "chart/pens.h"
#include "chart/qt/qt_device.h"

namespace {

QString ToQString(const rtl::Text& text) { return QString::fromUtf8(rtl::Utf8FromWindows1251(text).c_str()); }

// What of a font decides its glyphs; the colour is the text's.
struct FontKey {
  rtl::Text Name;
  int Height = 0;
  int Style = 0;
  static FontKey Of(const TFont& font) { return {font.Name(), font.Height(), int(font.Style())}; }
  // Compared in place: a key made for every lookup would copy the name each time.
  bool Matches(const TFont& font) const {
    return Height == font.Height() && Style == int(font.Style()) && Name == font.Name();
  }
};

struct TextEntry {
  int Width = 0;
  bool Rendered = false;
  TRgb RenderedColor = 0;
  TRenderedText Run;
};

// Renders the text as the device always has: upright, at its advance width, with a margin
// of one cell height around it for overhanging glyphs; keeps every pixel a glyph covers.
std::vector<TGlyphPixel> RenderGlyphs(const QFont& font, const QString& string, TRgb color, int width, int ascent,
                                      int height) {
  const int margin = height;
  QImage glyphs(width + 2 * margin, height + 2 * margin, QImage::Format_ARGB32);
  glyphs.fill(Qt::transparent);
  {
    QPainter painter(&glyphs);
    painter.setFont(font);
    painter.setPen(QColor(color));
    painter.drawText(margin, margin + ascent, string);
  }
  std::vector<TGlyphPixel> pixels;
  for (int row = 0; row < glyphs.height(); ++row) {
    const QRgb* line = reinterpret_cast<const QRgb*>(glyphs.constScanLine(row));
    for (int column = 0; column < glyphs.width(); ++column)
      if (qAlpha(line[column]) != 0)
        pixels.push_back({column - margin, row - margin, 0xFF000000u | line[column]});
  }
  return pixels;
}

}  // namespace

struct TTextRenderCache::FontEntry {
  explicit FontEntry(const TFont& font) : Key(FontKey::Of(font)), Font(DeviceFont(font)), Metrics(Font) {
    Ascent = Metrics.ascent();
    Height = Ascent + Metrics.descent();
  }

  TextEntry& Measured(const rtl::Text& text) {
    auto found = Texts.find(text);
    if (found != Texts.end()) return found->second;
    if (Texts.size() >= kTextsPerFont) Texts.clear();
    TextEntry& entry = Texts[text];
    entry.Width = Metrics.horizontalAdvance(ToQString(text));
    return entry;
  }

  FontKey Key;
  QFont Font;
  QFontMetrics Metrics;
  int Ascent = 0;
  int Height = 0;
  std::unordered_map<rtl::Text, TextEntry> Texts;
};

TTextRenderCache::TTextRenderCache() = default;
TTextRenderCache::~TTextRenderCache() = default;

// The kept fonts hold on to the application's font engines, which go with the
// application: the GUI thread's store empties when the application ends, not at thread
// exit after it; an application made afterwards starts with an empty store again. When
// the thread's store ends first (at process exit, with the application in a static that
// outlives thread-local objects), it takes its emptying back, so that the application's
// end touches nothing that is gone.
struct TTextRenderCache::ThreadStore {
  ~ThreadStore() {
    if (empties_with_application) qRemovePostRoutine(EmptyWithApplication);
  }
  static void EmptyWithApplication() {
    ThisThread.cache.fonts_.clear();
    ThisThread.empties_with_application = false;
  }

  static thread_local ThreadStore ThisThread;
  TTextRenderCache cache;
  bool empties_with_application = false;
};

thread_local TTextRenderCache::ThreadStore TTextRenderCache::ThreadStore::ThisThread;

TTextRenderCache& TTextRenderCache::ForThisThread() {
  ThreadStore& store = ThreadStore::ThisThread;
  if (!store.empties_with_application && qApp != nullptr && QThread::currentThread() == qApp->thread()) {
    store.empties_with_application = true;
    qAddPostRoutine(ThreadStore::EmptyWithApplication);
  }
  return store.cache;
}

TTextRenderCache::FontEntry& TTextRenderCache::EntryOf(const TFont& font) {
  // A frame switches between two or three fonts, so a short list searched from the most
  // recent one finds the font at once.
  const auto found = std::ranges::find_if(fonts_, [&](const auto& entry) { return entry->Key.Matches(font); });
  if (found != fonts_.end()) {
    if (found != fonts_.begin()) std::rotate(fonts_.begin(), found, found + 1);
    return *fonts_.front();
  }
  constexpr std::size_t kFonts = 16;
  if (fonts_.size() >= kFonts) fonts_.pop_back();
  fonts_.insert(fonts_.begin(), std::make_unique<FontEntry>(font));
  return *fonts_.front();
}

TTextExtent TTextRenderCache::Extent(const TFont& font, const rtl::Text& text) {
  FontEntry& entry = EntryOf(font);
  return {entry.Measured(text).Width, entry.Ascent, entry.Height};
}

const TRenderedText& TTextRenderCache::Rendered(const TFont& font, const rtl::Text& text, TRgb color) {
  FontEntry& font_entry = EntryOf(font);
  TextEntry& entry = font_entry.Measured(text);
  if (!entry.Rendered || entry.RenderedColor != color) {
    entry.Run.Width = entry.Width;
    entry.Run.Ascent = font_entry.Ascent;
    entry.Run.Height = font_entry.Height;
    entry.Run.Pixels = RenderGlyphs(font_entry.Font, ToQString(text), color, entry.Width, font_entry.Ascent,
                                    font_entry.Height);
    entry.Rendered = true;
    entry.RenderedColor = color;
  }
  return entry.Run;
}
