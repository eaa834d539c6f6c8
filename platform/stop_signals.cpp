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
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  stop_signal->Cancel();
  return TRUE;
}
#else
void GiveStopSignal(int /*signal_number*/) { stop_signal->Cancel(); }
#endif

}  // namespace

void CancelOnStopRequests(CancelSignal& stop) {
  stop_signal = &stop;
#ifdef _WIN32
  SetConsoleCtrlHandler(GiveStopSignal, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = GiveStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace platform
