// NETAPI32.DLL for the Windows tests, loaded in place of Wine's own (whose NetShareEnum is
// a stub): NetShareEnum hands out the share list of standins.h at level 1 or 2,
// NetSessionEnum its sessions at level 502 and NetFileEnum its open files at level 3, or the
// results a test chose, page by page where the caller keeps a resume handle, and
// NetApiBufferFree takes the buffers back. The test steers it and reads what it saw through
// two extra exports.
#include <windows.h>

#include <lm.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "standins.h"

namespace {

standin::NetApiBehaviour BehaviourFromEnvironment() {
  standin::NetApiBehaviour chosen;
  wchar_t text[128] = L"";
  const DWORD length = GetEnvironmentVariableW(standin::kNetApiVariable, text, 128);
  if (length == 0 || length >= 128) return chosen;
  wchar_t* next = text;
  for (DWORD* field : {&chosen.level2_result, &chosen.level1_result, &chosen.share_count, &chosen.server_result,
                       &chosen.page_size, &chosen.copies}) {
    *field = std::wcstoul(next, &next, 10);
    if (*next == L',') ++next;
  }
  return chosen;
}

standin::NetApiBehaviour behaviour = BehaviourFromEnvironment();
standin::NetApiCounts counts;

// A buffer handed out: the records and the texts they point to.
struct Handout {
  std::vector<BYTE> records;
  std::deque<std::wstring> texts;
  LPWSTR Text(const std::string& utf8) { return texts.emplace_back(standin::Wide(utf8)).data(); }
};
std::map<void*, std::unique_ptr<Handout>> handouts;  // not given back yet

void Fill(Handout& out, SHARE_INFO_1& record, const standin::ListedShare& share) { record.shi1_netname = out.Text(share.name); }

void Fill(Handout& out, SHARE_INFO_2& record, const standin::ListedShare& share) {
  record.shi2_netname = out.Text(share.name);
  record.shi2_path = out.Text(share.path);
}

void Fill(Handout& out, SESSION_INFO_502& record, const standin::ListedSession& session) {
  record.sesi502_cname = out.Text(session.computer);
  record.sesi502_username = out.Text(session.user);
  record.sesi502_cltype_name = out.Text(session.client_type);
  record.sesi502_transport = out.Text("\\Device\\NetbiosSmb");
  record.sesi502_num_opens = session.open_files;
  record.sesi502_time = session.seconds;
  record.sesi502_idle_time = session.idle_seconds;
}

void Fill(Handout& out, FILE_INFO_3& record, const standin::ListedFile& file) {
  record.fi3_pathname = out.Text(file.path);
  record.fi3_username = out.Text(file.user);
  record.fi3_permissions = file.permissions;
  record.fi3_num_locks = file.locks;
}

// Records first .. first + count - 1 of the list repeated, the i-th being list[i % size].
template <typename Record, typename Listed>
BYTE* Buffer(const std::vector<Listed>& list, DWORD first, DWORD count) {
  auto out = std::make_unique<Handout>();
  out->records.resize(count * sizeof(Record) + 1);
  auto* records = reinterpret_cast<Record*>(out->records.data());
  for (DWORD i = 0; i < count; ++i) Fill(*out, records[i], list[(first + i) % list.size()]);
  BYTE* buffer = out->records.data();
  handouts.emplace(buffer, std::move(out));
  ++counts.buffers_given;
  return buffer;
}

// Hands out the page of `total` records that starts at the resume handle, and moves it on.
template <typename Record, typename Listed, typename Resume>
DWORD HandOut(const std::vector<Listed>& list, DWORD total, LPBYTE* buffer, LPDWORD read, LPDWORD all, Resume* resume) {
  const DWORD first = resume != nullptr ? static_cast<DWORD>(*resume) : 0;
  DWORD count = total > first ? total - first : 0;
  if (resume != nullptr && behaviour.page_size != 0 && count > behaviour.page_size) count = behaviour.page_size;
  *buffer = Buffer<Record>(list, first, count);
  *read = count;
  *all = total;
  if (resume != nullptr) *resume = first + count;
  return first + count < total ? ERROR_MORE_DATA : NERR_Success;
}

DWORD Refuse(LPBYTE* buffer, LPDWORD read, LPDWORD all, DWORD result) {
  *buffer = nullptr;
  *read = *all = 0;
  return result;
}

bool Expected(LMSTR server_name, DWORD level, DWORD expected_level) {
  if (server_name == nullptr && level == expected_level) return true;
  ++counts.other_calls;
  return false;
}

DWORD ServerListSize(std::size_t size) { return static_cast<DWORD>(size) * (behaviour.copies == 0 ? 1 : behaviour.copies); }

DWORD ShareResultFor(LMSTR server_name, DWORD level) {
  if (server_name != nullptr || (level != 1 && level != 2)) {
    ++counts.other_calls;
    return ERROR_INVALID_LEVEL;
  }
  ++(level == 2 ? counts.level2_calls : counts.level1_calls);
  return level == 2 ? behaviour.level2_result : behaviour.level1_result;
}

std::vector<standin::ListedShare> ChosenShares(DWORD count) {
  const auto& all = standin::ListedShares();
  return {all.begin(), all.begin() + std::min<std::size_t>(count, all.size())};
}

template <typename Record>
DWORD HandOutShares(DWORD result, LPBYTE* buffer, LPDWORD read, LPDWORD all, LPDWORD resume) {
  const auto shares = ChosenShares(behaviour.share_count);
  if (result == ERROR_MORE_DATA) {
    HandOut<Record>(shares, static_cast<DWORD>(shares.size()) / 2, buffer, read, all, static_cast<LPDWORD>(nullptr));
    *all = static_cast<DWORD>(shares.size());
    return result;
  }
  return HandOut<Record>(shares, static_cast<DWORD>(shares.size()), buffer, read, all, resume);
}

}  // namespace

