// The connection table file on disk: written at each stop of a polling run, read back through
// "Загрузить файл" and "sharemon TABLEFILE". The text itself is core/table_file_text.h's.
#pragma once

#include <QString>
#include <QStringList>

#include "core/connection_table.h"

class TForm1;

// Writes core::TableFileText(table) to the file as platform::WriteWholeFile writes, so a
// failure leaves any earlier file untouched. Throws rtl::InOutError with the runtime's file
// error code (2 "File not found", 5 "File access denied", 101 "Disk full", ...), and
// rtl::FileCreateError naming the file when the name is taken by something that is no
// regular file.
void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name);

// Appends the file's columns and rows to the table (core::ReadTableFileText). Nothing
// happens when no such file exists. Throws rtl::InOutError when the file exists but cannot
// be read, rtl::FileOpenError naming the file when it is no regular file (a FIFO, a device),
// and what ReadTableFileText throws.
void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name);

// "sharemon TABLEFILE" (arguments as QApplication::arguments(), program first), as a file
// manager's "open with" passes it: once the event loop runs after the window was shown, the
// file is loaded into ListView1 as "Загрузить файл" would load it, errors in ErrorBox.
void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments);
