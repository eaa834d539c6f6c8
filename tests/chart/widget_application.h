// The widget application object that chart widgets need in a test executable; created on
// first use (before any plain GUI application) and kept until the process ends.
#pragma once

#include <QApplication>

inline void EnsureWidgetApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "chart_widget_test";
  static char* argv[] = {name, nullptr};
  // Never destroyed, like the GUI application of the other chart tests.
  static QApplication* application = new QApplication(argc, argv);
  (void)application;
}
