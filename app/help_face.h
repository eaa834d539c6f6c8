// "sharemon --help" and "sharemon --version": what the program does and how each face is
// called, on standard output with exit code 0. The installed manual page is made from this
// help (help2man), so it is the one description of the command line. Needs no display.
#pragma once

int RunHelp(int argc, char* argv[]);
int RunVersion(int argc, char* argv[]);
