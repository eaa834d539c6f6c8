#include "core/polling_run.h"

#include <algorithm>
#include <limits>
#include <string>

#include "core/table_file_text.h"
#include "rtl/file_name.h"
#include "rtl/integer.h"

namespace core {

std::int32_t PollIntervalFromMinutes(const rtl::Text& minutes_text) {
  const std::int64_t ms = std::int64_t{rtl::StrToInt(minutes_text)} * 60 * 1000;
  // Wrapped, 1360073 minutes would tick every 1.376 s.
  if (ms < std::numeric_limits<std::int32_t>::min() || ms > std::numeric_limits<std::uint32_t>::max()) {
    throw IntervalTooLongError(minutes_text);
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

IntervalTooLongError::IntervalTooLongError(const rtl::Text& minutes_text)
    : rtl::Exception("The interval of '" + minutes_text + "' minutes does not fit the timer (at most 71582)") {}

rtl::Text FileTimeStamp(rtl::DateTime time) {
  rtl::Text stamp = rtl::TimeText(time);
  std::replace(stamp.begin(), stamp.end(), ':', '.');
  return stamp;
}

std::filesystem::path TableFileNameNow(Clock& clock, const std::filesystem::path& directory) {
  const rtl::Text date = rtl::DateText(clock.Now());
  return directory / rtl::SystemPath(TableFileName(date, FileTimeStamp(clock.Now())));
}

PollingRun::PollingRun(ConnectionTable& table, Clock& clock, RunListener& listener)
    : table_(table), clock_(clock), listener_(listener) {}

void PollingRun::Start(const std::vector<rtl::Text>& watch_list, const rtl::Text& minutes_text) {
  table_.ClearColumns();
  std::vector<rtl::Text> columns{rtl::Windows1251FromUtf8("Время")};
  columns.insert(columns.end(), watch_list.begin(), watch_list.end());
  table_.AddColumns(columns);
  poll_interval_ms_ = PollIntervalFromMinutes(minutes_text);
  columns_ = std::move(columns);
  rows_.clear();
  active_ = true;
}

ConnectionTable PollingRun::RunTable() const { return TableOfRows(table_, columns_, rows_); }

void PollingRun::Stop() {
  active_ = false;
  probing_.reset();
  tick_waiting_ = false;
}

std::optional<Tick> PollingRun::TimerFired(const std::vector<rtl::Text>& watch_list) {
  if (!active_) return std::nullopt;
  if (probing_) {
    tick_waiting_ = true;
    return std::nullopt;
  }
  return BeginTick(watch_list);
}

std::optional<Tick> PollingRun::BeginTick(const std::vector<rtl::Text>& watch_list) {
  // A negative interval never equals the unsigned one and is taken as a very long unsigned
  // one; setting the interval the timer already has does nothing to it, so only a real change
  // counts (and restarts the period).
  const auto interval = static_cast<std::uint32_t>(poll_interval_ms_);
  if (interval != timer_interval_) {
    timer_interval_ = interval;
    listener_.TimerIntervalChanged(timer_interval_);
  }
  if (watch_list.empty()) {
    listener_.TickEnded({});
    return std::nullopt;
  }
  probing_ = TickInProgress{Tick{++last_tick_id_, watch_list}, 0, -1, {}, false};
  probing_->summary.shares = static_cast<int>(watch_list.size());
  return probing_->tick;
}

bool PollingRun::Apply(int tick_id, const ProbeResult& result) {
  if (!probing_ || probing_->tick.id != tick_id || probing_->over) return false;
  TickInProgress& probing = *probing_;
  const rtl::Text share = probing.tick.shares[probing.next++];
  const int row_before = probing.row;
  Record(probing, result);
  const bool over = result.EndsTick() || probing.next == probing.tick.shares.size();
  if (over) {
    probing.over = true;
    probing.summary.cut = probing.next < probing.tick.shares.size();
  }
  // The listeners come last and get copies: one may call back into the run (stop it, say).
  Notify(share, result, probing.row, probing.row != row_before, over ? std::optional(probing.summary) : std::nullopt);
  return !over && probing_ && probing_->tick.id == tick_id;
}

void PollingRun::Record(TickInProgress& probing, const ProbeResult& result) {
  ++probing.summary.probed;
  if (!result.Counted()) ++probing.summary.failures;
  if (!result.HasReport()) return;
  if (probing.row < 0) {
    const rtl::Text date = rtl::DateText(clock_.Now());
    probing.row = table_.AddRow(date + "  " + rtl::TimeText(clock_.Now()));
    rows_.push_back(probing.row);
  }
  table_.AppendValue(probing.row, std::to_string(result.count));
}

void PollingRun::Notify(const rtl::Text& share, const ProbeResult& result, int row, bool row_added,
                        const std::optional<TickSummary>& ended) {
  if (!result.Counted()) listener_.ProbeFailed(share, result);
  if (result.HasReport()) {
    listener_.UsersSeen(share, result.users);
    if (row_added) listener_.RowAdded(row);
    listener_.ValueAppended(share, result, row);
  }
  if (ended) listener_.TickEnded(*ended);
}

std::optional<Tick> PollingRun::ProbingEnded(int tick_id, const std::vector<rtl::Text>& watch_list) {
  if (!probing_ || probing_->tick.id != tick_id) return std::nullopt;
  probing_.reset();
  if (!active_ || !tick_waiting_) return std::nullopt;
  tick_waiting_ = false;
  return BeginTick(watch_list);
}

std::optional<Tick> ProbeTick(PollingRun& run, const Tick& tick, ShareProber& prober,
                              const platform::CancelSignal& cancel, const std::vector<rtl::Text>& watch_list) {
  for (const rtl::Text& share : tick.shares) {
    if (cancel.Cancelled()) break;
    const ProbeResult result = prober.Probe(share, cancel);
    // A cancelled probe says nothing about the share; the run is ending, not failing.
    if (result.outcome == ProbeOutcome::kCancelled || !run.Apply(tick.id, result)) break;
  }
  return run.ProbingEnded(tick.id, watch_list);
}

}  // namespace core
