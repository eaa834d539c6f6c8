// Ends the program the way "Выход" does when the system asks it to stop: SIGTERM, SIGINT
// and the end of the desktop session close the main window, so its close handler runs and
// the watch list is saved.
#pragma once

class QWidget;

// Call once, after the application object exists and before its message loop runs.
void CloseWindowOnTermination(QWidget* window);
