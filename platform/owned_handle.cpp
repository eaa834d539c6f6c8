#include "platform/owned_handle.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace platform {

#ifdef _WIN32
bool HandleTraits::Close(Value handle) { return CloseHandle(handle) != 0; }
#else
bool DescriptorTraits::Close(Value descriptor) { return close(descriptor) == 0; }
#endif

}  // namespace platform
