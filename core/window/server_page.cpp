#include "core/window/server_page.h"

#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/server_rows.h"
#include "core/window/job_thread.h"

namespace core {
namespace {

using platform::OpenFileRecord;
using platform::SessionRecord;

class SystemReader final : public ServerReader {
 public:
  platform::SessionReading ReadSessions() override { return platform::ReadSessions(); }
  platform::OpenFileReading ReadOpenFiles(const rtl::Text& share) override { return platform::ReadOpenFiles(share); }
};

// One list's rows: the last reading's records, shown in the order of the clicked column. A
// cell's text is made when a list draws it, so a reading costs its sort, not its texts.
template <typename Record>
class RecordRows final : public ReportRows {
 public:
  explicit RecordRows(const std::vector<RecordColumn<Record>>& columns) : columns_(columns) {}

  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  rtl::Text Caption(int column) const override { return rtl::Windows1251FromUtf8(Column(column).caption); }
  int RowCount() const override { return static_cast<int>(order_.size()); }
  rtl::Text Cell(int row, int column) const override {
    return Column(column).cell(records_[order_[static_cast<std::size_t>(row)]]);
  }

  void SetRecords(std::vector<Record> records) {
    records_ = std::move(records);
    Sort();
  }
  // A header click: false when `column` is none of the list's (no click yet).
  bool Click(int column) {
    if (column < 0 || column >= ColumnCount()) return false;
    descending_ = column == sort_column_ && !descending_;
    sort_column_ = column;
    Sort();
    return true;
  }
  int SortColumn() const { return sort_column_; }
  bool Descending() const { return descending_; }

 private:
  const RecordColumn<Record>& Column(int column) const { return columns_[static_cast<std::size_t>(column)]; }
  void Sort() {
    if (sort_column_ >= 0) {
      order_ = SortedOrder(records_, Column(sort_column_), descending_);
      return;
    }
    order_.resize(records_.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
  }

  const std::vector<RecordColumn<Record>>& columns_;
  std::vector<Record> records_;
  std::vector<std::size_t> order_;  // indices into records_, in the order shown
  int sort_column_ = -1;
  bool descending_ = false;
};

// What the status line says of one list's last reading.
struct ListOutcome {
  rtl::Text error;         // "" when it was read
  std::size_t cut_at = 0;  // the records shown of a truncated reading; 0 when whole
};

template <typename Record>
ListOutcome OutcomeOf(const platform::ServerReading<Record>& reading) {
  if (!reading.Read()) return {reading.error, 0};
  return {"", reading.truncated ? reading.records.size() : 0};
}

// `list` names the list in the genitive: "сеансов", "открытых файлов".
rtl::Text StatusOf(const ListOutcome& outcome, const char* list) {
  if (!outcome.error.empty()) return outcome.error;
  if (outcome.cut_at == 0) return "";
  return rtl::Windows1251FromUtf8(std::string("Список ") + list + " неполон: показаны первые " +
                                  std::to_string(outcome.cut_at));
}

// Each part a sentence of its own; an error text may end with its own full stop.
rtl::Text Joined(const rtl::Text& first, const rtl::Text& second) {
  if (first.empty() || first == second) return second;
  if (second.empty()) return first;
  return first + (first.back() == '.' ? " " : ". ") + second;
}

struct Reading {
  std::optional<platform::SessionReading> sessions;  // none when only the open files were read
  platform::OpenFileReading files;
};

}  // namespace

const char ServerPage::kAllShares[] = "Все шары";

ServerReader& SystemServerReader() {
  static SystemReader reader;
  return reader;
}

struct ServerPage::State {
  State(ServerPageView& view, Poster& poster, ServerReader& reader) : view(view), reader(&reader), thread(poster) {}

  void Ask(bool with_sessions);
  void Start(bool with_sessions);
  void Arrived(Reading reading);
  template <typename Record>
  void Show(RecordRows<Record>& rows, platform::ServerReading<Record> reading, ReportList& list, ListOutcome& outcome);
  template <typename Record>
  void Sort(RecordRows<Record>& rows, ReportList& list);

