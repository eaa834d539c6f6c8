#include "app/message_boxes.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "app/qt_text.h"
#include "platform/standard_streams.h"
#include "rtl/errors.h"

namespace {

MessageBoxRecorder* active_recorder = nullptr;
bool boxes_ended = false;

void ShowBox(MessageBoxRecorder::Kind kind, QMessageBox::Icon icon, QWidget* parent, const QString& text) {
  if (active_recorder != nullptr) {
    active_recorder->Record(kind, ApplicationTitle(), text);
    return;
  }
  if (boxes_ended) {
    platform::WriteErrorLine((ApplicationTitle() + QStringLiteral(": ") + text).toStdString());
    return;
  }
  QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

QString ApplicationTitle() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void ErrorBox(const rtl::Text& message) {
  ShowBox(MessageBoxRecorder::Kind::kError, QMessageBox::Critical, QApplication::activeWindow(),
          ToQString(rtl::ErrorMessageForBox(message)));
}

void NoticeBox(const rtl::Text& message) {
  // No parent: the box is centred on the screen rather than on the window.
  ShowBox(MessageBoxRecorder::Kind::kNotice, QMessageBox::NoIcon, nullptr, ToQString(message));
}

void EndMessageBoxes(bool ending) { boxes_ended = ending; }

MessageBoxRecorder::MessageBoxRecorder() : previous_(active_recorder) { active_recorder = this; }
MessageBoxRecorder::~MessageBoxRecorder() { active_recorder = previous_; }
