// NETAPI32.DLL for the Windows tests, loaded in place of Wine's own (whose NetShareEnum is
// a stub): NetShareEnum hands out the share list of standins.h at level 1 or 2, or the
// result a test chose for that level, and NetApiBufferFree takes the buffers back. The test
// steers it and reads what it saw through two extra exports.
#include <windows.h>

#include <lm.h>

#include <cstdlib>
#include <set>
#include <string>

#include "standins.h"

namespace {

standin::NetApiBehaviour behaviour;
standin::NetApiCounts counts;
std::set<void*> buffers;  // handed out and not given back

// One block, as the system hands it out: the records, then the names they point to.
template <typename Record>
BYTE* RecordBuffer(DWORD count, LPWSTR Record::*net_name) {
  std::size_t size = count * sizeof(Record);
  for (DWORD i = 0; i < count; ++i) size += (standin::Wide(standin::ListedShares()[i]).size() + 1) * sizeof(wchar_t);
  auto* buffer = static_cast<BYTE*>(std::calloc(1, size + 1));
  auto* records = reinterpret_cast<Record*>(buffer);
  auto* names = reinterpret_cast<wchar_t*>(buffer + count * sizeof(Record));
  for (DWORD i = 0; i < count; ++i) {
    const std::wstring name = standin::Wide(standin::ListedShares()[i]);
    records[i].*net_name = names;
    names = std::wcsncpy(names, name.c_str(), name.size() + 1) + name.size() + 1;
  }
  buffers.insert(buffer);
  ++counts.buffers_given;
  return buffer;
}

BYTE* Buffer(DWORD level, DWORD count) {
  return level == 2 ? RecordBuffer(count, &SHARE_INFO_2::shi2_netname) : RecordBuffer(count, &SHARE_INFO_1::shi1_netname);
}

DWORD ResultFor(LMSTR server_name, DWORD level) {
  if (server_name != nullptr || (level != 1 && level != 2)) {
    ++counts.other_calls;
    return ERROR_INVALID_LEVEL;
  }
  ++(level == 2 ? counts.level2_calls : counts.level1_calls);
  return level == 2 ? behaviour.level2_result : behaviour.level1_result;
}

}  // namespace

extern "C" {

__declspec(dllexport) NET_API_STATUS WINAPI NetShareEnum(LMSTR server_name, DWORD level, LPBYTE* buffer, DWORD,
                                                         LPDWORD entries_read, LPDWORD total_entries, LPDWORD) {
  const DWORD result = ResultFor(server_name, level);
  const DWORD count = result == ERROR_MORE_DATA ? behaviour.share_count / 2 : behaviour.share_count;
  *buffer = result == NERR_Success || result == ERROR_MORE_DATA ? Buffer(level, count) : nullptr;
  *entries_read = *buffer != nullptr ? count : 0;
  *total_entries = *buffer != nullptr ? behaviour.share_count : 0;
  return result;
}

__declspec(dllexport) NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) {
  if (buffers.erase(buffer) == 0) {
    ++counts.unknown_frees;
    return ERROR_INVALID_PARAMETER;
  }
  std::free(buffer);
  ++counts.buffers_freed;
  return NERR_Success;
}

__declspec(dllexport) void StandinBehave(const standin::NetApiBehaviour* chosen) {
  behaviour = *chosen;
  counts = {};
}

__declspec(dllexport) void StandinReadCounts(standin::NetApiCounts* seen) { *seen = counts; }

}  // extern "C"
