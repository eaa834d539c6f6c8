// net.exe for the Windows tests, copied over the system's own: "net share NAME" prints the
// report a Russian-language Windows system prints for a share it knows (standins.h), in
// code page 866 and in uneven pieces, or its "no such share" text; a few names make it hang,
// flood or answer late instead. Each process appends one line to the log file the tests name. Exit code
// 0 with a report, 2 for an unknown share, 1 for a wrong call.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/netshare/share_report.h"
#include "platform/process_start.h"
#include "rtl/console_text.h"
#include "rtl/text.h"
#include "standins.h"

namespace {

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

void AppendToLog(const std::string& line) {
  wchar_t log[MAX_PATH];
  if (GetEnvironmentVariableW(standin::kNetLogVariable, log, MAX_PATH) == 0) return;
  HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

void LogProcess(DWORD process_id, int argc, wchar_t* argv[]) {
  std::string line = std::to_string(process_id) + "\t" + standin::Utf8(OwnPath());
  for (int i = 1; i < argc; ++i) line += "\t" + standin::Utf8(argv[i]);
  AppendToLog(line + "\n");
}

bool Write(const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void WriteInPieces(const std::string& bytes) {
  std::size_t at = 0;
  for (std::size_t piece = 0; at < bytes.size(); ++piece) {
    const std::size_t size = std::min(standin::PieceSizes()[piece % standin::PieceSizes().size()], bytes.size() - at);
    Write(bytes.substr(at, size));
    at += size;
    Sleep(3);
  }
}

// Starts this program again as the sleeping child and logs it.
void StartSleepingChild(bool share_output) {
  std::wstring command_line = L"net " + std::wstring(standin::kSleepArgument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = [&] {
    return CreateProcessW(OwnPath().c_str(), command_line.data(), nullptr, nullptr, share_output, 0, nullptr, nullptr,
                          &startup, &process);
  };
  if (!platform::StartProcess(start)) return;
  wchar_t* child_argv[] = {nullptr, const_cast<wchar_t*>(standin::kSleepArgument)};
  LogProcess(process.dwProcessId, 2, child_argv);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

[[noreturn]] void Misbehave(const std::string& name) {
  // Until the reader goes away.
  for (const std::string line(100, 'x'); name == standin::kFloodName && Write(line);) {
  }
  if (name == standin::kHangName) Write(rtl::ConsoleTextFromWindows1251(rtl::Windows1251FromUtf8(standin::kHungOutput)));
  if (name == standin::kQuietName) {
    CloseHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    CloseHandle(GetStdHandle(STD_ERROR_HANDLE));
  }
  if (name != standin::kFloodName) StartSleepingChild(name != standin::kQuietName);
  if (name != standin::kOrphanName) Sleep(INFINITE);
  ExitProcess(0);
}

bool Misbehaves(const std::string& name) {
  for (const char* special : {standin::kHangName, standin::kOrphanName, standin::kQuietName, standin::kFloodName}) {
    if (name == special) return true;
  }
  return false;
}

int Report(const std::string& name) {
  if (Misbehaves(name)) Misbehave(name);
  if (name == standin::kSlowName) {
    Sleep(standin::kSlowMilliseconds);
    WriteInPieces(netshare::ShareReport(name, "C:\\slow", "", {{standin::kSlowUser, "LAB-2"}}));
    return 0;
  }
  if (name == standin::kDeniedName) {
    Write(netshare::AccessDeniedReport());
    return 2;
  }
  for (const auto& share : standin::NetShares()) {
    if (share.name != name) continue;
    WriteInPieces(netshare::ShareReport(share.name, share.path, "", share.connections));
    return 0;
  }
  Write(netshare::NoSuchShareReport());
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  if (argc == 2 && std::wcscmp(argv[1], standin::kSleepArgument) == 0) Sleep(INFINITE);
  LogProcess(GetCurrentProcessId(), argc, argv);
  if (argc != 3 || _wcsicmp(argv[1], L"share") != 0) {
    Write(netshare::UsageReport());
    return 1;
  }
  return Report(standin::Utf8(argv[2]));
}
