#include "core/table_file.h"

#include "core/table_file_text.h"
#include "platform/whole_file.h"
#include "rtl/errors.h"
#include "rtl/file_name.h"

namespace core {

void SaveConnectionTable(const ConnectionTable& table, const std::filesystem::path& file) {
  platform::WriteWholeFile(file, TableFileText(table), platform::FileErrors::kRuntimeCode);
}

void ReadConnectionTable(ConnectionTable& table, const std::filesystem::path& file) {
  try {
    ReadTableFileText(platform::ReadWholeFile(file, platform::FileErrors::kRuntimeCode), table);
  } catch (const TableTooLargeError& error) {
    throw rtl::FileOpenError(rtl::FileNameText(file), error.what());
  }
}

void LoadConnectionTable(ConnectionTable& table, const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) return;
  ReadConnectionTable(table, file);
}

}  // namespace core
