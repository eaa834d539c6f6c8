#include "app/window_timer.h"

WindowTimer::WindowTimer(QObject* parent) : QTimer(parent) {
  setSingleShot(true);
  // A coarse timer may fire a little early; a poll interval is a promise about spacing.
  setTimerType(Qt::PreciseTimer);
}
