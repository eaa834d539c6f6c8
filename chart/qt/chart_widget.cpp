// The Qt chart window: its events forwarded to the chart, mouse and wheel events turned into
// the button, shift state and pixel position that the chart's mouse handling takes.
#include "chart/qt/chart_widget.h"

#include <optional>

#include <QEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "chart/cursors.h"
#include "chart/qt/cursor_shapes.h"

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

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent), device_(this), chart_(device_) {
  // The frame covers the whole widget, so the window system need not erase it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  // Moves without a pressed button show the series cursor.
  setMouseTracking(true);
  resize(chart_.Width(), chart_.Height());
  chart_.AttachWindow(this);
}

// The chart goes first, while the window it may still ask is whole.
TChartWidget::~TChartWidget() { chart_.AttachWindow(nullptr); }

void TChartWidget::Invalidate() { update(); }

void TChartWidget::PaintNow() { repaint(); }

TSize TChartWidget::ClientSize() const { return {width(), height()}; }

void TChartWidget::SetCursorShape(std::int16_t cursor) {
  if (cursor == crDefault)
    unsetCursor();
  else
    setCursor(CursorShapeOf(cursor));
}

void TChartWidget::paintEvent(QPaintEvent*) { chart_.Paint(); }

void TChartWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  chart_.Resize(width(), height());
}

void TChartWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) chart_.SystemColorsChanged();
}

void TChartWidget::mousePressEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) chart_.MouseDown(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

// The second press of a double click is a press with the double-click flag.
void TChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) chart_.MouseDown(*button, ShiftOf(event->modifiers(), event->buttons()) | ssDouble, at.x(), at.y());
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  chart_.MouseMove(ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  const QPoint at = event->position().toPoint();
  if (button) chart_.MouseUp(*button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void TChartWidget::wheelEvent(QWheelEvent* event) {
  const QPoint at = event->position().toPoint();
  chart_.WheelRotated(event->angleDelta().y(), ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
  event->accept();
}
