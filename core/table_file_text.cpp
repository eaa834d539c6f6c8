#include "core/table_file_text.h"

#include <cstring>
#include <iterator>
#include <string>

#include "rtl/errors.h"

namespace core {
namespace {

bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }

// Whatever the reader would split, drop or take for a quote must be quoted to come back.
bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return true;
  for (const char c : field) {
    if (static_cast<unsigned char>(c) < 32 || c == ' ' || c == ',' || c == '"') return true;
  }
  return false;
}

void WriteField(rtl::Text& out, std::string_view field) {
  if (!NeedsQuotes(field)) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void WriteLine(rtl::Text& out, const std::vector<rtl::Text>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    WriteField(out, fields[i]);
  }
}

// A quoted field from the opening quote at `at`; returns the position after the closing quote.
size_t ReadQuotedField(std::string_view line, size_t at, rtl::Text& field) {
  size_t pos = at + 1;
  while (pos < line.size()) {
    if (line[pos] != '"') {
      field += line[pos++];
    } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
      field += '"';
      pos += 2;
    } else {
      return pos + 1;
    }
  }
  return pos;
}

// Walks the line's fields by the reader's rule, handing each to `take` as a view that lives
// until the next one: the unquoted text in place, a quoted field through `quoted`.
template <typename Take>
void ForEachField(std::string_view line, Take&& take) {
  line = line.substr(0, line.find('\0'));
  size_t pos = 0;
  auto skip_blanks = [&] {
    while (pos < line.size() && IsBlank(static_cast<unsigned char>(line[pos]))) ++pos;
  };
  rtl::Text quoted;
  skip_blanks();
  while (pos < line.size()) {
    if (line[pos] == '"') {
      quoted.clear();
      pos = ReadQuotedField(line, pos, quoted);
      take(std::string_view(quoted));
    } else {
      const size_t begin = pos;
      while (pos < line.size() && static_cast<unsigned char>(line[pos]) > 32 && line[pos] != ',') ++pos;
      take(line.substr(begin, pos - begin));
    }
    skip_blanks();
    if (pos < line.size() && line[pos] == ',') {
      if (pos + 1 == line.size()) take(std::string_view());
      ++pos;
      skip_blanks();
    }
  }
}

std::size_t CountFields(std::string_view line) {
  std::size_t count = 0;
  ForEachField(line, [&](std::string_view) { ++count; });
  return count;
}

// Counted first, so the vector is allocated once at its size, never doubled past it.
std::vector<rtl::Text> SplitFields(std::string_view line, std::size_t count) {
  std::vector<rtl::Text> fields;
  fields.reserve(count);
  ForEachField(line, [&](std::string_view field) { fields.emplace_back(field); });
  return fields;
}

class TableFileReader {
 public:
  explicit TableFileReader(ConnectionTable& table) : table_(table) {}

  // Rows go into the table in one batch, also when a line ends the read early.
  void Read(std::string_view text) {
    try {
      ForEachLine(text);
    } catch (...) {
      Flush();
      throw;
    }
    Flush();
  }

 private:
  void ForEachLine(std::string_view text) {
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.find('\r') == std::string_view::npos) {
        Line(line);
      } else {
        // A CR that does not end the line is dropped and the line goes on.
        rtl::Text cleaned(line);
        std::erase(cleaned, '\r');
        Line(cleaned);
      }
    }
  }

  void Line(std::string_view line) {
    const std::size_t count = CountFields(line);
    fields_read_ += count;
    if (fields_read_ > kMostTableFields) throw TableTooLargeError();
    std::vector<rtl::Text> fields = SplitFields(line, count);
    if (first_line_) {
      first_line_ = false;
      table_.AddColumns(std::move(fields));
      return;
    }
    if (fields.size() < 2) {
      rows_.push_back(ConnectionTable::Row{});
      throw rtl::ListIndexError(static_cast<long long>(fields.size()));
    }
    ConnectionTable::Row row;
    row.caption = std::move(fields[0]);
    row.caption += ' ';
    row.caption += fields[1];
    // The fields' own vector becomes the values: no second copy of a long line's fields.
    fields.erase(fields.begin(), fields.begin() + 2);
    row.values = std::move(fields);
    rows_.push_back(std::move(row));
  }

  void Flush() {
    table_.AppendRows(std::move(rows_));
    rows_.clear();
  }

  ConnectionTable& table_;
  std::vector<ConnectionTable::Row> rows_;
  bool first_line_ = true;
  std::size_t fields_read_ = 0;
};

}  // namespace

std::vector<rtl::Text> SplitTableFields(std::string_view line) {
  return SplitFields(line, CountFields(line));
}

void WriteRowCaption(rtl::Text& out, std::string_view caption) {
  const size_t space = caption.find(' ');
  if (space == std::string_view::npos) {
    WriteField(out, caption);
    return;
  }
  const size_t rest = caption.find_first_not_of(' ', space);
  WriteField(out, caption.substr(0, space));
  out += caption.substr(space, (rest == std::string_view::npos ? caption.size() : rest) - space);
  WriteField(out, rest == std::string_view::npos ? std::string_view() : caption.substr(rest));
}

rtl::Text TableFileText(const ConnectionTable& table) {
  rtl::Text out;
  WriteLine(out, table.Columns());
  out += "\r\n";
  for (int row = 0; row < table.RowCount(); ++row) {
    const ConnectionTable::Row& entry = table.RowAt(row);
    WriteRowCaption(out, entry.caption);
    for (const rtl::Text& value : entry.values) {
      out += ',';
      WriteField(out, value);
    }
    out += "\r\n";
  }
  return out;
}

void ReadTableFileText(std::string_view text, ConnectionTable& table) { TableFileReader(table).Read(text); }

TableTooLargeError::TableTooLargeError()
    : rtl::Exception(rtl::Windows1251FromUtf8("в таблице больше " + std::to_string(kMostTableFields) +
                                              " полей, такую таблицу программа не загружает")) {}

rtl::Text TableFileName(const rtl::Text& date_text, const rtl::Text& time_stamp) {
  auto safe = [](rtl::Text text) {
    for (char& c : text) {
      if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr) c = '.';
    }
    return text;
  };
  return "list_" + safe(date_text) + "_" + safe(time_stamp) + ".txt";
}

}  // namespace core
