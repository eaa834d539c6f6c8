#include "app/termination.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSocketNotifier>
#include <QSessionManager>

#include "app/form1.h"
#include "app/message_boxes.h"
#include "platform/stop_signals.h"

namespace {

#ifndef _WIN32
// Runs in whatever event loop is running, a box's or a menu's included. Closing a modal
// widget ends its loop once control returns to it; exit() ends the others and keeps any new
// one from running, so code that goes on after a box cannot hold the program.
void EndProgram(TForm1* window) {
  EndMessageBoxes();
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (const QPointer<QWidget>& widget : QList<QPointer<QWidget>>(windows.begin(), windows.end())) {
    if (!widget || widget == window || !widget->isVisible()) continue;
    if (auto* dialog = qobject_cast<QDialog*>(widget.data())) {
      dialog->reject();
    } else {
      widget->close();
    }
  }
  // A run whose table cannot be written keeps the window open once; the second close gives
  // that table up.
  if (window != nullptr && !window->close()) window->close();
  QCoreApplication::exit(0);
}

// The stop requests give a cancel signal, whose descriptor the message loop watches; the
// program ends on the GUI thread, once for each request that finds the window still there.
void WatchSignals(TForm1* window) {
  static auto* stop = new platform::CancelSignal;  // a request may come at any moment until exit
  platform::CancelOnStopRequests(*stop);
  auto* notifier = new QSocketNotifier(stop->ReadableWhenCancelled(), QSocketNotifier::Read, window);
  QPointer<TForm1> target(window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
    stop->Reset();
    EndProgram(target);
  });
}
#endif

}  // namespace

void CloseWindowOnTermination(TForm1* window) {
#ifndef _WIN32
  WatchSignals(window);
#endif
  QPointer<TForm1> target(window);
  // Qt asks not to quit while committing data; the session ends the program afterwards.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, window, [target](QSessionManager&) {
    if (target && target->isVisible()) target->SaveWatchList();
  });
  // Quitting the application by other means bypasses the window's close event, so close it
  // explicitly before the loop ends.
  QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, window, [target] {
    if (target && target->isVisible()) target->close();
  });
}
