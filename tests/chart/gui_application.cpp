// The Qt application object of the chart tests.
#include "gui_application.h"

#include <QGuiApplication>

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "chart_test";
  static char* argv[] = {name, nullptr};
  // Never destroyed: fonts and images of static objects may outlive any owner we could pick.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}
