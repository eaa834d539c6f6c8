// The main window's logic without a toolkit. It owns what the window owns (the connection
// table, the accumulated users, the program directory and the polling session with its
// probes) and holds every command of the window; a shell maps each control event to a
// WindowCommand for Execute and shows what the logic asks through WindowView. Probes run on
// worker threads and their results come back through the Poster, so the window stays live
// during a share query.
//
// Every method runs on the window's thread. A command may throw (a list index out of bounds,
// a file error, an interval that is no number): the command then ends where it failed, the
// state reached so far stays, and Execute shows the error in the error box (Guarded).
// What the logic runs on its own (probe results, a file named on the command line, the end of
// a run at close) reports through the view instead, one box at a time: while one of its boxes
// is open, further failed ticks are logged (platform::WriteErrorLine) and counted, and when
// the box closes one more box says how many ticks failed and the last error.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/accumulated_users.h"
#include "core/connection_table.h"
#include "core/polling_run.h"
#include "core/share_probe.h"
#include "core/window/event_loop.h"
#include "core/window/interval_timer.h"
#include "core/window/probe_worker.h"
#include "core/window/server_page.h"
#include "core/window/window_command.h"
#include "core/window/window_view.h"
#include "rtl/text.h"

namespace core {

class WindowLogic : private RunListener {
 public:
  static const char kWatchListNotSaved[];  // "Ошибка сохранения списка" (UTF-8)
  // The changed list went to kWatchListKeptFileName beside the file that was not read; the
  // file's full name follows (UTF-8).
  static const char kWatchListKeptBeside[];
  // Ticks failed while a box was open; then the count, ". Последняя ошибка: " and the last
  // error (UTF-8).
  static const char kTicksFailedMeanwhile[];
  // Where a changed watch list goes when splist.txt could not be read at show time.
  static constexpr char kWatchListKeptFileName[] = "splist.new.txt";

  // `view`, `poster` and `waits` outlive the logic; nothing is asked of the view until Show.
  WindowLogic(WindowView& view, Poster& poster, WaitTimer& waits);
  ~WindowLogic() override;

  ConnectionTable& Table() { return table_; }
  const ConnectionTable& Table() const { return table_; }
  AccumulatedUsers& Users() { return users_; }
  // Where the watch list and the table files live; empty until Show. It stays the system's path
  // (wide on Windows), since a folder's name may hold letters no code page has.
  const std::filesystem::path& ProgramDirectory() const { return program_directory_; }
  // The full name of a file there ("splist.txt" -> ProgramDirectory + "/splist.txt").
  std::filesystem::path ProgramFile(const rtl::Text& name) const;
  const PollingRun& Run() const { return run_; }
  const IntervalTimer& PollTimer() const { return timer_; }
  // Who answers later probes; nullptr restores the share query command.
  void SetProber(ShareProber* prober);
  // Who the page "Сеансы и файлы" reads from later; nullptr restores the system's file server.
  void SetServerReader(ServerReader* reader) { server_page_.SetReader(reader); }

  // Runs `command` inside Guarded: what a control event, a menu item or the timer's wait asks.
  void Execute(WindowCommand command);
  // Runs `work` of the window (a command, the first show, a posted result, an edit of the
  // table): an exception leaving it is shown once, in the error box, and goes no further. True
  // when `work` ran to its end.
  bool Guarded(const std::function<void()>& work);

  // The window is shown the first time: the program directory is taken, the watch list loaded
  // from its file when there is one (a file that cannot be read throws, the list stays as it
  // was and the share list is not filled; SaveWatchList then leaves that file alone), then the
  // share list and the share box of "Сеансы и файлы" filled with the computer's shares.
  void Show(const std::filesystem::path& program_directory);
  // The window is asked to close. A run still going ends as a stop ends it, and a table a stop
  // could not write is written now; when that write fails its error is shown and false
  // returned, so the window stays open and the user can free space (the next call gives the
  // table up). Then probes are cancelled, the watch list saved, the users emptied, the timer
  // stopped, and the readings of "Сеансы и файлы" dropped. Later calls return true and do
  // nothing.
  bool Close();
  // Writes the watch list to its file, at close and when the desktop session ends; a failure
  // shows the notice kWatchListNotSaved. Does nothing before Show: the list was never loaded,
  // and writing it would replace the user's file with an empty one. Nor when the file existed
  // at Show but could not be read (locked, say): then a list the user left as it was is not
  // written at all, and a changed one goes to kWatchListKeptFileName beside it, told by the
  // notice kWatchListKeptBeside.
  void SaveWatchList();

