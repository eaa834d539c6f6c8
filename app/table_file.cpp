#include "app/table_file.h"

#include <QFileInfo>
#include <QTimer>

#include "app/form1.h"
#include "app/message_boxes.h"
#include "core/table_file.h"

void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name) {
  core::SaveConnectionTable(table, QFileInfo(file_name).filesystemFilePath());
}

void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name) {
  core::LoadConnectionTable(table, QFileInfo(file_name).filesystemFilePath());
}

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  const QString file_name = arguments.at(1);
  QTimer::singleShot(0, &form, [&form, file_name] {
    RunGuarded([&] { LoadConnectionTable(form.Table(), file_name); });
  });
}
