// Where the program keeps its own files: the window's watch list (splist.txt) and its table
// files, and the defaults of "sharemon --poll". A copy run from its build tree keeps them
// beside the program, as it always has. An installed copy, one whose executable lies in the
// binary directory of the install prefix compiled in at configure time (e.g. /usr/bin), cannot
// write there: it keeps them in the user's data directory (QStandardPaths::AppDataLocation,
// e.g. ~/.local/share/sharemon). Directories are absolute Qt paths; nothing here throws.
#pragma once

#include <QString>

// The binary directory of the install prefix this build was configured for.
QString InstalledProgramDirectory();

// The decision alone: user_data_directory when program_directory is installed_directory,
// else program_directory. The two are compared after resolving symbolic links, so that the
// /bin and /usr/bin of a merged /usr count as one directory.
QString DataDirectoryFor(const QString& program_directory, const QString& installed_directory,
                         const QString& user_data_directory);

// The data directory of the program in program_directory, with the compiled-in installed
// directory and the user's data directory, whose name comes from the application (a
// QCoreApplication must exist). A chosen user's data directory that is missing is created;
// should that fail it is still returned, and writing a file there later fails with the
// program's usual file error.
QString ProgramDataDirectory(const QString& program_directory);
