// The connection table file: a comma-separated Windows-1251 text with CR LF line ends, a header
// line of column captions and one line per row (caption, then values). Written at each stop of
// a polling run, read back through "Загрузить файл". Writer and reader are not symmetric: the
// reader splits on spaces as well as on commas (see LoadConnectionTable).
#pragma once

#include <QString>
#include <QStringList>

#include "app/connection_table.h"
#include "rtl/text.h"

class TForm1;

// Writes every column caption joined by "," and then one line per row: caption and values
// joined by ",", nothing quoted; CR LF after every line (a table without columns gives one
// empty line). Written as platform::WriteWholeFile writes, so a failure leaves any earlier
// file untouched. Throws rtl::InOutError with the runtime's file error code (2 "File not
// found", 5 "File access denied", 101 "Disk full", ...), rtl::FileCreateError naming the
// file when the name is taken by something that is no regular file.
void SaveConnectionTable(const ConnectionTable& table, const QString& file_name);

// The whole file text SaveConnectionTable writes.
rtl::Text ConnectionTableText(const ConnectionTable& table);

// Appends the file's columns and rows to the table. Nothing happens when no such file exists.
// A line ends at LF or CR LF; a CR not followed by LF is dropped. Each line is split into
// fields by SplitTableFields. The first line gives one column per field, after the existing
// columns; each later line adds a row with caption field 1 + " " + field 2 and values fields
// 3, 4, ... A data line with fewer than two fields still adds its row, with an empty caption,
// and then ends the load with rtl::ListIndexError of the missing field (0 or 1); what was
// added before stays. Throws rtl::InOutError when the file exists but cannot be read,
// rtl::FileOpenError naming the file when it is no regular file (a FIFO, a device).
void LoadConnectionTable(ConnectionTableModel& table, const QString& file_name);

// The reader's field rule (the delimited-text rule with "," and the double quote): leading
// bytes 1..32 are skipped; a field is a quoted run ("" inside stands for one quote, an
// unclosed quote runs to the end) or a run of bytes above 32 other than ","; blanks after a
// field are skipped; a "," that is the line's last byte adds one empty field. A NUL ends the
// line. An empty line gives no fields.
std::vector<rtl::Text> SplitTableFields(std::string_view line);

// ProgramDirectory + "/list_" + date text + "_" + time stamp + ".txt", with every character
// a file name cannot hold (\ / : * ? " < > | and control characters) in the two texts
// replaced by ".", so a regional date such as "12/8/2026" still names a file.
QString TableFileName(const QString& program_directory, const rtl::Text& date_text, const rtl::Text& time_stamp);

// "sharemon TABLEFILE" (arguments as QApplication::arguments(), program first), as a file
// manager's "open with" passes it: once the event loop runs after the window was shown, the
// file is loaded into ListView1 as "Загрузить файл" would load it, errors in ErrorBox.
void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments);
