#include "app/termination.h"

#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QSessionManager>

#include "app/form1.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace {

#ifndef _WIN32
// A signal handler may only do async-signal-safe work, so it writes one byte into a pipe;
// the message loop sees the pipe readable and closes the window on the GUI thread.
int signal_pipe[2] = {-1, -1};

void WriteSignalByte(int signal_number) {
  const char byte = static_cast<char>(signal_number);
  [[maybe_unused]] const ssize_t written = write(signal_pipe[1], &byte, 1);
}

void WatchSignals(TForm1* window) {
  if (signal_pipe[0] < 0) {
    if (pipe(signal_pipe) != 0) return;
    for (const int end : signal_pipe) fcntl(end, F_SETFD, FD_CLOEXEC);
    fcntl(signal_pipe[1], F_SETFL, O_NONBLOCK);
  }
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, window);
  QPointer<TForm1> target(window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
    char byte = 0;
    [[maybe_unused]] const ssize_t read_count = read(signal_pipe[0], &byte, 1);
    if (target) target->close();
  });
  struct sigaction action = {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
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
