// Windows-1251 program text <-> Qt strings, used only where text meets a widget or a Qt
// file API. Characters Windows-1251 cannot hold become "?".
#pragma once

#include <QString>

#include "rtl/text.h"

QString ToQString(const rtl::Text& text);
rtl::Text ToText(const QString& text);
