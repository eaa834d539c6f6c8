// The probe's command-line face: "sharemon --probe NAME" prints what a probe of one share
// counts, for scripts and for checking a server without the window.
#pragma once

// Probes the share NAME (UTF-8) with the share query command and prints the count, a tab and
// the counted names separated by single spaces (UTF-8); exit code 0, also for a count of 0.
// Without a real count (see core::ProbeOutput) it prints the reason to standard error and
// returns 1; without NAME, 2. Needs no display.
int RunProbe(int argc, char* argv[]);
