// The program's version as the code shows it: at the top right of the window, by "--version"
// and as a metrics label. Its value is set in cmake/contracts.cmake, which also gives it to the
// Linux package and the Windows installer. Both windows show it in one line with the author's name.
#pragma once

#include <string>

#include "platform/contracts.h"

inline constexpr const char* kProgramVersion = platform::contracts::kVersion;

namespace core {

// Label5: "Version 1.3" and the author line (UTF-8).
inline std::string VersionLabelText() { return std::string("Version ") + kProgramVersion + "   Автор: И. Петров"; }

}  // namespace core
