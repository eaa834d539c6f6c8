#include "core/window/window_logic.h"

#include <exception>
#include <iterator>
#include <system_error>

#include "core/headless_run.h"
#include "core/table_file.h"
#include "core/watch_list_file.h"
#include "platform/share_list.h"
#include "platform/standard_streams.h"
#include "platform/user_advice.h"
#include "rtl/file_name.h"

namespace core {
namespace {

bool IsExistingFile(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

const char WindowLogic::kWatchListNotSaved[] = "Ошибка сохранения списка";
const char WindowLogic::kWatchListKeptBeside[] =
    "Список наблюдения не был прочитан при запуске, и его файл оставлен как есть. Изменённый список "
    "сохранён в файл ";
const char WindowLogic::kTicksFailedMeanwhile[] = "Опросов, завершившихся ошибкой, пока было открыто сообщение: ";

rtl::Text SelectedEntry(const EntryList& list) { return list.Entries()[list.ItemIndex()]; }

WindowLogic::WindowLogic(WindowView& view, Poster& poster, WaitTimer& waits)
    : view_(view),
      poster_(poster),
      timer_(waits),
      run_(table_, clock_, *this),
      prober_(&console_prober_),
      server_page_(view.ServerPage(), poster),
      tick_worker_(poster),
      users_worker_(poster) {}

WindowLogic::~WindowLogic() = default;

std::filesystem::path WindowLogic::ProgramFile(const rtl::Text& name) const {
  return program_directory_ / rtl::SystemPath(name);
}

void WindowLogic::SetProber(ShareProber* prober) { prober_ = prober ? prober : &console_prober_; }

void WindowLogic::Show(const std::filesystem::path& program_directory) {
  program_directory_ = program_directory;
  server_page_.ShowColumns();
  LoadWatchList();
  FillShareList();
}

void WindowLogic::LoadWatchList() {
  const std::filesystem::path file = ProgramFile(kWatchListFileName);
  if (!IsExistingFile(file)) return;
  try {
    // Loaded fully before the list changes, so an unreadable file leaves it as it was.
    view_.WatchList().SetEntries(ReadWatchListFile(file));
  } catch (const std::exception&) {
    unread_watch_list_ = view_.WatchList().Entries();
    throw;
  }
}

void WindowLogic::FillShareList() {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  view_.ShareList().SetEntries(shares);
  server_page_.SetShares(shares);
}

bool WindowLogic::Close() {
  if (closed_) return true;
  if (!EndRunForClose()) return false;
  closed_ = true;
  tick_worker_.CancelAll();
  users_worker_.CancelAll();
  server_page_.DropReadings();
  SaveWatchList();
  users_.Clear();
  timer_.SetEnabled(false);
  return true;
}

bool WindowLogic::EndRunForClose() {
  if (give_up_unsaved_ || (!run_.Active() && !unsaved_file_)) return true;
  give_up_unsaved_ = !Guarded([this] { run_.Active() ? Stop() : SaveTable(); });
  return !give_up_unsaved_;
}

void WindowLogic::SaveWatchList() {
  if (program_directory_.empty()) return;
  const rtl::StringList entries = view_.WatchList().Entries();
  // The file may hold a list the window never saw (it was locked at show time, say).
  if (unread_watch_list_) {
    if (entries != *unread_watch_list_) KeepWatchListBeside(entries);
    return;
  }
  try {
    WriteWatchListFile(ProgramFile(kWatchListFileName), entries);
  } catch (const std::exception&) {
    ShowBox(false, rtl::Windows1251FromUtf8(kWatchListNotSaved));
  }
}

void WindowLogic::KeepWatchListBeside(const rtl::StringList& entries) {
  const std::filesystem::path file = ProgramFile(kWatchListKeptFileName);
  try {
    WriteWatchListFile(file, entries);
  } catch (const std::exception&) {
    ShowBox(false, rtl::Windows1251FromUtf8(kWatchListNotSaved));
    return;
  }
  // Kept as it is now, so a second save (session end, then close) says it once.
  unread_watch_list_ = entries;
  ShowBox(false, rtl::Windows1251FromUtf8(kWatchListKeptBeside) + rtl::FileNameText(file));
}

void WindowLogic::StartStop() {
  view_.ShowPage(WindowPage::kTable);
  if (timer_.Enabled()) {
    Stop();
  } else {
    Start();
  }
}

void WindowLogic::Start() {
  // A run's file holds its own rows only: the last run's must be on disk before they stop
  // being the run's.
  if (unsaved_file_) SaveTable();
  run_.Start(WatchListEntries(), view_.IntervalText());
  run_file_ = TableFileNameNow(clock_, program_directory_);
  access_notice_shown_ = false;
  timer_.SetEnabled(true);
  view_.ShowRunning(true);
}

void WindowLogic::Stop() {
  run_.Stop();
  tick_worker_.CancelAll();
  timer_.SetEnabled(false);
  view_.ShowRunning(false);
  unsaved_file_ = run_file_;
  SaveTable();
}

void WindowLogic::SaveTable() {
  SaveConnectionTable(run_file_ ? run_.RunTable() : table_,
                      unsaved_file_ ? *unsaved_file_ : TableFileNameNow(clock_, program_directory_));
  unsaved_file_.reset();
  give_up_unsaved_ = false;
}

// As --poll does: a box left open all night, or a crash, costs no rows.
void WindowLogic::WriteRunFile() {
  try {
    SaveConnectionTable(run_.RunTable(), *run_file_);
  } catch (const std::exception& error) {
    const TableFileNotWrittenError failure(*run_file_, error.what());
    platform::WriteErrorLine(LogTimeText(clock_.Now()) + " " + rtl::Utf8FromWindows1251(failure.what()));
  }
}

void WindowLogic::TimerWaitEnded() {
  if (timer_.WaitEnded()) TimerTick();
}

void WindowLogic::TimerTick() {
  ReadServerPageIfShown();
  if (const auto tick = run_.TimerFired(WatchListEntries())) ProbeTick(*tick);
}

void WindowLogic::ProbeTick(const Tick& tick) {
  const int id = tick.id;
  tick_worker_.Submit({prober_, tick.shares, [this, id](const ProbeResult& result) { run_.Apply(id, result); },
                       [this, id] {
                         if (const auto next = run_.ProbingEnded(id, WatchListEntries())) ProbeTick(*next);
                       }});
}

void WindowLogic::AddSelectedShare() { view_.WatchList().AddEntry(SelectedEntry(view_.ShareList())); }

void WindowLogic::CopyShareList() { view_.WatchList().SetEntries(view_.ShareList().Entries()); }

void WindowLogic::ClearWatchList() {
  table_.ClearColumns();
  view_.WatchList().SetEntries({});
  if (run_.Active()) Stop();
}

void WindowLogic::DeleteSelected() {
  const int selected = view_.WatchList().ItemIndex();
  if (selected >= 0) view_.WatchList().DeleteEntry(selected);
}

void WindowLogic::ShowHistory() {
  view_.ShowPage(WindowPage::kChart);
  view_.ShowShareHistory(table_, SelectedEntry(view_.WatchList()));
}

void WindowLogic::ReadServerPageIfShown() {
  if (view_.CurrentPage() == WindowPage::kSessionsAndFiles) server_page_.Refresh();
}

void WindowLogic::ShowUsers() {
  view_.UsersList().SetEntries({});
  view_.ShowPage(WindowPage::kSharesAndUsers);
  // No selection throws "List index out of bounds (-1)" once the page is already shown.
  const rtl::Text share = SelectedEntry(view_.WatchList());
  users_worker_.Submit({prober_, {share}, [this](const ProbeResult& result) { ShowProbedUsers(result); }, {}});
}

void WindowLogic::ShowProbedUsers(const ProbeResult& result) {
  if (!result.HasReport()) {
    if (result.outcome != ProbeOutcome::kCancelled) ShowBox(true, result.error);
    return;
  }
  UsersSeen({}, result.users);
  view_.UsersList().SetEntries(users_.Take());
  if (result.outcome == ProbeOutcome::kAccessDenied) NoticeAccessDenied();
}

void WindowLogic::OpenTableFile() {
  if (const auto file = view_.ChooseFileToOpen()) LoadConnectionTable(table_, *file);
}

void WindowLogic::OpenTableFileLater(const std::filesystem::path& file) {
  Later([this, file] { Guarded([&] { ReadConnectionTable(table_, file); }); });
}

std::vector<rtl::Text> WindowLogic::WatchListEntries() const { return view_.WatchList().Entries().Entries(); }

void WindowLogic::Later(std::function<void()> closure) {
  poster_.Post([alive = std::weak_ptr<int>(alive_), closure = std::move(closure)] {
    if (!alive.expired()) closure();
  });
}

void WindowLogic::Execute(WindowCommand command) {
  // In the order of WindowCommand.
  static constexpr void (WindowLogic::*kCommands[])() = {
      &WindowLogic::StartStop,         &WindowLogic::TimerWaitEnded,        &WindowLogic::AddSelectedShare,
      &WindowLogic::CopyShareList,     &WindowLogic::ClearWatchList,        &WindowLogic::ShowHistory,
      &WindowLogic::OpenTableFile,     &WindowLogic::SaveTable,             &WindowLogic::Exit,
      &WindowLogic::DeleteSelected,    &WindowLogic::ShowUsers,             &WindowLogic::ReadServerPageIfShown,
      &WindowLogic::RefreshServerPage, &WindowLogic::ChooseOpenFilesShare, &WindowLogic::SortSessions,
      &WindowLogic::SortOpenFiles,
  };
  static_assert(std::size(kCommands) == kWindowCommandCount, "a command without its method");
  const auto method = kCommands[static_cast<std::size_t>(command)];
  Guarded([this, method] { (this->*method)(); });
}

bool WindowLogic::Guarded(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const std::exception& error) {
    // rtl errors carry Windows-1251 messages; a library's ASCII message reads the same.
    ShowBox(true, error.what());
  } catch (...) {
    ShowBox(true, "Unknown exception");
  }
  return false;
}

void WindowLogic::ShowBox(bool error, rtl::Text message) {
  // A loop, not a call from inside the box: a user who closes each box as the next failure
  // comes would otherwise deepen the stack all day.
  for (;;) {
    ++boxes_open_;
    error ? view_.ShowError(message) : view_.ShowNotice(message);
    --boxes_open_;
    if (boxes_open_ > 0 || ticks_failed_unshown_ == 0) return;
    error = true;
    message = rtl::Windows1251FromUtf8(kTicksFailedMeanwhile + std::to_string(ticks_failed_unshown_) +
                                       ". Последняя ошибка: ") +
              last_failure_;
    ticks_failed_unshown_ = 0;
  }
}

void WindowLogic::UsersSeen(const rtl::Text&, const std::vector<rtl::Text>& names) {
  view_.UsersList().SetEntries({});
  users_.Add(names);
}

void WindowLogic::ProbeFailed(const rtl::Text& share, const ProbeResult& result) {
  if (result.outcome == ProbeOutcome::kCancelled) return;
  platform::WriteErrorLine(LogTimeText(clock_.Now()) + " " + ProbeFailedText(share, result));
  if (result.outcome == ProbeOutcome::kAccessDenied) NoticeAccessDenied();
  if (!result.HasReport()) TickFailed(result.error);
}

void WindowLogic::TickFailed(const rtl::Text& error) {
  if (boxes_open_ > 0 || failure_box_due_) {
    ++ticks_failed_unshown_;
    last_failure_ = error;
    return;
  }
  // Shown from the event loop, not from inside the run: a box's own loop delivers more results.
  failure_box_due_ = true;
  Later([this, error] {
    failure_box_due_ = false;
    ShowBox(true, error);
  });
}

void WindowLogic::NoticeAccessDenied() {
  // A column of zeros must not pass for an empty server, nor an empty users view for a share
  // without users. A run says it once, since its column of zeros needs saying once; outside a
  // run the user asked for this share's users and is told at every request.
  if (run_.Active()) {
    if (access_notice_shown_) return;
    access_notice_shown_ = true;
  }
  Later([this] { ShowBox(false, rtl::Windows1251FromUtf8(platform::AccessDeniedAdvice())); });
}

void WindowLogic::TimerIntervalChanged(std::uint32_t interval_ms) { timer_.SetInterval(interval_ms); }

void WindowLogic::TickEnded(const TickSummary&) { WriteRunFile(); }

}  // namespace core
