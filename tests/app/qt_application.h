// One QApplication for all widget tests of a test executable, created on first use.
#pragma once

#include <QApplication>

// Never destroyed: Qt's test input devices are released at exit, after any static
// application object would already be gone, and would crash reaching back into it.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "app_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}
