// The Qt application object of the chart's Qt tests.
#include "gui_application.h"

#include <QApplication>

void EnsureGuiApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "chart_qt_test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: fonts and images of static objects may outlive any owner we could pick.
  static QApplication* application = new QApplication(argc, argv);
  (void)application;
}
