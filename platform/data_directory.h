// Where the program keeps its own files: the window's watch list (splist.txt), its table files
// and the defaults of "sharemon --poll". A copy run from a folder of its own (a build tree, a
// folder the user unpacked it to) keeps them beside the program, as it always has. An
// installed copy cannot write where it lies, so it keeps them in the user's data directory:
//
//   system   installed when the program's directory is                  user's data directory
//   Linux    the binary directory of the install prefix compiled in      $XDG_DATA_HOME/sharemon,
//            at configure time (e.g. /usr/bin), symbolic links resolved  else ~/.local/share/sharemon
//   Windows  a Program Files folder (64-bit or x86) or a folder inside   %APPDATA%\sharemon
//            one, letters compared regardless of case
//
// Directories are absolute paths without a trailing separator (a root keeps its own). Nothing
// here throws; what cannot be found comes back empty.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace platform {

// The running program's executable, and its directory; empty if the system does not say.
std::filesystem::path ProgramFile();
std::filesystem::path ProgramDirectory();

// Where an installed copy lies on this system (see the table above).
std::vector<std::filesystem::path> InstalledPlaces();

// The user's data directory of the program (see the table above); empty when the system names
// none (no home directory, no application data folder).
std::filesystem::path UserDataDirectory();

// The decision alone: user_data_directory when program_directory is installed by the rule of
// this system against one of installed_places, else (and when user_data_directory is empty)
// program_directory.
std::filesystem::path DataDirectoryFor(const std::filesystem::path& program_directory,
                                       const std::vector<std::filesystem::path>& installed_places,
                                       const std::filesystem::path& user_data_directory);

// The data directory of the program in program_directory on this system. A chosen user's data
// directory that is missing is created; should that fail it is still returned, and writing a
// file there later fails with the program's usual file error.
std::filesystem::path ProgramDataDirectory(const std::filesystem::path& program_directory);

}  // namespace platform
