// The Windows tests' view of the stand-in net.exe: a fresh log file per test, named in the
// environment the test's children inherit, read back as one entry per process; and whether a
// logged process is gone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct NetProcess {
  DWORD process_id = 0;
  std::string program;                 // its own path, UTF-8
  std::vector<std::string> arguments;  // as received, UTF-8
};

class NetLog {
 public:
  NetLog();
  ~NetLog();
  NetLog(const NetLog&) = delete;
  NetLog& operator=(const NetLog&) = delete;

  std::vector<NetProcess> Processes() const;
  // Waits up to `milliseconds` until at least `count` processes are logged.
  bool WaitFor(std::size_t count, DWORD milliseconds) const;

 private:
  std::wstring path_;
};

// True when the process has ended, waiting for that until `deadline` (GetTickCount64).
bool GoneBy(DWORD process_id, ULONGLONG deadline);

// The system's own net.exe, where the stand-in is copied to (UTF-8).
std::string SystemNetPath();

}  // namespace standin
