// The polling run in the window: Button1 starts and stops it, Timer1's ticks probe the
// watched shares on a worker thread and the core applies each result to the table on the GUI
// thread, in watch-list order; "Пользователи" probes the same way. Stopping, or closing the
// window, cancels a probe in flight at once, keeps what the tick appended and writes the
// table file as a stop writes it.
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "app/probe_worker.h"
#include "core/connection_table.h"
#include "core/polling_run.h"
#include "core/share_probe.h"
#include "rtl/text.h"

class TForm1;

class PollingShell : public QObject, private core::RunListener {
  Q_OBJECT
 public:
  // Runs on `form`'s controls and appends to `table`; both outlive it.
  PollingShell(TForm1& form, core::ConnectionTable& table);
  ~PollingShell() override;

  const core::PollingRun& Run() const { return run_; }
  // Who answers later probes; nullptr restores the share query command (tests).
  void SetProber(core::ShareProber* prober);

  // Button1 while idle: the columns become "Время" plus the watch list, the interval is read
  // from Edit1, Timer1 is enabled with the interval it has and Button1 reads "Стоп". When
  // Edit1 holds no number the columns are rebuilt and the error thrown before anything else.
  void Start();
  // Button1 while running: Timer1 stops, Button1 reads "Пуск", the probe in flight is
  // cancelled, and the whole table is written to the file named after the date and time now.
  // A failed write throws with the run already stopped; the table stays, and SaveTable or
  // closing the window tries that file again.
  void Stop();
  // "Сохранить таблицу": writes the whole table to the file of the stop whose write failed,
  // or else to the file a stop would write now. Throws when the write fails.
  void SaveTable();
  // Closing the window: a run still going ends as Стоп ends it, and a table a stop could not
  // write is written now. When that write fails its error is shown and false returned, so the
  // window stays open and the user can free space; the next call gives the table up.
  bool EndForClose();
  // One Timer1 tick.
  void TimerTick();
  // An access-denied report records 0 users as the rules say, but a column of zeros must not
  // pass for an empty server: the first one of a run also shows kAccessDeniedNotice.
  static const char kAccessDeniedNotice[];

  // "Пользователи" once the page is shown and the share known: probes the share, then shows
  // every accumulated name in ListBox3 and empties the accumulated list. A probe without a
  // report shows its error and leaves ListBox3 empty.
  void ShowUsers(const rtl::Text& share);
  // Cancels every probe in flight or queued; their results are not applied.
  void CancelProbes();

 private:
  void ProbeTick(const core::Tick& tick);
  void ShowProbedUsers(const core::ProbeResult& result);
  std::vector<rtl::Text> WatchList() const;

  void UsersSeen(const rtl::Text& share, const std::vector<rtl::Text>& names) override;
  void ProbeFailed(const rtl::Text& share, const core::ProbeResult& result) override;
  void TimerIntervalChanged(std::uint32_t interval_ms) override;

  TForm1& form_;
  core::ConnectionTable& table_;
  std::optional<QString> unsaved_file_;  // the file of a stop whose write failed
  bool access_notice_shown_ = false;     // in this run
  bool give_up_unsaved_ = false;         // a close already showed that the table cannot be written
  core::SystemClock clock_;
  core::PollingRun run_;
  core::ConsoleShareProber console_prober_;
  core::ShareProber* prober_;
  ProbeWorker tick_worker_;
  ProbeWorker users_worker_;
};
