#include "platform/share_list.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/samba_config.h"
#endif

namespace platform {

#ifdef _WIN32

namespace {

// The level-2 share record: eight 32-bit-era fields of which only the net name is read.
struct ShareInfo2 {
  wchar_t* netname;
  DWORD type;
  wchar_t* remark;
  DWORD permissions;
  DWORD max_uses;
  DWORD current_uses;
  wchar_t* path;
  wchar_t* password;
};

using NetShareEnumFunction = DWORD(WINAPI*)(wchar_t* server_name, DWORD level, BYTE** buffer,
                                            DWORD preferred_maximum_length, DWORD* entries_read,
                                            DWORD* total_entries, DWORD* resume_handle);

// Found once and kept for the rest of the run, like the library it lives in.
NetShareEnumFunction net_share_enum = nullptr;

rtl::Text AnsiFromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  rtl::Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size - 1));
  return text;
}

}  // namespace

void EnumerateShares(rtl::StringList& target) {
  target.Clear();
  HMODULE library = LoadLibraryA("NETAPI32.DLL");
  if (library == nullptr) return;
  net_share_enum = reinterpret_cast<NetShareEnumFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "NetShareEnum")));
  if (net_share_enum == nullptr) {
    FreeLibrary(library);
    return;
  }
  BYTE* buffer = nullptr;
  DWORD entries_read = 0;
  DWORD total_entries = 0;
  // One call for everything: a preferred length of -1 lets the system size the buffer.
  if (net_share_enum(nullptr, 2, &buffer, 0xFFFFFFFF, &entries_read, &total_entries, nullptr) != 0) {
    FreeLibrary(library);
    return;
  }
  const auto* records = reinterpret_cast<const ShareInfo2*>(buffer);
  for (DWORD i = 0; i < entries_read; ++i) target.Add(AnsiFromWide(records[i].netname));
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
