// Ends the program the way "Выход" does when the system asks it to stop: SIGTERM, SIGINT
// and the end of the desktop session close the main window, so its close handler runs and
// the watch list is saved. When the session manager asks for the data first, the watch list
// is saved right then, as the session may end without another word.
#pragma once

class TForm1;

// Call once, after the window was shown (its watch list loaded) and before the message loop runs.
void CloseWindowOnTermination(TForm1* window);
