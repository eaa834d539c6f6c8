// Starting a child process on Windows, tried again when the system lost the child before it
// ran. Wine now and then loses a child while it starts (measured here: about 1 start in 3,000 on
// a loaded machine): CreateProcess then fails with ERROR_INTERNAL_ERROR, the child has run
// nothing and nothing of it remains, so starting it again cannot run the program twice. Any
// other failure is final at once. After the last failed attempt GetLastError() holds its error.
#pragma once

#ifdef _WIN32
#include <windows.h>

namespace platform {

// Attempts in all for a start that keeps failing with ERROR_INTERNAL_ERROR.
inline constexpr int kProcessStartAttempts = 3;

// Calls `start` (one CreateProcess call, returning nonzero on success) until it succeeds, fails
// with another error, or has been tried kProcessStartAttempts times; returns its last result.
template <typename Start>
BOOL StartProcess(Start&& start) {
  for (int attempt = 1;; ++attempt) {
    if (start()) return TRUE;
    if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kProcessStartAttempts) return FALSE;
  }
}

}  // namespace platform
#endif
