// Where the program keeps its own files (platform/data_directory.h), as Qt paths for the window
// and the headless face. Nothing here throws.
#pragma once

#include <QString>

// The data directory of the program in program_directory: beside it, or for an installed copy
// the user's data directory, made when missing (platform::ProgramDataDirectory).
QString ProgramDataDirectory(const QString& program_directory);
