#include "app/data_directory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The directory with symbolic links resolved; one that does not exist, cleaned as text.
QString ResolvedDirectory(const QString& directory) {
  const QString canonical = QFileInfo(directory).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QDir(directory).absolutePath()) : canonical;
}

}  // namespace

QString InstalledProgramDirectory() { return QStringLiteral(SHAREMON_INSTALLED_BINDIR); }

QString DataDirectoryFor(const QString& program_directory, const QString& installed_directory,
                         const QString& user_data_directory) {
  const bool installed = ResolvedDirectory(program_directory) == ResolvedDirectory(installed_directory);
  return installed ? user_data_directory : program_directory;
}

QString ProgramDataDirectory(const QString& program_directory) {
  const QString user_data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  const QString chosen = DataDirectoryFor(program_directory, InstalledProgramDirectory(), user_data);
  if (chosen == user_data) QDir().mkpath(user_data);
  return chosen;
}
