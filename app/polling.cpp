#include "app/polling.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/form1.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "app/table_file.h"
#include "app/window_timer.h"

const char PollingShell::kAccessDeniedNotice[] =
    "Число пользователей не прочитано: нет прав на чтение подключений сервера Samba, в таблицу "
    "записывается 0. Запустите службу состояния (sudo systemctl enable --now sharemond) и добавьте "
    "пользователя в её группу (sudo usermod -aG sharemon ИМЯ), затем войдите в систему заново.";

PollingShell::PollingShell(TForm1& form, core::ConnectionTable& table)
    : form_(form), table_(table), run_(table, clock_, *this), prober_(&console_prober_) {}

PollingShell::~PollingShell() = default;

void PollingShell::SetProber(core::ShareProber* prober) { prober_ = prober ? prober : &console_prober_; }

std::vector<rtl::Text> PollingShell::WatchList() const { return form_.ListBox2()->Entries().Entries(); }

void PollingShell::Start() {
  run_.Start(WatchList(), ToText(form_.Edit1()->text()));
  // The table keeps its rows, so this run's stop writes what the failed one could not.
  unsaved_file_.reset();
  access_notice_shown_ = false;
  form_.Timer1()->SetEnabled(true);
  form_.Button1()->setText(QStringLiteral("Стоп"));
}

void PollingShell::Stop() {
  run_.Stop();
  tick_worker_.CancelAll();
  form_.Timer1()->SetEnabled(false);
  form_.Button1()->setText(QStringLiteral("Пуск"));
  unsaved_file_ = ToQString(core::TableFileNameNow(clock_, form_.ProgramDirectory));
  SaveTable();
}

void PollingShell::SaveTable() {
  const QString file = unsaved_file_ ? *unsaved_file_ : ToQString(core::TableFileNameNow(clock_, form_.ProgramDirectory));
  SaveConnectionTable(table_, file);
  unsaved_file_.reset();
  give_up_unsaved_ = false;
}

bool PollingShell::EndForClose() {
  if (give_up_unsaved_ || (!run_.Active() && !unsaved_file_)) return true;
  give_up_unsaved_ = !RunGuarded([this] { run_.Active() ? Stop() : SaveTable(); });
  return !give_up_unsaved_;
}

void PollingShell::TimerTick() {
  if (const auto tick = run_.TimerFired(WatchList())) ProbeTick(*tick);
}

void PollingShell::ProbeTick(const core::Tick& tick) {
  const int id = tick.id;
  tick_worker_.Submit({prober_, tick.shares, [this, id](const core::ProbeResult& result) { run_.Apply(id, result); },
                       [this, id] {
                         if (const auto next = run_.ProbingEnded(id, WatchList())) ProbeTick(*next);
                       }});
}

void PollingShell::ShowUsers(const rtl::Text& share) {
  users_worker_.Submit({prober_, {share}, [this](const core::ProbeResult& result) { ShowProbedUsers(result); }, {}});
}

void PollingShell::ShowProbedUsers(const core::ProbeResult& result) {
  if (!result.HasReport()) {
    if (result.outcome != core::ProbeOutcome::kCancelled) ErrorBox(result.error);
    return;
  }
  UsersSeen({}, result.users);
  form_.ListBox3()->SetEntries(form_.AccumulatedUsers.Take());
}

void PollingShell::CancelProbes() {
  tick_worker_.CancelAll();
  users_worker_.CancelAll();
}

void PollingShell::UsersSeen(const rtl::Text&, const std::vector<rtl::Text>& names) {
  form_.ListBox3()->ClearEntries();
  form_.AccumulatedUsers.Add(names);
}

void PollingShell::ProbeFailed(const rtl::Text&, const core::ProbeResult& result) {
  // Boxes are shown from the event loop, not from inside the run: a box's own loop delivers
  // more results.
  if (result.outcome == core::ProbeOutcome::kAccessDenied && !access_notice_shown_) {
    access_notice_shown_ = true;
    QTimer::singleShot(0, this, [] { NoticeBox(rtl::Windows1251FromUtf8(kAccessDeniedNotice)); });
  }
  if (result.HasReport() || result.outcome == core::ProbeOutcome::kCancelled) return;
  QTimer::singleShot(0, this, [error = result.error] { ErrorBox(error); });
}

void PollingShell::TimerIntervalChanged(std::uint32_t interval_ms) { form_.Timer1()->SetInterval(interval_ms); }
