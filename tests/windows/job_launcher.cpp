// job_launcher PROGRAM [ARGUMENTS...]: runs the rest of its command line as it stands inside
// a job that ends every process in it once the launcher lets go of it, and exits with the
// program's exit code (1, with the reason on standard error, when it cannot start it).
// The Windows tests run through it (wine_test.sh), so that no process a test left behind
// outlives the run and holds its output open, and so that the tests' own jobs are nested in
// another, as under a service host.
#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>

#include "platform/process_start.h"

namespace {

// The command line after the launcher's own name, which is quoted or ends at a blank.
std::wstring RestOfCommandLine() {
  const wchar_t* at = GetCommandLineW();
  const bool quoted = *at == L'"';
  if (quoted) ++at;
  while (*at != L'\0' && (quoted ? *at != L'"' : !std::iswspace(*at))) ++at;
  if (quoted && *at == L'"') ++at;
  while (std::iswspace(*at)) ++at;
  return at;
}

HANDLE KillOnCloseJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

// Says which step failed and with what error: a run that ends with 1 and no output says
// nothing of why.
int CannotStart(const char* step) {
  std::fprintf(stderr, "job_launcher: %s failed with error %lu\n", step, GetLastError());
  return 1;
}

}  // namespace

int wmain() {
  std::wstring command_line = RestOfCommandLine();
  HANDLE job = KillOnCloseJob();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (job == nullptr) return CannotStart("CreateJobObjectW");
  const auto start = [&] {
    return CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &process);
  };
  if (!platform::StartProcess(start)) {
    return CannotStart("CreateProcessW");
  }
  if (!AssignProcessToJobObject(job, process.hProcess)) {
    const int status = CannotStart("AssignProcessToJobObject");
    TerminateProcess(process.hProcess, 1);
    return status;
  }
  ResumeThread(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(job);
  return static_cast<int>(exit_code);
}
