#include "core/window/window_logic.h"

#include <exception>
#include <system_error>

#include "core/table_file.h"
#include "core/watch_list_file.h"
#include "platform/share_list.h"
#include "rtl/file_name.h"

namespace core {
namespace {

bool IsExistingFile(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

const char WindowLogic::kAccessDeniedNotice[] =
    "Число пользователей не прочитано: нет прав на чтение подключений сервера Samba, в таблицу "
    "записывается 0. Запустите службу состояния (sudo systemctl enable --now sharemond) и добавьте "
    "пользователя в её группу (sudo usermod -aG sharemon ИМЯ), затем войдите в систему заново.";
const char WindowLogic::kWatchListNotSaved[] = "Ошибка сохранения списка";

rtl::Text SelectedEntry(const EntryList& list) { return list.Entries()[list.ItemIndex()]; }

WindowLogic::WindowLogic(WindowView& view, Poster& poster, WaitTimer& waits)
    : view_(view),
      poster_(poster),
      timer_(waits),
      run_(table_, clock_, *this),
      prober_(&console_prober_),
      tick_worker_(poster),
      users_worker_(poster) {}

WindowLogic::~WindowLogic() = default;

std::filesystem::path WindowLogic::ProgramFile(const rtl::Text& name) const {
  return program_directory_ / rtl::SystemPath(name);
}

void WindowLogic::SetProber(ShareProber* prober) { prober_ = prober ? prober : &console_prober_; }

void WindowLogic::Show(const std::filesystem::path& program_directory) {
  program_directory_ = program_directory;
  const std::filesystem::path file = ProgramFile(kWatchListFileName);
  // Loaded fully before the list changes, so an unreadable file leaves it as it was.
  if (IsExistingFile(file)) view_.WatchList().SetEntries(ReadWatchListFile(file));
  FillShareList();
}

void WindowLogic::FillShareList() {
  rtl::StringList shares;
  platform::EnumerateShares(shares);
  view_.ShareList().SetEntries(shares);
}

bool WindowLogic::Close() {
  if (closed_) return true;
  if (!EndRunForClose()) return false;
  closed_ = true;
  tick_worker_.CancelAll();
  users_worker_.CancelAll();
  SaveWatchList();
  users_.Clear();
  timer_.SetEnabled(false);
  return true;
}

bool WindowLogic::EndRunForClose() {
  if (give_up_unsaved_ || (!run_.Active() && !unsaved_file_)) return true;
  give_up_unsaved_ = !Reporting([this] { run_.Active() ? Stop() : SaveTable(); });
  return !give_up_unsaved_;
}

void WindowLogic::SaveWatchList() {
  if (program_directory_.empty()) return;
  try {
    WriteWatchListFile(ProgramFile(kWatchListFileName), view_.WatchList().Entries());
  } catch (const std::exception&) {
    view_.ShowNotice(rtl::Windows1251FromUtf8(kWatchListNotSaved));
  }
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
  run_.Start(WatchListEntries(), view_.IntervalText());
  // The table keeps its rows, so this run's stop writes what the failed one could not.
  unsaved_file_.reset();
  access_notice_shown_ = false;
  timer_.SetEnabled(true);
  view_.ShowRunning(true);
}

void WindowLogic::Stop() {
  run_.Stop();
  tick_worker_.CancelAll();
  timer_.SetEnabled(false);
  view_.ShowRunning(false);
  unsaved_file_ = TableFileNameNow(clock_, program_directory_);
  SaveTable();
}

void WindowLogic::SaveTable() {
  SaveConnectionTable(table_, unsaved_file_ ? *unsaved_file_ : TableFileNameNow(clock_, program_directory_));
  unsaved_file_.reset();
  give_up_unsaved_ = false;
}

void WindowLogic::TimerWaitEnded() {
  if (timer_.WaitEnded()) TimerTick();
}

void WindowLogic::TimerTick() {
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
}

void WindowLogic::DeleteSelected() {
  const int selected = view_.WatchList().ItemIndex();
  if (selected >= 0) view_.WatchList().DeleteEntry(selected);
}

void WindowLogic::ShowHistory() {
  view_.ShowPage(WindowPage::kChart);
  view_.ShowShareHistory(table_, SelectedEntry(view_.WatchList()));
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
    if (result.outcome != ProbeOutcome::kCancelled) view_.ShowError(result.error);
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
  Later([this, file] { Reporting([&] { LoadConnectionTable(table_, file); }); });
}

std::vector<rtl::Text> WindowLogic::WatchListEntries() const { return view_.WatchList().Entries().Entries(); }

void WindowLogic::Later(std::function<void()> closure) {
  poster_.Post([alive = std::weak_ptr<int>(alive_), closure = std::move(closure)] {
    if (!alive.expired()) closure();
  });
}

bool WindowLogic::Reporting(const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    view_.ShowError(error.what());
  }
  return false;
}

void WindowLogic::UsersSeen(const rtl::Text&, const std::vector<rtl::Text>& names) {
  view_.UsersList().SetEntries({});
  users_.Add(names);
}

void WindowLogic::ProbeFailed(const rtl::Text&, const ProbeResult& result) {
  // Boxes are shown from the event loop, not from inside the run: a box's own loop delivers
  // more results.
  if (result.outcome == ProbeOutcome::kAccessDenied) NoticeAccessDenied();
  if (result.HasReport() || result.outcome == ProbeOutcome::kCancelled) return;
  Later([this, error = result.error] { view_.ShowError(error); });
}

void WindowLogic::NoticeAccessDenied() {
  // A run says it once, since its column of zeros needs saying once; outside a run the user
  // asked for this share's users and is told at every request.
  if (run_.Active()) {
    if (access_notice_shown_) return;
    access_notice_shown_ = true;
  }
  Later([this] { view_.ShowNotice(rtl::Windows1251FromUtf8(kAccessDeniedNotice)); });
}

void WindowLogic::TimerIntervalChanged(std::uint32_t interval_ms) { timer_.SetInterval(interval_ms); }

}  // namespace core
