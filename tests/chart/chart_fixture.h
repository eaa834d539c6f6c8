// A chart panel set up like the history chart (817 x 250, 2D, legend hidden) that draws
// through a measuring canvas (13-pixel lines, 7-pixel characters) on the plain device, so
// frames can be read back as a list of canvas calls.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart.h"
#include "chart/series.h"
#include "pixel_image.h"
#include "plain_device.h"
#include "recording_canvas.h"

// A colour that is none of the panel's defaults.
inline constexpr TColor kGreen = 0x008000;

class ChartFixture : public ::testing::Test {
 protected:
  ChartFixture() {
    chart_ = std::make_unique<TChart>(device_);
    chart_->Resize(817, 250);
    chart_->SetView3D(false);
    chart_->Legend().SetVisible(false);
    auto canvas = std::make_unique<TMeasuringCanvas>();
    canvas_ = canvas.get();
    chart_->SetCanvas(std::move(canvas));
  }

  // One frame of the whole control through the recording canvas.
  void Render() {
    canvas_->Clear();
    chart_->RenderChart(chart_->WindowCanvas(), {0, 0, 817, 250});
  }

  // Index of the first logged call that starts with `prefix`, or -1.
  int IndexOf(const std::string& prefix) const {
    const std::vector<std::string> calls = canvas_->Calls();
    for (std::size_t i = 0; i < calls.size(); ++i)
      if (calls[i].starts_with(prefix)) return static_cast<int>(i);
    return -1;
  }

  const TRecordedCall* FirstRecord(const std::string& prefix) const {
    for (const TRecordedCall& record : canvas_->Records())
      if (record.call.starts_with(prefix)) return &record;
    return nullptr;
  }

  TChart& chart() { return *chart_; }
  TMeasuringCanvas& canvas() { return *canvas_; }

  TPlainDevice device_;
  std::unique_ptr<TChart> chart_;
  TMeasuringCanvas* canvas_ = nullptr;
};

// A series that marks each drawn point on the canvas, so the draw order can be read.
class MarkingSeries : public TChartSeries {
 public:
  void DrawPoint(int index) override { ParentChart()->Canvas()->PlotPixel(index, 0, clRed); }
  void PrepareChartDrawing() override { ++prepared; }
  int prepared = 0;
};
