// sharemon_window.exe: the main window alone, its watch list and table files beside it, until
// sharemon.exe opens the window when it is started without options. A second argument names
// a table file to open.
#include <windows.h>

#include <cstdlib>

#include "winshell/main_window.h"
#include "winshell/message_boxes.h"

// The C runtime's wide arguments, split as Windows splits a command line: shell32's splitter
// would load shell32 at start, which takes Wine a good part of a second.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  const std::vector<std::wstring> arguments(__wargv, __wargv + __argc);
  return winshell::RunMainWindow(arguments, winshell::ExecutableFile().parent_path(), show_command);
}
