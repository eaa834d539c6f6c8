#include "platform/share_list.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <lm.h>
#else
#include "platform/samba_config.h"
#endif

namespace platform {

#ifdef _WIN32

namespace {

// The library is loaded by name at run time, so these are only its functions' types.
using NetShareEnumFunction = decltype(&NetShareEnum);
using NetApiBufferFreeFunction = decltype(&NetApiBufferFree);

struct NetApi {
  NetShareEnumFunction share_enum = nullptr;
  NetApiBufferFreeFunction buffer_free = nullptr;
};

template <typename Function>
Function Find(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

rtl::Text AnsiFromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  rtl::Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size - 1));
  return text;
}

// Of each record only the net name is read.
template <typename Record>
void AppendNames(const BYTE* buffer, DWORD count, LPWSTR Record::*net_name, rtl::StringList& target) {
  const auto* records = reinterpret_cast<const Record*>(buffer);
  for (DWORD i = 0; i < count; ++i) target.Add(AnsiFromWide(records[i].*net_name));
}

// Asks for every share at level 1 or 2 in one call (a preferred length of -1 lets the system
// size the buffer) and appends the names only when the whole list came. The buffer goes
// back to the system whatever the result, the more-data result included. Returns the
// system's result code.
DWORD AppendShareNames(const NetApi& api, DWORD level, rtl::StringList& target) {
  BYTE* buffer = nullptr;
  DWORD entries_read = 0;
  DWORD total_entries = 0;
  const DWORD result = api.share_enum(nullptr, level, &buffer, MAX_PREFERRED_LENGTH, &entries_read, &total_entries, nullptr);
  if (result == NERR_Success && level == 2) AppendNames(buffer, entries_read, &SHARE_INFO_2::shi2_netname, target);
  if (result == NERR_Success && level == 1) AppendNames(buffer, entries_read, &SHARE_INFO_1::shi1_netname, target);
  if (buffer != nullptr) api.buffer_free(buffer);
  return result;
}

}  // namespace

void EnumerateShares(rtl::StringList& target) {
  target.Clear();
  HMODULE library = LoadLibraryA("NETAPI32.DLL");
  if (library == nullptr) return;
  const NetApi api{Find<NetShareEnumFunction>(library, "NetShareEnum"),
                   Find<NetApiBufferFreeFunction>(library, "NetApiBufferFree")};
  // Level 2 needs administrator rights; the names alone (level 1) need none.
  if (api.share_enum != nullptr && api.buffer_free != nullptr &&
      AppendShareNames(api, 2, target) == ERROR_ACCESS_DENIED) {
    AppendShareNames(api, 1, target);
  }
  FreeLibrary(library);
}

#else

void EnumerateShares(rtl::StringList& target) {
  target.Clear();
  const auto shares = ReadSambaShares();
  if (!shares) return;
  for (const auto& share : *shares) target.Add(rtl::Windows1251FromUtf8(share.name));
}

#endif

}  // namespace platform
