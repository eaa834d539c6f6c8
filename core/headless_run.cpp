#include "core/headless_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "core/table_file.h"
#include "core/watch_list_file.h"
#include "platform/share_query_command.h"
#include "platform/standard_streams.h"
#include "rtl/date_time.h"
#include "rtl/file_name.h"
#include "rtl/integer.h"

namespace core {
namespace {

using std::chrono::milliseconds;

constexpr double kMillisecondsPerDay = 24.0 * 60 * 60 * 1000;

// A clock reading in whole milliseconds since the runtime's epoch, so that differences of
// readings come out exact.
milliseconds Milliseconds(rtl::DateTime time) { return milliseconds(std::llround(time * kMillisecondsPerDay)); }

// A program text for a log line: UTF-8, line breaks and other control bytes as spaces, so a
// multi-line error text stays one line.
std::string LogText(rtl::Text text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
  return rtl::Utf8FromWindows1251(text);
}

// Appended piece by piece: GCC 12 at -O3 takes literal + string for an overlapping copy
// (a false -Wrestrict).
std::string Quoted(const rtl::Text& share) {
  std::string quoted(1, '"');
  quoted += LogText(share);
  quoted += '"';
  return quoted;
}

// The table with its first `count` rows only.
ConnectionTable FirstRows(const ConnectionTable& table, int count) {
  std::vector<int> rows(static_cast<std::size_t>(count));
  std::iota(rows.begin(), rows.end(), 0);
  return TableOfRows(table, table.Columns(), rows);
}

}  // namespace

std::chrono::minutes PollMinutes(const rtl::Text& minutes_text) {
  const int minutes = rtl::StrToInt(minutes_text);
  if (minutes < 1) throw IntervalTooShortError(minutes_text);
  return std::chrono::minutes(minutes);
}

IntervalTooShortError::IntervalTooShortError(const rtl::Text& minutes_text)
    : rtl::Exception("The interval must be at least 1 minute, not '" + minutes_text + "'") {}

TableFileNotWrittenError::TableFileNotWrittenError(const std::filesystem::path& file, const rtl::Text& reason)
    : rtl::Exception("table file not written: " + rtl::FileNameText(file) + ": " + reason) {}

std::string LogTimeText(rtl::DateTime time) {
  const rtl::DateTimeParts parts = rtl::DecodeDateTime(time);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", parts.year, parts.month, parts.day, parts.hour,
                parts.minute, parts.second);
  return text;
}

std::string ProbeFailedText(const rtl::Text& share, const ProbeResult& result) {
  std::string line = "probe of " + Quoted(share) + " failed: " + ProbeOutcomeName(result.outcome);
  if (!result.error.empty()) line += ": " + LogText(result.error);
  return line;
}

void StandardErrorLog::Line(const std::string& utf8_line) { platform::WriteErrorLine(utf8_line); }

HeadlessRun::HeadlessRun(HeadlessSettings settings, Parts parts) : settings_(std::move(settings)), parts_(parts) {}

void HeadlessRun::Run() {
  bool first = true;
  while (RunOneDay(first)) first = false;
}

bool HeadlessRun::RunOneDay(bool first) {
  LoadWatchList(first);
  ConnectionTable table;
  PollingRun run(table, parts_.clock, *this);
  const double day = std::floor(parts_.clock.Now());
  // The run's own interval is the window timer's business; the loop keeps time itself.
  run.Start(watch_list_, "0");
  const auto file = TableFileNameNow(parts_.clock, settings_.output_directory);
  Save(table, file, first);
  Log("run started: " + std::to_string(watch_list_.size()) + " shares, file " + LogText(rtl::FileNameText(file)));
  const Wake end = TickUntilMidnightOrStop(run, table, file, day);
  run.Stop();
  if (Save(table, file, false)) {
    Log(std::string(end == Wake::kStop ? "run stopped" : "run ended at midnight") + ": " +
        std::to_string(table.RowCount()) + " rows written");
  }
  return end != Wake::kStop;
}

