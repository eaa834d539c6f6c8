// The headless run on Linux ("sharemon --poll", read by core/program_faces.h): the polling run
// without a window, for a server or a service unit, serving its metrics to Prometheus.
//
// The loop is core::HeadlessRun (first tick at once, a new table file every midnight, the file
// written after every tick); it runs on a thread of its own, while the main thread runs the
// event loop of the HTTP server, so a scrape never waits for a probe and a slow scraper never
// holds a tick. --metrics with port 0 lets the system pick one, which the log names. SIGTERM,
// SIGINT and SIGHUP end the run, write its file and exit with 0. Log lines go to standard
// error. No display is needed and no GUI application is created.
//
// Exit codes: 0 after a stop request; 1 when the watch list cannot be read, the first table
// file cannot be written or the metrics address cannot be taken; 2 for a metrics address that
// is no HOST:PORT.
#pragma once

#include "core/headless_run.h"
#include "core/poll_options.h"

int ServePoll(int argc, char* argv[], const core::HeadlessSettings& settings, const core::PollArguments& arguments);
