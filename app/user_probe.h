// The probe's command-line face: "sharemon --probe NAME" prints what a probe of one share
// counts, for scripts and for checking a server without the window.
#pragma once

// Probes the share NAME (UTF-8) with the share query command and prints the count, a tab and
// the counted names separated by single spaces (UTF-8); exit code 0, also for a report
// without users (count 0). Without a report (the command cannot be started, runs past its
// time limit or prints too much) it prints the error text to standard error and returns 1;
// without NAME, 2. Needs no display.
int RunProbe(int argc, char* argv[]);
