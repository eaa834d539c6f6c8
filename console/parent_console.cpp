#include "console/parent_console.h"

#include <windows.h>

#include <initializer_list>

namespace console {
namespace {

bool GoesSomewhere(DWORD stream) {
  const HANDLE handle = GetStdHandle(stream);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void UseParentConsole() {
  if (GoesSomewhere(STD_OUTPUT_HANDLE) && GoesSomewhere(STD_ERROR_HANDLE)) return;
  // Fails for a parent without a console (Explorer) and for a program that has one already.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    if (GoesSomewhere(stream)) continue;
    // Lives as long as the process, as a standard handle does.
    SetStdHandle(stream, CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  }
}

}  // namespace console
