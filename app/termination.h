// Ends the program the way "Выход" does when the system asks it to stop: SIGTERM, SIGINT,
// SIGHUP (the end of the terminal or login session) and the end of the desktop session close
// the main window, so its close handler runs and the watch list is saved. A signal ends the
// program from whatever state it is in: open message boxes, the open dialog and menus are
// closed, no box opens any more (its text goes to standard error), and every event loop,
// nested ones included, returns. When the session manager asks for the data first, the watch
// list is saved right then, as the session may end without another word.
#pragma once

class TForm1;

// Call once, after the window was shown (its watch list loaded) and before the message loop runs.
void CloseWindowOnTermination(TForm1* window);
