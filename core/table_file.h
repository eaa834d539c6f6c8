// The connection table file on disk: written at each stop of a window's run and after every
// tick of a headless run, read back through "Загрузить файл", "sharemon TABLEFILE" and
// "--render". The text is TableFileText's; the file is written and read as every file of the
// program is (platform/whole_file.h): atomically, and regular files only.
#pragma once

#include <filesystem>

#include "core/connection_table.h"

namespace core {

// Writes TableFileText(table) to the file, replacing it atomically, so a failure leaves any
// earlier file untouched. Throws rtl::InOutError with the runtime's file error code where it
// has a text of its own (2 "File not found", 5 "File access denied", 101 "Disk full", ...),
// else rtl::FileCreateError naming the file with the system's text, as also when the name is
// taken by something that is no regular file.
void SaveConnectionTable(const ConnectionTable& table, const std::filesystem::path& file);

// Appends the file's columns and rows to the table (ReadTableFileText). Throws
// rtl::InOutError with the runtime's code when the file is missing (2 "File not found") or
// cannot be read for a reason with a text of its own, else rtl::FileOpenError naming the file
// with the system's text, as also when it is no regular file (a directory,
// a FIFO, a device), and what ReadTableFileText throws; a table of more than kMostTableFields
// fields, or a file larger than platform::kLargestReadFile, as rtl::FileOpenError naming the
// file.
void ReadConnectionTable(ConnectionTable& table, const std::filesystem::path& file);

// ReadConnectionTable, as the window loads a file: nothing happens when no such file exists
// (or the name is a directory).
void LoadConnectionTable(ConnectionTable& table, const std::filesystem::path& file);

}  // namespace core
