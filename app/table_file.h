// The connection table file as the window names it: file names from the dialog, the command
// line and the stop, as Qt gives them, for core/table_file.h.
#pragma once

#include <QString>
#include <QStringList>

#include "core/connection_table.h"

class TForm1;

// core::SaveConnectionTable and core::LoadConnectionTable for a file named by Qt.
void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name);
void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name);

// "sharemon TABLEFILE" (arguments as QApplication::arguments(), program first), as a file
// manager's "open with" passes it: once the event loop runs after the window was shown, the
// window logic loads the file into the table as "Загрузить файл" would load it, errors shown.
void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments);
