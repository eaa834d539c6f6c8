// The program's command-line faces. Without options it opens the main window; an option
// picks another face (each one a function of its own). The table of faces is in the .cpp.
#pragma once

// Runs the face the arguments ask for and returns the process exit code.
int RunCommandLine(int argc, char* argv[]);

// The main window face: shows the window and runs the message loop until it closes.
int RunMainWindow(int argc, char* argv[]);
