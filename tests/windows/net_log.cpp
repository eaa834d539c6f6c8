#include "net_log.h"

#include <fstream>
#include <sstream>

#include "standins.h"

namespace standin {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  // A last argument that is empty leaves no field behind its tab.
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

int log_number = 0;

}  // namespace

NetLog::NetLog() {
  wchar_t directory[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  path_ = std::wstring(directory) + L"sharemon_net_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(++log_number) + L".log";
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(kNetLogVariable, path_.c_str());
}

NetLog::~NetLog() {
  SetEnvironmentVariableW(kNetLogVariable, nullptr);
  DeleteFileW(path_.c_str());
}

std::vector<NetProcess> NetLog::Processes() const {
  std::vector<NetProcess> processes;
  std::ifstream file(path_.c_str(), std::ios::binary);
  for (std::string line; std::getline(file, line);) {
    const auto fields = Fields(line);
    if (fields.size() < 2) continue;
    processes.push_back({static_cast<DWORD>(std::stoul(fields[0])), fields[1], {fields.begin() + 2, fields.end()}});
  }
  return processes;
}

bool NetLog::WaitFor(std::size_t count, DWORD milliseconds) const {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (Processes().size() < count) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}

bool GoneBy(DWORD process_id, ULONGLONG deadline) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  if (process == nullptr) return true;
  const ULONGLONG now = GetTickCount64();
  const bool gone = WaitForSingleObject(process, now < deadline ? static_cast<DWORD>(deadline - now) : 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return gone;
}

std::string SystemNetPath() {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  return Utf8(std::wstring(directory, length) + L"\\net.exe");
}

}  // namespace standin
