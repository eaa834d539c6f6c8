#include "app/table_file.h"

#include <QFileInfo>

#include "app/form1.h"

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  form.Logic().OpenTableFileLater(QFileInfo(arguments.at(1)).filesystemFilePath());
}