  // Start/stop, on the table page. Start: a table the last stop could not write is written
  // first (a failure throws and nothing starts), the columns become "Время" plus the watch
  // list, the interval is read (an interval that is no number or does not fit throws after
  // the columns were rebuilt), the run's file is named after the date and time now and the
  // timer is enabled with the interval it has. After every tick the run's table
  // (PollingRun::RunTable) is written to that file; a failure there is logged, and the stop
  // tries again. Stop: the timer stops, the probe in flight is cancelled, and the run's table
  // is written to the run's file; a failed write throws with the run already stopped, and
  // SaveTable or closing tries that file again.
  void StartStop();
  // The shell's timer wait has passed; at the end of an interval this is one tick.
  void TimerWaitEnded();
  // The share list's selected entry goes to the end of the watch list (also twice).
  void AddSelectedShare();
  // The watch list becomes a copy of the share list.
  void CopyShareList();
  // The table's columns go (rows stay), the watch list is emptied; a run going ends as a stop
  // ends it, since the shares added next would be counted under the run's old columns.
  void ClearWatchList();
  // The watch list's selected entry goes; nothing happens without a selection.
  void DeleteSelected();
  // The chart page shows the selected watched share's history.
  void ShowHistory();
  // The users page, emptied; the selected watched share is probed and then every accumulated
  // name shown and the accumulated list emptied. A probe without a report shows its error and
  // leaves the view empty. An access-denied report shows the system's advice (platform/user_advice.h): once per run
  // while a run goes (a tick's notice counts), at every request otherwise.
  void ShowUsers();
  // The user chooses a table file, which is loaded into the table.
  void OpenTableFile();
  // Loads a table file once the event loop runs (a file named on the command line); errors
  // are shown, also for a file that is missing or no regular file (a folder, a device).
  void OpenTableFileLater(const std::filesystem::path& file);
  // Writes the table of the run going or the last one (PollingRun::RunTable; before any run
  // the whole table) to the file of the stop whose write failed, or else to the file a stop
  // would write now.
  void SaveTable();
  // "Выход": the window closes as by its title bar, which asks Close.
  void Exit() { view_.CloseWindow(); }
  // A tab was chosen (or a tick came): "Сеансы и файлы" is read when it is the page shown.
  void ReadServerPageIfShown();
  // The commands of "Сеансы и файлы" (ServerPage says what each does).
  void RefreshServerPage() { server_page_.Refresh(); }
  void ChooseOpenFilesShare() { server_page_.ShareChosen(); }
  void SortSessions() { server_page_.SortSessions(); }
  void SortOpenFiles() { server_page_.SortOpenFiles(); }

 private:
  void Start();
  void Stop();
  bool EndRunForClose();
  void LoadWatchList();
  void KeepWatchListBeside(const rtl::StringList& entries);
  void FillShareList();
  void WriteRunFile();
  void TickFailed(const rtl::Text& error);
  // Every box the logic opens; the ticks that failed meanwhile are told once the last closes.
  void ShowBox(bool error, rtl::Text message);
  void TimerTick();
  void ProbeTick(const Tick& tick);
  void ShowProbedUsers(const ProbeResult& result);
  void NoticeAccessDenied();
  std::vector<rtl::Text> WatchListEntries() const;
  // Runs `closure` from the event loop, unless the logic is gone by then.
  void Later(std::function<void()> closure);

  void UsersSeen(const rtl::Text& share, const std::vector<rtl::Text>& names) override;
  void ProbeFailed(const rtl::Text& share, const ProbeResult& result) override;
  void TimerIntervalChanged(std::uint32_t interval_ms) override;
  void TickEnded(const TickSummary& summary) override;

  WindowView& view_;
  Poster& poster_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  ConnectionTable table_;
  AccumulatedUsers users_;
  std::filesystem::path program_directory_;
  IntervalTimer timer_;
  SystemClock clock_;
  PollingRun run_;
  ConsoleShareProber console_prober_;
  ShareProber* prober_;
  std::optional<std::filesystem::path> unsaved_file_;  // the file of a stop whose write failed
  std::optional<std::filesystem::path> run_file_;      // of the run going or the last one
  // The watch list as the window showed it after splist.txt could not be read.
  std::optional<rtl::StringList> unread_watch_list_;
  int boxes_open_ = 0;
  bool failure_box_due_ = false;  // posted, not shown yet
  int ticks_failed_unshown_ = 0;
  rtl::Text last_failure_;
  bool access_notice_shown_ = false;       // in this run
  bool give_up_unsaved_ = false;           // a close already showed that the table cannot be written
  bool closed_ = false;
  // Last, so their threads end before anything they deliver to goes.
  ServerPage server_page_;
  ProbeWorker tick_worker_;
  ProbeWorker users_worker_;
};

}  // namespace core
