#include "app/qt_text.h"

#include <QList>

// Direct byte-to-UTF-16 mapping: every Windows-1251 byte is a character of the
// Basic Multilingual Plane, so no UTF-8 round trip is needed on the hot path of the table view.
QString ToQString(const rtl::Text& text) {
  QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (const char byte : text) {
    *out++ = QChar(static_cast<char16_t>(rtl::UnicodeFromWindows1251(static_cast<unsigned char>(byte))));
  }
  return result;
}

rtl::Text ToText(const QString& text) {
  rtl::Text result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t code_point : text.toUcs4()) result += rtl::Windows1251FromUnicode(code_point);
  return result;
}
