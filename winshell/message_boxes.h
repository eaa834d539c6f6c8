// The program's two modal message boxes on Windows, through MessageBoxW, titled with the
// application title: the error box for every failure of a command and the notice box for the
// program's own messages. Both return once the user has closed them; meanwhile the box's own
// message loop runs, so posted messages and timers of the window go on being handled.
#pragma once

#include <windows.h>

#include <string>

#include "rtl/text.h"

namespace winshell {

// The executable's file name without its extension ("sharemon").
std::wstring ApplicationTitle();

// Stop icon and OK; `message` with the full stop the error box adds (rtl::ErrorMessageForBox).
// Modal to `owner`.
void ErrorBox(HWND owner, const rtl::Text& message);
// OK, no icon, centred on the screen (it has no owner); modal to every window of the thread.
void NoticeBox(const rtl::Text& message);

}  // namespace winshell
