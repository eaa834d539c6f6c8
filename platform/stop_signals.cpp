#include "platform/stop_signals.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace platform {
namespace {

CancelSignal* stop_signal = nullptr;

#ifdef _WIN32
BOOL WINAPI GiveStopSignal(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  stop_signal->Cancel();
  // Returning from a close event ends the process at once, before the run writes its file.
  if (event == CTRL_CLOSE_EVENT) Sleep(INFINITE);
  return TRUE;
}
#else
void GiveStopSignal(int /*signal_number*/) { stop_signal->Cancel(); }
#endif

}  // namespace

void CancelOnStopRequests(CancelSignal& stop) {
  stop_signal = &stop;
#ifdef _WIN32
  // A parent that ignores Ctrl+C passes that on to its children: this program wants it.
  SetConsoleCtrlHandler(nullptr, FALSE);
  SetConsoleCtrlHandler(GiveStopSignal, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = GiveStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  // A hangup ended by default unless the starter chose to ignore it (nohup): that choice stays.
  struct sigaction hangup = {};
  if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN) sigaction(SIGHUP, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace platform
