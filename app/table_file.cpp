#include "app/table_file.h"

#include <QFileInfo>
#include <QTimer>

#include "app/form1.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "core/table_file_text.h"
#include "platform/whole_file.h"

void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name) {
  platform::WriteWholeFile(QFileInfo(file_name).filesystemFilePath(), core::TableFileText(table),
                           platform::FileErrors::kRuntimeCode);
}

void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name) {
  const QFileInfo info(file_name);
  if (!info.exists() || info.isDir()) return;
  core::ReadTableFileText(platform::ReadWholeFile(info.filesystemFilePath(), platform::FileErrors::kRuntimeCode),
                          table);
}

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  const QString file_name = arguments.at(1);
  QTimer::singleShot(0, &form, [&form, file_name] {
    RunGuarded([&] { LoadConnectionTable(form.Table(), file_name); });
  });
}
