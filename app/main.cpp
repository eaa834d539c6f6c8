// Program entry: picks the command-line face; without options, the main window.
#include "app/command_line.h"

int main(int argc, char* argv[]) { return RunCommandLine(argc, argv); }
