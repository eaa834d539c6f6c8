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
  record = {out.Text(share.name), STYPE_DISKTREE, nullptr, 0, 0, 0, out.Text(share.path), nullptr};
}
void Fill(Handout& out, SESSION_INFO_502& record, const standin::ListedSession& s) {
  record = {out.Text(s.computer), out.Text(s.user), s.open_files, s.seconds, s.idle_seconds, 0, out.Text(s.client_type), nullptr};
}
void Fill(Handout& out, FILE_INFO_3& record, const standin::ListedFile& file) {
  record = {0, file.permissions, file.locks, out.Text(file.path), out.Text(file.user)};
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

// The chosen result of a call for the local computer at one of the levels it answers.
DWORD ResultFor(LMSTR server_name, DWORD level, DWORD answered_level, DWORD result) {
  if (server_name == nullptr && level == answered_level) return result;
  ++counts.other_calls;
  return ERROR_INVALID_LEVEL;
}

// NetSessionEnum's and NetFileEnum's answer: their list `copies` times, or the chosen refusal.
template <typename Record, typename Listed, typename Resume>
DWORD HandOutServerList(LMSTR server_name, DWORD level, DWORD answered_level, const std::vector<Listed>& list,
                        LPBYTE* buffer, LPDWORD read, LPDWORD all, Resume* resume) {
  const DWORD result = ResultFor(server_name, level, answered_level, behaviour.server_result);
  if (result != NERR_Success) return Refuse(buffer, read, all, result);
  const DWORD total = static_cast<DWORD>(list.size()) * std::max<DWORD>(behaviour.copies, 1);
  return HandOut<Record>(list, total, buffer, read, all, resume);
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
  const bool level1 = level == 1;
  const DWORD result = ResultFor(server_name, level, level1 ? 1 : 2, level1 ? behaviour.level1_result : behaviour.level2_result);
  if (result != ERROR_INVALID_LEVEL) ++(level == 2 ? counts.level2_calls : counts.level1_calls);
  if (result != NERR_Success && result != ERROR_MORE_DATA) return Refuse(buffer, entries_read, total_entries, result);
  if (level == 2) return HandOutShares<SHARE_INFO_2>(result, buffer, entries_read, total_entries, resume);
  return HandOutShares<SHARE_INFO_1>(result, buffer, entries_read, total_entries, resume);
}

__declspec(dllexport) NET_API_STATUS WINAPI NetSessionEnum(LMSTR server_name, LMSTR, LMSTR, DWORD level, LPBYTE* buffer,
                                                           DWORD, LPDWORD entries_read, LPDWORD total_entries,
                                                           LPDWORD resume) {
  return HandOutServerList<SESSION_INFO_502>(server_name, level, 502, standin::ListedSessions(), buffer, entries_read,
                                             total_entries, resume);
}

__declspec(dllexport) NET_API_STATUS WINAPI NetFileEnum(LMSTR server_name, LMSTR, LMSTR, DWORD level, LPBYTE* buffer,
                                                        DWORD, LPDWORD entries_read, LPDWORD total_entries,
                                                        PDWORD_PTR resume) {
  return HandOutServerList<FILE_INFO_3>(server_name, level, 3, standin::ListedFiles(), buffer, entries_read,
                                        total_entries, resume);
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
