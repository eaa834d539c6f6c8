// A shown chart like the history chart (817 x 250, 2D, legend hidden, left axis fixed to
// 0 .. 65, a fast line near the bottom) in a stand-in window, driven with the mouse messages
// a window forwards, with the axis mapping of the last frame kept so that expected values
// come from pixels.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "pixel_image.h"
#include "plain_device.h"

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
    series_ = &static_cast<TFastLineSeries&>(chart_.AdoptSeries(std::make_unique<TFastLineSeries>()));
    chart_.SetView3D(false);
    chart_.Legend().SetVisible(false);
    for (int i = 0; i <= 20; ++i) series_->AddPoint(i, 5 + i % 3);
    chart_.LeftAxisRef().SetScaleRange(0, 65);
    window_.PaintNow();
  }

  TChart& chart() { return chart_; }
  TStandInWindow& window() { return window_; }
  TAxisMapping Bottom() { return TAxisMapping(chart_.BottomAxisRef()); }
  TAxisMapping Left() { return TAxisMapping(chart_.LeftAxisRef()); }
  // What the window shows now, painted afresh as a window's screen grab paints it.
  TBitmap Shown() {
    window_.PaintNow();
    return device_.Screen();
  }

  void Press(TMouseButton button, TPoint at) {
    held_ |= Held(button);
    chart_.MouseDown(button, held_, at.X, at.Y);
  }
  void Release(TMouseButton button, TPoint at) {
    held_ &= TShiftState(~Held(button));
    chart_.MouseUp(button, held_, at.X, at.Y);
  }
  void Move(TPoint at) { chart_.MouseMove(held_, at.X, at.Y); }
  void Drag(TMouseButton button, TPoint from, TPoint to) {
    Press(button, from);
    Move(to);
    Release(button, to);
  }
  // One wheel turn of `delta` eighths of a degree (negative toward the user).
  void Wheel(int delta) { chart_.WheelRotated(delta, held_, 300, 100); }

  TPlainDevice device_;
  TChart chart_{device_};
  TStandInWindow window_{chart_, 817, 250};
  TFastLineSeries* series_ = nullptr;

 private:
  static TShiftState Held(TMouseButton button) {
    return button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
  }
  TShiftState held_ = 0;
};
