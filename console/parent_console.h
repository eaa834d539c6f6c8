// sharemon.exe is a program of the window subsystem, so that starting it from Explorer or a
// shortcut shows no console window. Started from cmd.exe or PowerShell for a console face, it
// writes to the console of the program that started it: the output goes where a console
// program's would, and Ctrl+C reaches --poll. (Typed as "sharemon" at a prompt, the console
// program sharemon.com beside it runs instead, which the prompt waits for; see console/CMakeLists.txt.)
#pragma once

namespace console {

// Standard output or standard error that goes nowhere (no file, pipe or console given by the
// parent) goes to the parent's console from now on, if the parent has one. Output already
// redirected stays as it is; a program with a console of its own keeps it. Call before
// writing anything and before console stop handlers are set.
void UseParentConsole();

}  // namespace console
