// The Qt chart window: a widget that hosts one chart with its Qt device. It forwards its
// paint, resize, palette, mouse and wheel events to the chart, and serves the chart's
// requests for a paint, its size and a cursor shape.
#pragma once

#include <QWidget>

#include "chart/chart.h"
#include "chart/chart_window.h"
#include "chart/qt/qt_device.h"

class TChartWidget : public QWidget, public TChartWindow {
 public:
  explicit TChartWidget(QWidget* parent = nullptr);
  ~TChartWidget() override;

  TChart& Chart() { return chart_; }
  const TChart& Chart() const { return chart_; }

  void Invalidate() override;
  void PaintNow() override;
  TSize ClientSize() const override;
  void SetCursorShape(std::int16_t cursor) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  TQtChartDevice device_;
  TChart chart_;
};
