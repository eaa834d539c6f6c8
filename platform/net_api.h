// The Windows network management library NETAPI32.DLL (Windows only), loaded by name for one
// reading, so that a system without it, or with only some of its functions, still runs the
// program: a function it lacks is null. The library is unloaded when the NetApi goes; every
// buffer it hands out is given back through a NetBuffer, on every way out.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <lm.h>

#include "platform/owned_handle.h"

namespace platform {

struct LibraryTraits {
  using Value = HMODULE;
  static constexpr Value kNone = nullptr;
  static bool IsOpen(Value library) { return library != nullptr; }
  static bool Close(Value library) { return FreeLibrary(library) != 0; }
};
using Library = Owned<LibraryTraits>;

struct NetApi {
  Library library;  // not open when NETAPI32.DLL could not be loaded; then every function is null
  decltype(&NetShareEnum) share_enum = nullptr;
  decltype(&NetSessionEnum) session_enum = nullptr;
  decltype(&NetFileEnum) file_enum = nullptr;
  decltype(&NetApiBufferFree) buffer_free = nullptr;
};

NetApi LoadNetApi();

// One buffer the library handed out (null for none), given back when the owner goes. The
// NetApi that handed it out must outlive it.
class NetBuffer {
 public:
  explicit NetBuffer(const NetApi& api) : free_(api.buffer_free) {}
  ~NetBuffer() { Reset(); }
  NetBuffer(const NetBuffer&) = delete;
  NetBuffer& operator=(const NetBuffer&) = delete;

  // Gives back what is held; the address to pass as the buffer argument of the next call.
  BYTE** Fill() {
    Reset();
    return &buffer_;
  }
  template <typename Record>
  const Record* Records() const {
    return reinterpret_cast<const Record*>(buffer_);
  }

 private:
  void Reset() {
    if (buffer_ != nullptr && free_ != nullptr) free_(buffer_);
    buffer_ = nullptr;
  }

  decltype(&NetApiBufferFree) free_;
  BYTE* buffer_ = nullptr;
};

}  // namespace platform
