// What the program's command-line faces print and exit with, the same on Linux and Windows:
// the share list, a probe's line, and the headless run's settings from its options. The faces
// themselves are core/program_faces.h. Output texts are UTF-8 with "\n" after each line.
#pragma once

#include <filesystem>
#include <string>

#include "core/headless_run.h"
#include "core/poll_options.h"
#include "core/share_probe.h"
#include "platform/cancel_signal.h"
#include "rtl/string_list.h"
#include "rtl/text.h"

namespace core {

struct FaceOutput {
  int exit_code = 0;
  std::string out;    // for standard output
  std::string error;  // for standard error
};

// "--list-shares": one name per line, exit code 0 (an empty list prints nothing).
FaceOutput ListSharesOutput(const rtl::StringList& shares);

// "--probe NAME": probes the share (program text) once, without a cancel. With a real count,
// the count, a tab and the counted names separated by single spaces, exit code 0 (also for a
// count of 0); otherwise, as the polling run counts a failure (no report, or a report that
// says the connections cannot be read: no such share, access denied, the status service
// failed or did not answer), the reason on standard error (the error text, else the
// outcome's name) and exit code 1.
FaceOutput ProbeOutput(const rtl::Text& share, ShareProber& prober);

// Writes the texts to standard output and standard error (platform/standard_streams.h) and
// returns the exit code.
int PrintFaceOutput(const FaceOutput& output);

// The environment variable that, for tests only, replaces the interval by that many
// milliseconds (a positive decimal number; anything else is ignored), after --interval has
// been read and checked, so that an end-to-end test sees several ticks within seconds.
inline constexpr char kTestIntervalVariable[] = "SHAREMON_TEST_INTERVAL_MS";

// The run's settings: the watch list defaults to splist.txt in `program_directory`, the table
// files to `program_directory` itself; the interval is read by PollMinutes. Throws
// PollOptionError naming the option.
HeadlessSettings PollSettings(const PollOptionTexts& options, const std::filesystem::path& program_directory);

// The headless run as a program runs it: the system's clock, the real probe, and a pause that
// wakes on `stop`, until the stop signal. Returns 0 then; 1 when the run could not start (the
// watch list could not be read, the first table file could not be written), after the face's
// line (FaceLine) with the error text on `log`.
int PollUntilStopped(const HeadlessSettings& settings, const platform::CancelSignal& stop, RunListener& listener,
                     RunLog& log);

// "--interval: " + the reading's error text (program text).
class PollOptionError : public rtl::Exception {
 public:
  PollOptionError(const rtl::Text& option, const rtl::Text& reason);
};

}  // namespace core
