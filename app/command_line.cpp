#include "app/command_line.h"

#include <QApplication>
#include <QFont>
#include <QTimer>
#include <cstring>
#include <vector>

#include "app/form1.h"
#include "app/help_face.h"
#include "app/history_render.h"
#include "app/poll_face.h"
#include "app/table_file.h"
#include "app/share_enumeration.h"
#include "app/user_probe.h"
#include "app/termination.h"
#include "platform/standard_streams.h"

namespace {

struct Face {
  const char* option;  // the first argument that selects the face
  int (*run)(int argc, char* argv[]);
};

// Each further face adds a line here.
const std::vector<Face>& Faces() {
  static const std::vector<Face> faces = {
      {"--help", RunHelp},
      {"-h", RunHelp},
      {"--list-shares", RunListShares},
      {"--poll", RunPoll},
      {"--probe", RunProbe},
      {"--render", RunRenderHistory},
      {"--version", RunVersion},
  };
  return faces;
}

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

}  // namespace

int RunMainWindow(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // Where the window's classic font is missing, a sans face of the same metrics stands in.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  TForm1 form1;
  // show() runs FormShow before it returns. Signals are caught only from then on: a stop
  // that came earlier found no watch list loaded yet, and ending by default loses nothing.
  form1.show();
  CloseWindowOnTermination(&form1);
  ScheduleTableFileArgument(form1, QApplication::arguments());
  ScheduleScreenshot(&form1);
  return application.exec();
}

int RunCommandLine(int argc, char* argv[]) {
  if (argc > 1) {
    for (const Face& face : Faces()) {
      if (std::strcmp(argv[1], face.option) == 0) return face.run(argc, argv);
    }
  }
  return RunMainWindow(argc, argv);
}
