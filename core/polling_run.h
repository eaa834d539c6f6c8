// A polling run: starting it builds the table's columns ("Время" plus one per watched share)
// and reads the interval; every tick probes the watched shares in order and adds one row of
// user counts, captioned with the date and time of the first count; stopping ends it. The run
// holds no threads and no timer: its shell (the window, the headless run) says when the timer
// fell due, probes the tick's shares where it likes (on a worker thread, say) and hands each
// result back in order, on the one thread that owns the table. Times are the runtime's
// date-time values (days since 30 December 1899); intervals are milliseconds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/connection_table.h"
#include "core/share_probe.h"
#include "platform/cancel_signal.h"
#include "rtl/date_time.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace core {

// Where a run reads the date and time. Each call is a separate reading.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual rtl::DateTime Now() = 0;
};

// The runtime's wall clock (rtl::Now, which tests may replace for the whole program).
class SystemClock final : public Clock {
 public:
  rtl::DateTime Now() override { return rtl::Now(); }
};

// How a tick went, for a log line or a metric.
struct TickSummary {
  int shares = 0;     // in the tick's watch list
  int probed = 0;     // results applied
  int failures = 0;   // of them, results without a real count
  bool cut = false;   // a probe without a report ended the tick early
};

// What a run tells whoever shows or exports it; every call comes on the thread that applies
// results, after the table has changed. A listener may call back into the run (stop it).
// Each method does nothing unless overridden.
class RunListener {
 public:
  virtual ~RunListener() = default;
  // The tick's first count opened row `row` of the table.
  virtual void RowAdded(int /*row*/) {}
  // A share's count went into row `row` (result.count, as the table shows it).
  virtual void ValueAppended(const rtl::Text& /*share*/, const ProbeResult& /*result*/, int /*row*/) {}
  // The names a report held (perhaps none), for the users view.
  virtual void UsersSeen(const rtl::Text& /*share*/, const std::vector<rtl::Text>& /*names*/) {}
  // A probe without a real count: without a report (the tick ends there) or with an access
  // denied report or one without a users section (its count still goes into the table).
  virtual void ProbeFailed(const rtl::Text& /*share*/, const ProbeResult& /*result*/) {}
  // A tick's start gave the timer a new interval (unsigned milliseconds; 0 means no ticks).
  virtual void TimerIntervalChanged(std::uint32_t /*interval_ms*/) {}
  virtual void TickEnded(const TickSummary& /*summary*/) {}
};

// One tick's work for the shell: probe `shares` in order and hand back each result with `id`.
struct Tick {
  int id = 0;
  std::vector<rtl::Text> shares;  // the watch list as it was when the tick started
};

// The interval in minutes a run takes unless the user gives another: the text the window's
// interval box starts with, and the headless run's interval without --interval.
inline constexpr char kDefaultIntervalMinutes[] = "30";

// The minutes text (read by rtl::StrToInt: spaces, sign, decimal, $ or 0x hex) as
// milliseconds: minutes × 60 × 1000 as a signed 32-bit number, which the timer takes as
// unsigned (35792 minutes give -2147447296, a wait of 2147520000 ms; -1 a wait of 49.7 days).
// Throws rtl::ConvertError "'%s' is not a valid integer value", and IntervalTooLongError when
// the milliseconds need more than 32 bits: from 71583 minutes on, and below -35791.
std::int32_t PollIntervalFromMinutes(const rtl::Text& minutes_text);

// "The interval of '%s' minutes does not fit the timer (at most 71582)" with the text as given.
class IntervalTooLongError : public rtl::Exception {
 public:
  explicit IntervalTooLongError(const rtl::Text& minutes_text);
};

// The time text of `time` with every ":" replaced by ".".
rtl::Text FileTimeStamp(rtl::DateTime time);

// The table file a stop writes now: "list_" + date text + "_" + FileTimeStamp in `directory`,
// the date and the time taken from two readings of the clock, the date first. The directory
// stays the system's path, whatever letters its name holds; only the name made here is text.
std::filesystem::path TableFileNameNow(Clock& clock, const std::filesystem::path& directory);

class PollingRun {
 public:
  // The run appends to `table`, reads `clock` and tells `listener`; all three outlive it.
  PollingRun(ConnectionTable& table, Clock& clock, RunListener& listener);

  bool Active() const { return active_; }
  std::int32_t PollIntervalMs() const { return poll_interval_ms_; }
  // The interval the timer runs with: 1000 ms until the first tick of the first run, then the
  // run's PollIntervalMs as the latest tick took it.
  std::uint32_t TimerInterval() const { return timer_interval_; }
  // A tick has been handed out and its probing has not ended yet.
  bool Probing() const { return probing_.has_value(); }
  // The table of the run going or the last one: the columns it started with and the rows its
  // ticks added (as the table holds them now, edited captions too), whatever columns and rows
  // the table was given since, so every file of the run keeps each count under its share.
  // Empty before the first start.
  ConnectionTable RunTable() const;

  // The table's columns become "Время" plus one per watch-list entry (rows stay), the
  // interval is read and the run is active. When the minutes text holds no interval the
  // columns are rebuilt and PollIntervalFromMinutes's error thrown, and the run (its RunTable
  // too) stays as it was.
  void Start(const std::vector<rtl::Text>& watch_list, const rtl::Text& minutes_text);
  // The run ends; a tick still probing is abandoned (its later results are ignored) and a
  // tick that was waiting is dropped. The table keeps what the tick appended so far.
  void Stop();

  // The timer fell due. The tick to probe now; nothing when the run is not active, when the
  // watch list is empty (the tick ends at once, without a row), or when a tick is still
  // probing: then this one waits, and a second waiting tick is not kept.
  std::optional<Tick> TimerFired(const std::vector<rtl::Text>& watch_list);
  // A result of tick `tick_id`, in the tick's share order. Results of another tick, or past
  // the end of this one, are ignored. True while the tick wants its next share probed.
  bool Apply(int tick_id, const ProbeResult& result);
  // The shell has stopped probing tick `tick_id`. The tick that fell due meanwhile, if any,
  // starts now with the watch list of this moment.
  std::optional<Tick> ProbingEnded(int tick_id, const std::vector<rtl::Text>& watch_list);

 private:
  struct TickInProgress {
    Tick tick;
    std::size_t next = 0;  // index of the share whose result comes next
    int row = -1;
    TickSummary summary;
    bool over = false;
  };

  std::optional<Tick> BeginTick(const std::vector<rtl::Text>& watch_list);
  void Record(TickInProgress& probing, const ProbeResult& result);
  void Notify(const rtl::Text& share, const ProbeResult& result, int row, bool row_added,
              const std::optional<TickSummary>& ended);

  ConnectionTable& table_;
  Clock& clock_;
  RunListener& listener_;
  bool active_ = false;
  std::int32_t poll_interval_ms_ = 0;
  std::uint32_t timer_interval_ = 1000;
  std::optional<TickInProgress> probing_;
  std::vector<rtl::Text> columns_;  // of RunTable
  std::vector<int> rows_;           // of RunTable, indexes into the table
  bool tick_waiting_ = false;
  int last_tick_id_ = 0;
};

// Probes every share of `tick` on this thread, in order, handing each result to the run,
// until the tick ends or `cancel` is given; then tells the run its probing ended and returns
// the tick that fell due meanwhile, if any.
std::optional<Tick> ProbeTick(PollingRun& run, const Tick& tick, ShareProber& prober,
                              const platform::CancelSignal& cancel, const std::vector<rtl::Text>& watch_list);

}  // namespace core
