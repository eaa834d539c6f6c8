#include "app/table_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstring>

#include "app/form1.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "platform/whole_file.h"
#include "rtl/errors.h"

namespace {

bool IsBlank(unsigned char c) { return c >= 1 && c <= 32; }

void AppendLine(rtl::Text& out, const rtl::Text& first, const std::vector<rtl::Text>& rest) {
  out += first;
  for (const rtl::Text& value : rest) {
    out += ',';
    out += value;
  }
  out += "\r\n";
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

class TableFileReader {
 public:
  explicit TableFileReader(ConnectionTableModel& table) : table_(table) {}

  // Rows go into the table in one batch, so that a view of the table hears of them once.
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
    std::vector<rtl::Text> fields = SplitTableFields(line);
    if (first_line_) {
      first_line_ = false;
      for (const rtl::Text& caption : fields) table_.AddColumn(caption);
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
    row.values.assign(std::make_move_iterator(fields.begin() + 2), std::make_move_iterator(fields.end()));
    rows_.push_back(std::move(row));
  }

  void Flush() {
    if (!rows_.empty()) table_.AppendRows(std::move(rows_));
    rows_.clear();
  }

  ConnectionTableModel& table_;
  std::vector<ConnectionTable::Row> rows_;
  bool first_line_ = true;
};

}  // namespace

std::vector<rtl::Text> SplitTableFields(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::vector<rtl::Text> fields;
  size_t pos = 0;
  auto skip_blanks = [&] {
    while (pos < line.size() && IsBlank(static_cast<unsigned char>(line[pos]))) ++pos;
  };
  skip_blanks();
  while (pos < line.size()) {
    rtl::Text field;
    if (line[pos] == '"') {
      pos = ReadQuotedField(line, pos, field);
    } else {
      const size_t begin = pos;
      while (pos < line.size() && static_cast<unsigned char>(line[pos]) > 32 && line[pos] != ',') ++pos;
      field.assign(line.substr(begin, pos - begin));
    }
    fields.push_back(std::move(field));
    skip_blanks();
    if (pos < line.size() && line[pos] == ',') {
      if (pos + 1 == line.size()) fields.emplace_back();
      ++pos;
      skip_blanks();
    }
  }
  return fields;
}

rtl::Text ConnectionTableText(const ConnectionTable& table) {
  rtl::Text out;
  for (int column = 0; column < table.ColumnCount(); ++column) {
    if (column > 0) out += ',';
    out += table.Column(column);
  }
  out += "\r\n";
  for (int row = 0; row < table.RowCount(); ++row) {
    const ConnectionTable::Row& entry = table.RowAt(row);
    AppendLine(out, entry.caption, entry.values);
  }
  return out;
}

void SaveConnectionTable(const ConnectionTable& table, const QString& file_name) {
  platform::WriteWholeFile(QFileInfo(file_name).filesystemFilePath(), ConnectionTableText(table),
                           platform::FileErrors::kRuntimeCode);
}

void LoadConnectionTable(ConnectionTableModel& table, const QString& file_name) {
  const QFileInfo info(file_name);
  if (!info.exists() || info.isDir()) return;
  const rtl::Text bytes = platform::ReadWholeFile(info.filesystemFilePath(), platform::FileErrors::kRuntimeCode);
  TableFileReader(table).Read(bytes);
}

QString TableFileName(const QString& program_directory, const rtl::Text& date_text, const rtl::Text& time_stamp) {
  auto safe = [](rtl::Text text) {
    for (char& c : text) {
      if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr) c = '.';
    }
    return text;
  };
  QString directory = program_directory;
  if (!directory.endsWith(u'/') && !directory.endsWith(u'\\')) directory += QDir::separator();
  return directory + ToQString("list_" + safe(date_text) + "_" + safe(time_stamp) + ".txt");
}

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  const QString file_name = arguments.at(1);
  QTimer::singleShot(0, &form, [&form, file_name] {
    RunGuarded([&] { LoadConnectionTable(*form.ListView1Items(), file_name); });
  });
}