  ServerPageView& view;
  ServerReader* reader;
  RecordRows<SessionRecord> sessions{SessionColumns()};
  RecordRows<OpenFileRecord> files{OpenFileColumns()};
  ListOutcome sessions_outcome, files_outcome;
  rtl::StringList choices;  // the share box's, kAllShares first
  rtl::Text share;          // whose open files are read; "" for all shares
  bool reading = false;
  std::optional<bool> asked_meanwhile;  // a reading asked while one ran; true: with the sessions
  JobThread thread;                     // last, so its thread ends before what it delivers to goes
};

void ServerPage::State::Ask(bool with_sessions) {
  if (!reading) return Start(with_sessions);
  asked_meanwhile = asked_meanwhile.value_or(false) || with_sessions;
}

void ServerPage::State::Start(bool with_sessions) {
  reading = true;
  thread.Submit([this, source = reader, whose = share, with_sessions](const platform::CancelSignal&,
                                                                       const JobThread::Deliver& deliver) {
    Reading result;
    if (with_sessions) result.sessions = source->ReadSessions();
    result.files = source->ReadOpenFiles(whose);
    deliver([this, result = std::move(result)]() mutable { Arrived(std::move(result)); });
  });
}

void ServerPage::State::Arrived(Reading result) {
  reading = false;
  if (result.sessions) Show(sessions, std::move(*result.sessions), view.SessionsList(), sessions_outcome);
  Show(files, std::move(result.files), view.OpenFilesList(), files_outcome);
  view.ShowServerStatus(Joined(StatusOf(sessions_outcome, "сеансов"), StatusOf(files_outcome, "открытых файлов")));
  if (asked_meanwhile) Start(*std::exchange(asked_meanwhile, std::nullopt));
}

template <typename Record>
void ServerPage::State::Show(RecordRows<Record>& rows, platform::ServerReading<Record> reading, ReportList& list,
                             ListOutcome& outcome) {
  outcome = OutcomeOf(reading);
  rows.SetRecords(std::move(reading.records));
  list.ShowRows(rows);
}

template <typename Record>
void ServerPage::State::Sort(RecordRows<Record>& rows, ReportList& list) {
  if (!rows.Click(list.ClickedColumn())) return;
  list.ShowSortColumn(rows.SortColumn(), rows.Descending());
  list.ShowRows(rows);
}

ServerPage::ServerPage(ServerPageView& view, Poster& poster, ServerReader& reader)
    : state_(std::make_unique<State>(view, poster, reader)) {}

ServerPage::~ServerPage() = default;

void ServerPage::SetShares(const rtl::StringList& shares) {
  rtl::StringList choices{rtl::Windows1251FromUtf8(kAllShares)};
  choices.AddStrings(shares);
  // Searched among the shares only: a share may be called "Все шары" too.
  const int kept = state_->share.empty() ? -1 : shares.IndexOf(state_->share);
  if (kept < 0) state_->share.clear();
  state_->choices = choices;
  state_->view.OpenFilesShareBox().SetChoices(choices, kept + 1);
}

void ServerPage::ShowColumns() {
  state_->view.SessionsList().ShowRows(state_->sessions);
  state_->view.OpenFilesList().ShowRows(state_->files);
}

void ServerPage::Refresh() { state_->Ask(true); }

void ServerPage::ShareChosen() {
  const int chosen = state_->view.OpenFilesShareBox().ChosenIndex();
  state_->share = chosen > 0 && chosen < state_->choices.Count() ? state_->choices[chosen] : rtl::Text();
  state_->Ask(false);
}

void ServerPage::SortSessions() { state_->Sort(state_->sessions, state_->view.SessionsList()); }

void ServerPage::SortOpenFiles() { state_->Sort(state_->files, state_->view.OpenFilesList()); }

void ServerPage::SetReader(ServerReader* reader) { state_->reader = reader ? reader : &SystemServerReader(); }

void ServerPage::DropReadings() {
  state_->thread.CancelAll();
  state_->reading = false;
  state_->asked_meanwhile.reset();
}

const ReportRows& ServerPage::SessionRows() const { return state_->sessions; }

const ReportRows& ServerPage::OpenFileRows() const { return state_->files; }

}  // namespace core
