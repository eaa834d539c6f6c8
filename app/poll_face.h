// The headless face: "sharemon --poll" runs the polling run without a window, for a server
// or a service unit, and serves its metrics to Prometheus.
//
//   sharemon --poll [--watch FILE] [--interval N] [--out DIR] [--metrics HOST:PORT | --no-metrics]
//
// The options, their defaults and their help are the table of core/poll_options.h. The data
// directory the defaults name is platform/data_directory.h's: beside a build tree's program, else the
// user's data directory. --interval is read as the window reads its interval; --metrics with
// port 0 lets the system pick one, which the log names.
//
// The loop is core::HeadlessRun (first tick at once, a new table file every midnight, the file
// written after every tick); it runs on a thread of its own, while the main thread runs the
// event loop of the HTTP server, so a scrape never waits for a probe and a slow scraper never
// holds a tick. SIGTERM, SIGINT and SIGHUP end the run, write its file and exit with 0. Log
// lines go to standard error; nothing goes to standard output but --help. No display is needed
// and no GUI application is created.
//
// Exit codes: 0 after a stop request; 1 when the watch list cannot be read, the first table
// file cannot be written or the metrics address cannot be taken; 2 for unusable arguments.
//
// For tests only: the environment variable SHAREMON_TEST_INTERVAL_MS, a positive number of
// milliseconds, replaces the interval after --interval has been read and checked, so that an
// end-to-end test sees several ticks within seconds. It is no interface for users.
#pragma once

#include <string>

int RunPoll(int argc, char* argv[]);

// The options of --poll (core/poll_options.h) and what they do, as "sharemon --poll --help"
// prints them after its usage line (for the program's overall help).
std::string PollHelpText();
