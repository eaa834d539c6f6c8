#include "platform/net_api.h"

namespace platform {
namespace {

template <typename Function>
Function Find(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

NetApi LoadNetApi() {
  NetApi api;
  api.library.Reset(LoadLibraryA("NETAPI32.DLL"));
  const HMODULE library = api.library.Get();
  api.share_enum = Find<decltype(&NetShareEnum)>(library, "NetShareEnum");
  api.session_enum = Find<decltype(&NetSessionEnum)>(library, "NetSessionEnum");
  api.file_enum = Find<decltype(&NetFileEnum)>(library, "NetFileEnum");
  api.buffer_free = Find<decltype(&NetApiBufferFree)>(library, "NetApiBufferFree");
  return api;
}

}  // namespace platform