extern "C" {

__declspec(dllexport) NET_API_STATUS WINAPI NetShareEnum(LMSTR server_name, DWORD level, LPBYTE* buffer, DWORD,
                                                         LPDWORD entries_read, LPDWORD total_entries, LPDWORD resume) {
  const DWORD result = ShareResultFor(server_name, level);
  if (result != NERR_Success && result != ERROR_MORE_DATA) return Refuse(buffer, entries_read, total_entries, result);
  if (level == 2) return HandOutShares<SHARE_INFO_2>(result, buffer, entries_read, total_entries, resume);
  return HandOutShares<SHARE_INFO_1>(result, buffer, entries_read, total_entries, resume);
}

__declspec(dllexport) NET_API_STATUS WINAPI NetSessionEnum(LMSTR server_name, LMSTR, LMSTR, DWORD level, LPBYTE* buffer,
                                                           DWORD, LPDWORD entries_read, LPDWORD total_entries,
                                                           LPDWORD resume) {
  if (!Expected(server_name, level, 502)) return Refuse(buffer, entries_read, total_entries, ERROR_INVALID_LEVEL);
  if (behaviour.server_result != NERR_Success) return Refuse(buffer, entries_read, total_entries, behaviour.server_result);
  const auto& sessions = standin::ListedSessions();
  return HandOut<SESSION_INFO_502>(sessions, ServerListSize(sessions.size()), buffer, entries_read, total_entries, resume);
}

__declspec(dllexport) NET_API_STATUS WINAPI NetFileEnum(LMSTR server_name, LMSTR, LMSTR, DWORD level, LPBYTE* buffer,
                                                        DWORD, LPDWORD entries_read, LPDWORD total_entries,
                                                        PDWORD_PTR resume) {
  if (!Expected(server_name, level, 3)) return Refuse(buffer, entries_read, total_entries, ERROR_INVALID_LEVEL);
  if (behaviour.server_result != NERR_Success) return Refuse(buffer, entries_read, total_entries, behaviour.server_result);
  const auto& files = standin::ListedFiles();
  return HandOut<FILE_INFO_3>(files, ServerListSize(files.size()), buffer, entries_read, total_entries, resume);
}

__declspec(dllexport) NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) {
  if (handouts.erase(buffer) == 0) {
    ++counts.unknown_frees;
    return ERROR_INVALID_PARAMETER;
  }
  ++counts.buffers_freed;
  return NERR_Success;
}

__declspec(dllexport) void StandinBehave(const standin::NetApiBehaviour* chosen) {
  behaviour = *chosen;
  counts = {};
}

__declspec(dllexport) void StandinReadCounts(standin::NetApiCounts* seen) { *seen = counts; }

}  // extern "C"
