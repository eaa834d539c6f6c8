// The program's version, its one home: shown at the top right of the window, printed by
// "--version", exported as a metrics label, and read by the Linux package's and the Windows
// installer's builds (packaging/CMakeLists.txt, scripts/build-windows) from this line.
#pragma once

inline constexpr char kProgramVersion[] = "1.3";