void HeadlessRun::LoadWatchList(bool first) {
  try {
    std::vector<rtl::Text> entries = ReadWatchListFile(settings_.watch_list_file).Entries();
    std::erase_if(entries, [this](const rtl::Text& entry) {
      const auto fault = platform::ShareNameFault(entry);
      if (fault) Log("watch list entry left out: " + LogText(*fault));
      return fault.has_value();
    });
    watch_list_ = std::move(entries);
  } catch (const rtl::Exception& error) {
    if (first) throw;
    Log("watch list kept as it was: " + LogText(error.what()));
  }
}

HeadlessRun::Wake HeadlessRun::TickUntilMidnightOrStop(PollingRun& run, ConnectionTable& table,
                                                       const std::filesystem::path& file, double day) {
  for (;;) {
    const rtl::DateTime tick_start = parts_.clock.Now();
    if (std::floor(tick_start) != day) return Wake::kMidnight;
    if (const auto tick = run.TimerFired(watch_list_)) {
      const int whole_rows = table.RowCount();
      tick_ended_ = false;
      ProbeTick(run, *tick, parts_.prober, parts_.stop, watch_list_);
      // A stop in the middle of a tick would leave its row short of the later shares' counts:
      // the file keeps the whole ticks only.
      if (!tick_ended_) table = FirstRows(table, whole_rows);
    }
    if (parts_.stop.Cancelled()) return Wake::kStop;
    Save(table, file, false);
    const Wake wake = WaitForNextTick(tick_start, day);
    if (wake != Wake::kTick) return wake;
  }
}

HeadlessRun::Wake HeadlessRun::WaitForNextTick(rtl::DateTime tick_start, double day) {
  for (;;) {
    const rtl::DateTime now = parts_.clock.Now();
    if (std::floor(now) != day) return Wake::kMidnight;
    // A clock set back: count the interval from now rather than wait for the old time again.
    tick_start = std::min(tick_start, now);
    const milliseconds elapsed = Milliseconds(now) - Milliseconds(tick_start);
    if (elapsed >= settings_.interval) return Wake::kTick;
    const milliseconds to_midnight = Milliseconds(day + 1) - Milliseconds(now);
    // Woken a hair before midnight by the rounding: look again a millisecond later.
    const auto wait = std::max(milliseconds(1), std::min(settings_.interval - elapsed, to_midnight));
    if (parts_.pause.Wait(wait)) return Wake::kStop;
  }
}

bool HeadlessRun::Save(const ConnectionTable& table, const std::filesystem::path& file, bool first) {
  try {
    SaveConnectionTable(table, file);
    return true;
  } catch (const rtl::Exception& error) {
    // A start error names the file as the log does: "File not found" alone leaves the user
    // guessing which folder is missing.
    const TableFileNotWrittenError failure(file, error.what());
    if (first) throw failure;
    Log(LogText(failure.what()));
    return false;
  }
}

void HeadlessRun::Log(const std::string& text) { parts_.log.Line(LogTimeText(parts_.clock.Now()) + " " + text); }

void HeadlessRun::RowAdded(int row) { parts_.listener.RowAdded(row); }

void HeadlessRun::ValueAppended(const rtl::Text& share, const ProbeResult& result, int row) {
  parts_.listener.ValueAppended(share, result, row);
}

void HeadlessRun::UsersSeen(const rtl::Text& share, const std::vector<rtl::Text>& names) {
  parts_.listener.UsersSeen(share, names);
}

void HeadlessRun::ProbeFailed(const rtl::Text& share, const ProbeResult& result) {
  Log(ProbeFailedText(share, result));
  parts_.listener.ProbeFailed(share, result);
}

void HeadlessRun::TickEnded(const TickSummary& summary) {
  tick_ended_ = true;
  std::string line = "tick: " + std::to_string(summary.probed) + " of " + std::to_string(summary.shares) +
                     " shares probed, " + std::to_string(summary.failures) + " failed";
  if (summary.cut) line += ", the rest skipped after a probe without a report";
  Log(line);
  parts_.listener.TickEnded(summary);
}

}  // namespace core
