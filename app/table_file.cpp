#include "app/table_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>
#include <cerrno>

#include "app/form1.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "core/table_file_text.h"
#include "rtl/errors.h"

namespace {

// Qt keeps no error number of its own; the one the failed system call left is the only
// account of why a file could not be opened or written.
[[noreturn]] void ThrowFileError(int saved_errno, int fallback_code) {
  throw rtl::InOutError(saved_errno != 0 ? rtl::FileErrorCodeFromErrno(saved_errno) : fallback_code);
}

}  // namespace

void SaveConnectionTable(const core::ConnectionTable& table, const QString& file_name) {
  const rtl::Text text = core::TableFileText(table);
  QSaveFile file(file_name);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) ThrowFileError(errno, 5);
  errno = 0;
  if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
    const int saved = errno;
    file.cancelWriting();
    ThrowFileError(saved, 101);
  }
  errno = 0;
  if (!file.commit()) ThrowFileError(errno, 101);
}

void LoadConnectionTable(core::ConnectionTable& table, const QString& file_name) {
  const QFileInfo info(file_name);
  if (!info.exists() || info.isDir()) return;
  QFile file(file_name);
  errno = 0;
  if (!file.open(QIODevice::ReadOnly)) ThrowFileError(errno, 5);
  errno = 0;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) ThrowFileError(errno, 100);
  file.close();
  core::ReadTableFileText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), table);
}

void ScheduleTableFileArgument(TForm1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  const QString file_name = arguments.at(1);
  QTimer::singleShot(0, &form, [&form, file_name] {
    RunGuarded([&] { LoadConnectionTable(form.Table(), file_name); });
  });
}
