// One QApplication for all widget tests of a test executable, created on first use.
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "app_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}
