// The table file named on the Qt window's command line, handed to the window logic, which
// reads and writes table files through core/table_file.h.
#pragma once

#include <QStringList>

class TForm1;

// "sharemon TABLEFILE" (arguments as QApplication::arguments(), program first), as a file
// manager's "open with" passes it: once the event loop runs after the window was shown, the
// window logic loads the file into the table as "Загрузить файл" would load it, errors shown.
void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments);
