// The program's version, and the line both windows show it in at their top right (Label5), so
// that the Linux and the Windows window say the same. packaging/ reads the version from here.
#pragma once

#include <string>

inline constexpr char kProgramVersion[] = "1.3";

namespace core {

// "Version 1.3" and the author line (UTF-8).
inline std::string VersionLabelText() { return std::string("Version ") + kProgramVersion + "   Автор: И. Петров"; }

}  // namespace core
