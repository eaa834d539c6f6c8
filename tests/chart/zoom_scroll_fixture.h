// A shown chart like the history chart (817 x 250, 2D, legend hidden, left axis fixed to
// 0 .. 65, a fast line near the bottom) driven with QTest mouse events, with the axis
// mapping of the last frame kept so that expected values come from pixels.
#pragma once

#include <memory>

#include <QImage>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "widget_application.h"

// An axis's value at a pixel, by the linear mapping of the frame it was taken from.
struct TAxisMapping {
  explicit TAxisMapping(const TCustomChartAxis& axis)
      : horizontal(axis.IsHorizontal()),
        start(axis.StartPixel()),
        length(axis.AxisLength()),
        minimum(axis.ScaleMinimum()),
        maximum(axis.ScaleMaximum()) {}
  double ValueAt(int pixel) const {
    const double offset = (pixel - start) * (maximum - minimum) / length;
    return horizontal ? minimum + offset : maximum - offset;
  }
  // The value width of `pixels` pixels.
  double Width(int pixels) const { return pixels * (maximum - minimum) / length; }
  bool horizontal;
  int start;
  int length;
  double minimum;
  double maximum;
};

class ZoomScrollTest : public ::testing::Test {
 protected:
  ZoomScrollTest() {
    EnsureWidgetApplication();
    chart_ = std::make_unique<TChart>();
    chart_->resize(817, 250);
    chart_->SetView3D(false);
    chart_->Legend().SetVisible(false);
    series_ = &static_cast<TFastLineSeries&>(chart_->AdoptSeries(std::make_unique<TFastLineSeries>()));
    for (int i = 0; i <= 20; ++i) series_->AddPoint(i, 5 + i % 3);
    chart_->LeftAxisRef().SetScaleRange(0, 65);
    chart_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(chart_.get()));
    chart_->repaint();
  }

  TChart& chart() { return *chart_; }
  TAxisMapping Bottom() const { return TAxisMapping(chart_->BottomAxisRef()); }
  TAxisMapping Left() const { return TAxisMapping(chart_->LeftAxisRef()); }
  // What the control shows now.
  QImage Shown() { return chart_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  void Press(Qt::MouseButton button, QPoint at) { QTest::mousePress(chart_.get(), button, {}, at); }
  void Release(Qt::MouseButton button, QPoint at) { QTest::mouseRelease(chart_.get(), button, {}, at); }
  void Move(QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, chart_->mapToGlobal(at), Qt::NoButton, QApplication::mouseButtons(),
                      Qt::NoModifier);
    QApplication::sendEvent(chart_.get(), &event);
  }
  void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
    Press(button, from);
    Move(to);
    Release(button, to);
  }
  // One wheel turn of `delta` eighths of a degree (negative toward the user).
  void Wheel(int delta) {
    const QPoint at(300, 100);
    QWheelEvent event(at, chart_->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(chart_.get(), &event);
  }

  std::unique_ptr<TChart> chart_;
  TFastLineSeries* series_ = nullptr;
};
