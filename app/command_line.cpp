#include "app/command_line.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QTimer>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/history_render.h"
#include "app/poll_face.h"
#include "app/table_file.h"
#include "app/termination.h"
#include "core/program_faces.h"
#include "platform/standard_streams.h"

namespace {

// Saves a picture of the window once it has been laid out and painted, for display-less runs.
void ScheduleScreenshot(QWidget* window) {
  const QByteArray file_name = qgetenv("SHAREMON_SCREENSHOT");
  if (file_name.isEmpty()) return;
  QTimer::singleShot(1000, window, [window, file_name] {
    if (!window->grab().save(QString::fromLocal8Bit(file_name), "PNG")) {
      platform::WriteErrorLine("sharemon: cannot save the screenshot to " + file_name.toStdString());
    }
  });
}

// Shows the window and runs the message loop until it closes.
int RunMainWindow(int argc, char* argv[], const std::optional<std::string>& table_file) {
  QApplication application(argc, argv);
  // Where the window's classic font is missing, a sans face of the same metrics stands in.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  TForm1 form1;
  // show() runs FormShow before it returns. Signals are caught only from then on: a stop
  // that came earlier found no watch list loaded yet, and ending by default loses nothing.
  form1.show();
  CloseWindowOnTermination(&form1);
  if (table_file) ScheduleTableFileArgument(form1, {QApplication::applicationFilePath(), QFile::decodeName(QByteArray::fromStdString(*table_file))});
  ScheduleScreenshot(&form1);
  return application.exec();
}

}  // namespace

int RunCommandLine(int argc, char* argv[]) {
  const core::SystemFaces qt_faces{
      [&](const std::optional<std::string>& table_file) { return RunMainWindow(argc, argv, table_file); },
      [&](core::HistoryPicture& picture) { return HistoryPicturePng(argc, argv, picture); },
      [&](const core::HeadlessSettings& settings, const core::PollArguments& arguments) {
        return ServePoll(argc, argv, settings, arguments);
      },
  };
  return core::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), qt_faces);
}
