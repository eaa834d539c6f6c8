#include "app/termination.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QSessionManager>

#include "app/form1.h"
#include "platform/stop_signals.h"

namespace {

#ifndef _WIN32
// The stop requests give a cancel signal, whose descriptor the message loop watches; the
// window is closed on the GUI thread, once for each request that finds it still open.
void WatchSignals(TForm1* window) {
  static auto* stop = new platform::CancelSignal;  // a request may come at any moment until exit
  platform::CancelOnStopRequests(*stop);
  auto* notifier = new QSocketNotifier(stop->ReadableWhenCancelled(), QSocketNotifier::Read, window);
  QPointer<TForm1> target(window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
    stop->Reset();
    if (target) target->close();
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
