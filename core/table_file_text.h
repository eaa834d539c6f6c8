// The connection table file's text: comma-separated Windows-1251 with CR LF line ends, a
// header line of column captions and one line per row (caption, then values). Bytes in,
// bytes out; reading and writing files is the callers' business.
//
// The reader splits on spaces as well as on commas and joins the first two fields of a data
// line into the row caption with one space; the writer quotes, by the reader's own rule, every
// field the reader would otherwise split or lose, so that what a run writes loads back with
// the same columns, values and date-times. A row caption "08.12.2026  9:05:07 PM" is written
// as `08.12.2026  "9:05:07 PM"` and loads as "08.12.2026 9:05:07 PM".
#pragma once

#include <string_view>
#include <vector>

#include "core/connection_table.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace core {

// The whole file: every column caption as a field, joined by ","; then one line per row, its
// caption (see WriteRowCaption) and its values as fields, joined by ","; CR LF after every
// line (a table without columns gives one empty line). A field is quoted ("..." with a quote
// inside doubled) when it holds a space, a tab, a comma, a double quote or another byte below
// 32, or is empty; any other field is written as it is.
rtl::Text TableFileText(const ConnectionTable& table);

// Appends a row caption: its text up to the first space, then the run of spaces as it is,
// then the rest, each of the two parts a field as above. A caption without a space is one field.
void WriteRowCaption(rtl::Text& out, std::string_view caption);

// Appends the file's columns and rows to the table. A line ends at LF or CR LF; a CR not
// followed by LF is dropped. The first line gives one column per field, after the existing
// columns; each later line adds a row with caption field 1 + " " + field 2 and values fields
// 3, 4, ... A data line with fewer than two fields still adds its row, with an empty caption,
// and then ends the read with rtl::ListIndexError of the missing field (0 or 1); what was
// added before stays. The rows reach the table as one batch. A text of more than
// kMostTableFields fields ends the read with TableTooLargeError before the line that passes
// the limit is stored, so the memory a read holds stays within that many fields (each a
// string object, 32 bytes with no allocation of its own when it is short) besides the text.
void ReadTableFileText(std::string_view text, ConnectionTable& table);

// Fields a table text may hold: a day of minute ticks over 5,800 shares, or a month over 190.
// A run of commas is one field per byte, so a limit on the file's size alone would still let
// a short file fill the memory.
inline constexpr std::size_t kMostTableFields = std::size_t{1} << 23;

// "в таблице больше 8388608 полей, такую таблицу программа не загружает"
class TableTooLargeError : public rtl::Exception {
 public:
  TableTooLargeError();
};

// The reader's field rule (the delimited-text rule with "," and the double quote): leading
// bytes 1..32 are skipped; a field is a quoted run ("" inside stands for one quote, an
// unclosed quote runs to the end) or a run of bytes above 32 other than ","; blanks after a
// field are skipped; a "," that is the line's last byte adds one empty field. A NUL ends the
// line. An empty line gives no fields.
std::vector<rtl::Text> SplitTableFields(std::string_view line);

// "list_" + date text + "_" + time stamp + ".txt", with every character a file name cannot hold
// (\ / : * ? " < > | and control characters) in the two texts replaced by ".", so a regional
// date such as "12/8/2026" still names one file. The caller joins it to its directory as a path.
rtl::Text TableFileName(const rtl::Text& date_text, const rtl::Text& time_stamp);

}  // namespace core
