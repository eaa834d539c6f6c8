// A chart host for tests: owns the five axes, keeps a series list, a settable plot area and
// paging settings, and counts the repaint requests it receives.
#pragma once

#include <algorithm>
#include <vector>

#include "chart/axis.h"
#include "chart/chart_host.h"
#include "chart/series.h"

class RecordingChartHost : public TChartHost {
 public:
  RecordingChartHost() : axes_(this) {}
  ~RecordingChartHost() override {
    destroying_ = true;
    while (!series_.empty()) series_.back()->SetParentChart(nullptr);
  }

  void InvalidateChart() override { ++invalidations; }
  void RefreshChart() override {
    ++invalidations;
    ++refreshes;
  }
  std::span<TChartSeries* const> SeriesList() const override { return series_; }
  void AttachSeries(TChartSeries& series) override {
    if (std::find(series_.begin(), series_.end(), &series) != series_.end()) return;
    series_.push_back(&series);
    series.SetParentChart(this);
    InvalidateChart();
  }
  void DetachSeries(TChartSeries& series) override {
    if (std::find(series_.begin(), series_.end(), &series) == series_.end()) return;
    std::erase(series_, &series);
    series.SetParentChart(nullptr);
    InvalidateChart();
  }
  TRect PlotArea() const override { return plot_area; }
  int Depth3D() const override { return depth3d; }
  bool IsLoading() const override { return loading; }
  bool IsDestroying() const override { return destroying_; }
  TCustomChartAxis* BottomAxis() const override { return &axes_.Bottom(); }
  TCustomChartAxis* TopAxis() const override { return &axes_.Top(); }
  TCustomChartAxis* LeftAxis() const override { return &axes_.Left(); }
  TCustomChartAxis* RightAxis() const override { return &axes_.Right(); }
  TCustomChartAxis* DepthAxis() const override { return &axes_.Depth(); }
  int MaxPointsPerPage() const override { return max_points_per_page; }
  int Page() const override { return page; }
  bool ScaleLastPage() const override { return scale_last_page; }
  int HighestSeriesZOrder() const override { return highest_z_order; }
  bool AppliesDepthOrdering() const override { return false; }
  bool MouseHandled() const override { return mouse_handled; }
  void SetMouseHandled(bool handled) override { mouse_handled = handled; }
  const TAxisOnGetLabel& OnGetAxisLabel() const override { return on_get_axis_label; }
  const TAxisOnGetNextLabel& OnGetNextAxisLabel() const override { return on_get_next_axis_label; }

  TChartAxes& Axes() { return axes_; }
  // Scale and span of every axis, as a paint would set them.
  void UpdateAxes() {
    for (TCustomChartAxis* axis : axes_.List()) axis->UpdateScale();
    for (TCustomChartAxis* axis : axes_.List()) axis->UpdatePixelSpan();
  }

  int invalidations = 0;
  int refreshes = 0;
  TRect plot_area{10, 10, 210, 210};
  int depth3d = 0;
  bool loading = false;
  int max_points_per_page = 0;
  int page = 1;
  bool scale_last_page = true;
  int highest_z_order = 0;
  bool mouse_handled = false;
  TAxisOnGetLabel on_get_axis_label;
  TAxisOnGetNextLabel on_get_next_axis_label;

 private:
  mutable TChartAxes axes_;
  std::vector<TChartSeries*> series_;
  bool destroying_ = false;
};
