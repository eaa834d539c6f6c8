#include "app/table_file.h"

#include <QFileInfo>

#include "app/form1.h"
#include "core/table_file.h"

void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name) {
  core::SaveConnectionTable(table, QFileInfo(file_name).filesystemFilePath());
}

void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name) {
  core::LoadConnectionTable(table, QFileInfo(file_name).filesystemFilePath());
}

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  form.Logic().OpenTableFileLater(QFileInfo(arguments.at(1)).filesystemFilePath());
}
