#include "app/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeView>

#include "app/connection_table_model.h"
#include "app/history_chart.h"
#include "app/list_box.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "platform/data_directory.h"

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), executable_file_name_(QCoreApplication::applicationFilePath()) {
  BuildLayout();
  ConnectEvents();
}

TForm1::~TForm1() {
  // The model observes the logic's table, a member that goes before the window's children do.
  list_view1_->setModel(nullptr);
  delete list_view1_items_;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  const QDir program = QFileInfo(executable_file_name_).absoluteDir();
  logic_.Guarded([&] { logic_.Show(platform::ProgramDataDirectory(program.filesystemAbsolutePath())); });
}

void TForm1::closeEvent(QCloseEvent* event) { event->setAccepted(logic_.Close()); }

core::EntryList& TForm1::WatchList() { return *list_box2_; }
core::EntryList& TForm1::ShareList() { return *list_box1_; }
core::EntryList& TForm1::UsersList() { return *list_box3_; }
rtl::Text TForm1::IntervalText() const { return ToText(edit1_->text()); }

void TForm1::ShowRunning(bool running) {
  button1_->setText(QString::fromUtf8(running ? core::form1::kButton1Running : core::form1::kButton1.caption));
}

void TForm1::ShowPage(core::WindowPage page) {
  const QSignalBlocker shown_by_the_logic(page_control1_);
  page_control1_->setCurrentIndex(static_cast<int>(page));
}

core::WindowPage TForm1::CurrentPage() const { return static_cast<core::WindowPage>(page_control1_->currentIndex()); }

// OpenDialog1: no filter, no title, no initial directory.
std::optional<std::filesystem::path> TForm1::ChooseFileToOpen() {
  const std::optional<QString> chosen =
      open_dialog_ ? open_dialog_() : std::optional<QString>(QFileDialog::getOpenFileName(this));
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return QFileInfo(*chosen).filesystemFilePath();
}

void TForm1::ShowError(const rtl::Text& message) { ErrorBox(message); }
void TForm1::ShowNotice(const rtl::Text& message) { NoticeBox(message); }
void TForm1::CloseWindow() { close(); }

void TForm1::ShowShareHistory(const core::ConnectionTable& table, const rtl::Text& share) {
  ::ShowShareHistory(*chart1_, *series1_, table, share, NoticeBox);
}

void TForm1::Post(std::function<void()> closure) {
  QMetaObject::invokeMethod(this, std::move(closure), Qt::QueuedConnection);
}
