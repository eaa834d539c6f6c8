// The chart control's Qt mouse and wheel events, turned into the button, shift state and
// pixel position that the chart's mouse handling takes.
#include <optional>

#include <QMouseEvent>
#include <QWheelEvent>

#include "chart/chart.h"

namespace {

std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return mbLeft;
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      return std::nullopt;  // extra buttons reach no chart handler
  }
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

}  // namespace

void TChart::mousePressEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) MouseDown(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

// The second press of a double click is a press with the double-click flag.
void TChart::mouseDoubleClickEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) MouseDown(*button, ShiftOf(event->modifiers(), event->buttons()) | ssDouble, at.x(), at.y());
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseMove(ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) MouseUp(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TChart::wheelEvent(QWheelEvent* event) {
  const QPoint at = event->position().toPoint();
  WheelRotated(event->angleDelta().y(), ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
  event->accept();
}
