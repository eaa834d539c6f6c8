// The application object the chart widgets need, created once per benchmark run and
// without a display unless the caller chose a platform.
#pragma once

#include <QApplication>
#include <QCoreApplication>

inline void EnsureBenchApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "sharemon_bench";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}
