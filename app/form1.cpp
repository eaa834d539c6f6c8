#include "app/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "app/connection_table_model.h"
#include "app/data_directory.h"
#include "app/history_chart.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/polling.h"
#include "app/qt_text.h"
#include "app/table_file.h"
#include "app/window_timer.h"
#include "app/share_enumeration.h"
#include "core/watch_list_file.h"
#include "rtl/file_name.h"

namespace {

bool IsExistingFile(const rtl::Text& file_name) {
  std::error_code error;
  const auto status = std::filesystem::status(rtl::SystemPath(file_name), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), executable_file_name_(QCoreApplication::applicationFilePath()) {
  BuildLayout();
  polling_ = std::make_unique<PollingShell>(*this, table_);
  ConnectHandlers();
  Run(&TForm1::FormCreate);
}

TForm1::~TForm1() {
  // The model observes table_, a member that goes before the window's children do.
  list_view1_->setModel(nullptr);
  delete list_view1_items_;
}

rtl::Text TForm1::ProgramFile(const rtl::Text& name) const {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  return ProgramDirectory + separator + name;
}

std::optional<rtl::Text> TForm1::OpenDialog1Execute() {
  const std::optional<QString> chosen =
      open_dialog_ ? open_dialog_() : std::optional<QString>(QFileDialog::getOpenFileName(this));
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return ToText(*chosen);
}

void TForm1::Run(void (TForm1::*handler)()) {
  RunGuarded([this, handler] { (this->*handler)(); });
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  Run(&TForm1::FormShow);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A run whose table cannot be written keeps the window open once, with the error shown.
  if (!closed_ && !polling_->EndForClose()) {
    event->ignore();
    return;
  }
  // A termination signal can arrive while the window is already closing; save only once.
  if (!closed_) {
    closed_ = true;
    Run(&TForm1::FormClose);
    timer1_->SetEnabled(false);
  }
  event->accept();
}

void TForm1::FormCreate() {
  AccumulatedUsers.Clear();
  // ListView1 is a report view from the moment it is built.
}

void TForm1::FormShow() {
  ProgramDirectory = ToText(ProgramDataDirectory(QFileInfo(executable_file_name_).absolutePath()));
  const rtl::Text watch_list_file = ProgramFile(core::kWatchListFileName);
  if (IsExistingFile(watch_list_file)) {
    // Loaded fully before the list changes, so an unreadable file leaves it as it was.
    ListBox2()->SetEntries(core::ReadWatchListFile(rtl::SystemPath(watch_list_file)));
  }
  // ListView1 stays a report view.
  EnumerateShares(*ListBox1());
}

void TForm1::FormClose() {
  // The run ended before (closeEvent): closing mid-run writes the table as a stop would.
  polling_->CancelProbes();
  SaveWatchList();
  AccumulatedUsers.Clear();
}

void TForm1::SaveWatchList() {
  // Before the window was ever shown the watch list was never loaded; writing it then
  // would replace the user's file with an empty list.
  if (ProgramDirectory.empty()) return;
  try {
    core::WriteWatchListFile(rtl::SystemPath(ProgramFile(core::kWatchListFileName)), ListBox2()->Entries());
  } catch (const std::exception&) {
    NoticeBox(rtl::Windows1251FromUtf8("Ошибка сохранения списка"));
  }
}

void TForm1::Button1Click() {
  PageControl1()->setCurrentIndex(0);
  if (Timer1()->Enabled()) {
    polling_->Stop();
  } else {
    polling_->Start();
  }
}

void TForm1::Timer1Timer() { polling_->TimerTick(); }

void TForm1::ListBox1DblClick() {
  // ListBox1's selection, also when the double-click was on the users view (ListBox3).
  ListBox2()->AddEntry(ListBox1()->Entry(ListBox1()->ItemIndex()));
}

void TForm1::Button2Click() { ListBox2()->SetEntries(ListBox1()->Entries()); }

void TForm1::Button3Click() {
  table_.ClearColumns();
  ListBox2()->ClearEntries();
}

void TForm1::ListBox2Click() {
  PageControl1()->setCurrentIndex(2);
  const rtl::Text share = ListBox2()->Entry(ListBox2()->ItemIndex());
  ShowShareHistory(*Chart1(), *Series1(), table_, share, NoticeBox);
}

void TForm1::N2Click() {
  const std::optional<rtl::Text> file = OpenDialog1Execute();
  if (file) LoadConnectionTable(table_, ToQString(*file));
}

void TForm1::N3Click() {
  const int selected = ListBox2()->ItemIndex();
  if (selected >= 0) ListBox2()->DeleteEntry(selected);
}

void TForm1::N4Click() { close(); }

void TForm1::N6Click() { polling_->SaveTable(); }

void TForm1::N5Click() {
  ListBox3()->ClearEntries();
  PageControl1()->setCurrentIndex(1);
  // No selection throws "List index out of bounds (-1)" once the page is already shown.
  polling_->ShowUsers(ListBox2()->Entry(ListBox2()->ItemIndex()));
}
