// The polling run without a window, for a server: the watch list comes from a file, ticks come
// at a fixed interval, the table file is written after every tick, a new run with an empty
// table and a new file starts at local midnight, and everything ends when the stop signal is
// given. The loop owns no thread and no timer: time passes through an injected Pause, and the
// clock, the prober and a listener are injected too, so the Linux "--poll" face, the Windows
// console program and the tests drive the same code.
//
// Timing. A run's first tick comes at once when the run starts: at program start, so a service
// reports as soon as it is up, and at each midnight, so each day's file opens with a row at
// 0:00:00. Later ticks come one interval after the previous tick began; a tick that takes
// longer than the interval is followed at once by the next. Intervals are measured on the
// clock; when the clock is set back, the wait starts again from the new time, so a tick is
// late by at most one interval.
//
// Files. A run's file is named when the run starts, "list_" + date + "_" + time + ".txt" in
// the output directory (the name a window's stop would give at that moment), written at the
// start, after every tick and when the run ends; each write replaces the file atomically, so
// a crash loses at most one tick. A run holds the ticks that begin on its calendar day.
//
// Log. One line per tick (time, shares probed, failures), one per failed probe, one when a
// run starts and one when it ends, each a UTF-8 text without a line end.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/connection_table.h"
#include "core/polling_run.h"
#include "core/share_probe.h"
#include "platform/cancel_signal.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace core {

// The interval given in minutes, read by the window's interval rules (rtl::StrToInt: spaces, a
// sign, decimal, or hexadecimal after "$" or "0x"). Throws rtl::ConvertError "'%s' is not a
// valid integer value", IntervalTooShortError below 1 minute.
std::chrono::minutes PollMinutes(const rtl::Text& minutes_text);

// "The interval must be at least 1 minute, not '%s'" with the text as given.
class IntervalTooShortError : public rtl::Exception {
 public:
  explicit IntervalTooShortError(const rtl::Text& minutes_text);
};

struct HeadlessSettings {
  std::filesystem::path watch_list_file;
  std::filesystem::path output_directory;
  std::chrono::milliseconds interval{30 * 60 * 1000};  // above 0
};

// How the loop lets time pass. A real one sleeps on the stop signal; a test's moves its clock.
class Pause {
 public:
  virtual ~Pause() = default;
  // Waits `duration` (at least 1 ms); true when the stop signal came meanwhile (or before).
  virtual bool Wait(std::chrono::milliseconds duration) = 0;
};

// Sleeps on the signal: wakes at once when it is given.
class SignalPause final : public Pause {
 public:
  explicit SignalPause(const platform::CancelSignal& stop) : stop_(stop) {}
  bool Wait(std::chrono::milliseconds duration) override { return stop_.WaitFor(duration); }

 private:
  const platform::CancelSignal& stop_;
};

// "table file not written: %s: %s" with the file's name and the reason: the log line after a
// failed write, and the error of a run that could not write its first file.
class TableFileNotWrittenError : public rtl::Exception {
 public:
  TableFileNotWrittenError(const std::filesystem::path& file, const rtl::Text& reason);
};

// Where the log lines go.
class RunLog {
 public:
  virtual ~RunLog() = default;
  virtual void Line(const std::string& utf8_line) = 0;
};

// Log lines on standard error, each line whole (platform::WriteErrorLine).
class StandardErrorLog final : public RunLog {
 public:
  void Line(const std::string& utf8_line) override;
};

// The clock reading as "yyyy-mm-dd hh:mm:ss", the form of the log lines.
std::string LogTimeText(rtl::DateTime time);

// A failed probe as a log line says it (UTF-8): "probe of "SHARE" failed: OUTCOME: ERROR".
std::string ProbeFailedText(const rtl::Text& share, const ProbeResult& result);

class HeadlessRun final : private RunListener {
 public:
  // The parts the loop works with; all outlive it. `listener` hears every run event after the
  // loop itself has (the metrics exporter hangs there); `stop` ends the loop and cancels a
  // probe in flight.
  struct Parts {
    Clock& clock;
    ShareProber& prober;
    const platform::CancelSignal& stop;
    Pause& pause;
    RunListener& listener;
    RunLog& log;
  };

  HeadlessRun(HeadlessSettings settings, Parts parts);

  // Runs day after day until the stop signal; returns once the last run's file was written.
  // The first run's start may throw: rtl::FileOpenError when the watch list cannot be read,
  // TableFileNotWrittenError when its file cannot be written; both name the file, and
  // nothing was polled then.
  // Later, such failures are logged and the loop goes on (a watch list that cannot be read at
  // midnight keeps the previous one; a file that cannot be written is tried again next tick).
  void Run();

 private:
  enum class Wake { kTick, kMidnight, kStop };

  // One run from its start to midnight (true) or to the stop signal (false).
  bool RunOneDay(bool first);
  void LoadWatchList(bool first);
  Wake TickUntilMidnightOrStop(PollingRun& run, const ConnectionTable& table, const std::filesystem::path& file,
                               double day);
  Wake WaitForNextTick(rtl::DateTime tick_start, double day);
  // False (after a log line) when the write failed and `first` is false.
  bool Save(const ConnectionTable& table, const std::filesystem::path& file, bool first);
  void Log(const std::string& text);

  // RunListener: log, then pass on.
  void RowAdded(int row) override;
  void ValueAppended(const rtl::Text& share, const ProbeResult& result, int row) override;
  void UsersSeen(const rtl::Text& share, const std::vector<rtl::Text>& names) override;
  void ProbeFailed(const rtl::Text& share, const ProbeResult& result) override;
  void TickEnded(const TickSummary& summary) override;

  HeadlessSettings settings_;
  Parts parts_;
  std::vector<rtl::Text> watch_list_;
};

}  // namespace core
