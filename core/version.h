// The program's version, its one home: shown at the top right of the window, printed by
// "--version", exported as a metrics label, and read by the Linux package's and the Windows
// installer's builds (packaging/version.cmake) from this line. Both windows show it in one line
// with the author's name.
#pragma once

#include <string>

inline constexpr char kProgramVersion[] = "1.3";

namespace core {

// Label5: "Version 1.3" and the author line (UTF-8).
inline std::string VersionLabelText() { return std::string("Version ") + kProgramVersion + "   Автор: И. Петров"; }

}  // namespace core
