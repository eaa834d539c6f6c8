#include "core/server_faces.h"

#include <cstdio>

#include "core/server_rows.h"

namespace core {
namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  switch (byte) {
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\\': out += "\\\\"; return;
  }
  char code[5];
  std::snprintf(code, sizeof code, "\\x%02X", byte);
  out += code;
}

// 0x98, unassigned in Windows-1251, stands for U+0098, a control character too.
bool Plain(unsigned char byte) { return byte >= 0x20 && byte != 0x7F && byte != 0x98 && byte != '\\'; }

template <typename Record, typename Column>
FaceOutput RowsOutput(const platform::ServerReading<Record>& reading, const std::vector<Column>& columns) {
  if (!reading.Read()) {
    const std::string reason = reading.error.empty() ? platform::ServerReadOutcomeName(reading.outcome)
                                                     : rtl::Utf8FromWindows1251(reading.error);
    return {1, "", reason + "\n"};
  }
  FaceOutput output{0, TabSeparatedLine(Captions(columns)), ""};
  for (const Record& record : reading.records) output.out += TabSeparatedLine(RowCells(columns, record));
  if (reading.truncated) {
    output.error = "the server has more; only the first " + std::to_string(reading.records.size()) + " are shown\n";
  }
  return output;
}

}  // namespace

std::string EscapedField(const rtl::Text& text) {
  rtl::Text escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (Plain(byte)) {
      escaped += c;
    } else {
      AppendEscaped(escaped, byte);
    }
  }
  return rtl::Utf8FromWindows1251(escaped);
}

std::string TabSeparatedLine(const std::vector<rtl::Text>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += EscapedField(fields[i]);
  }
  line += '\n';
  return line;
}

FaceOutput SessionsOutput(const platform::SessionReading& reading) { return RowsOutput(reading, SessionColumns()); }

FaceOutput OpenFilesOutput(const platform::OpenFileReading& reading) {
  return RowsOutput(reading, OpenFileColumns());
}

}  // namespace core
