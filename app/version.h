// The program's version: shown at the top right of the window and exported as a metrics label.
#pragma once

inline constexpr char kProgramVersion[] = "1.3";
