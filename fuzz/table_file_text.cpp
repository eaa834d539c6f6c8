// The table file reader on any bytes. Properties: a table read, written and read again keeps
// its columns and values, and its row captions up to the run of spaces after the first word,
// which comes back as one space (the file keeps a poll's "date  time" unquoted, so the reader
// cannot tell those spaces from the field separator); and from then on nothing changes: the
// table the writer produced, loaded, written and loaded again, is the same table, and its
// text the same bytes.
#include <cstdint>

#include "core/connection_table.h"
#include "core/table_file_text.h"
#include "fuzz/property.h"
#include "rtl/errors.h"

namespace {

// The caption with the run of spaces after its first word cut to one space.
rtl::Text CaptionAsReadBack(const rtl::Text& caption) {
  const std::size_t space = caption.find(' ');
  if (space == rtl::Text::npos) return caption;
  const std::size_t rest = caption.find_first_not_of(' ', space);
  return caption.substr(0, space + 1) + (rest == rtl::Text::npos ? rtl::Text() : caption.substr(rest));
}

bool SameColumnsAndValues(const core::ConnectionTable& a, const core::ConnectionTable& b) {
  if (a.Columns() != b.Columns() || a.RowCount() != b.RowCount()) return false;
  for (int row = 0; row < a.RowCount(); ++row) {
    if (a.RowAt(row).values != b.RowAt(row).values) return false;
  }
  return true;
}

bool SameTable(const core::ConnectionTable& a, const core::ConnectionTable& b) {
  if (!SameColumnsAndValues(a, b)) return false;
  for (int row = 0; row < a.RowCount(); ++row) {
    if (a.RowAt(row).caption != b.RowAt(row).caption) return false;
  }
  return true;
}

core::ConnectionTable Read(std::string_view text) {
  core::ConnectionTable table;
  core::ReadTableFileText(text, table);
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  core::ConnectionTable table;
  try {
    core::ReadTableFileText(std::string_view(reinterpret_cast<const char*>(data), size), table);
  } catch (const rtl::ListIndexError&) {
    return 0;  // a data line without a time field: refused, as the loader refuses it
  }
  const rtl::Text written = core::TableFileText(table);
  const core::ConnectionTable loaded = Read(written);
  fuzz::Require(SameColumnsAndValues(table, loaded), "a table read and written keeps its columns and values");
  for (int row = 0; row < table.RowCount(); ++row) {
    fuzz::Require(loaded.RowAt(row).caption == CaptionAsReadBack(table.RowAt(row).caption),
                  "a caption comes back but for the spaces after its first word");
  }
  const rtl::Text rewritten = core::TableFileText(loaded);
  fuzz::Require(SameTable(Read(rewritten), loaded), "a table the writer produced loads back unchanged");
  fuzz::Require(core::TableFileText(Read(rewritten)) == rewritten, "the writer's text loads and writes back byte for byte");
  return 0;
}
