#include "app/data_directory.h"

#include "platform/data_directory.h"

QString ProgramDataDirectory(const QString& program_directory) {
  const auto directory = platform::ProgramDataDirectory(program_directory.toStdString());
  return QString::fromStdString(directory.string());
}
