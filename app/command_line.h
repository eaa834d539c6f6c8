// The Linux program's command line. Its faces are core/program_faces.h; here are the parts
// that are Linux's own: the Qt window, the picture drawn with Qt and the headless run that
// serves its metrics.
#pragma once

// Runs the face the arguments ask for and returns the process exit code.
int RunCommandLine(int argc, char* argv[]);
