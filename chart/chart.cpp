// The chart panel: creation defaults, settings, series joining and leaving, repaint control.
// The frame itself is drawn in chart_pipeline.cpp.
#include "chart/chart.h"

#include <algorithm>

#include "chart/chart_exceptions.h"
#include "chart/property.h"
#include "chart/series.h"

namespace {

constexpr int kLowest3DPercent = 1;
constexpr int kHighest3DPercent = 100;
constexpr int kPaletteSize = 16;
constexpr TColor kLeftWallColor = 0x80FFFF;

}  // namespace

TChart::TChart(TChartDevice& device)
    : device_(&device),
      window_canvas_(device),
      view3d_options_([this] { InvalidateChart(); }),
      canvas_(std::make_unique<TChartCanvas3D>(window_canvas_)),
      gradient_([this] { InvalidateChart(); }),
      axes_(this),
      title_(*this),
      foot_(*this),
      back_wall_(*this, clDefault),
      left_wall_(*this, kLeftWallColor),
      legend_([this] { InvalidateChart(); }),
      bottom_wall_(*this, clWhite) {
  back_wall_.Brush().SetStyle(bsClear);
  repaint_enabled_ = true;
}

TChart::~TChart() {
  destroying_ = true;
  repaint_enabled_ = false;
  // Each series leaves before the chart's parts go; adopted ones are freed as well.
  while (!series_.empty()) series_.back()->SetParentChart(nullptr);
  adopted_series_.clear();
}

template <class T>
void TChart::Store(T& field, T value) {
  StoreAndReport(field, std::move(value), [this] { InvalidateChart(); });
}

// --- repaint control -----------------------------------------------------------------------

void TChart::AttachWindow(TChartWindow* window) {
  window_ = window;
  if (window_ != nullptr) size_ = window_->ClientSize();
}

void TChart::Resize(int width, int height) {
  // The last frame has the old size; the next paint must draw a new one.
  StoreAndReport(size_, TSize{width, height}, [this] { InvalidateChart(); });
}

void TChart::SystemColorsChanged() { InvalidateChart(); }

void TChart::InvalidateChart() {
  if (!repaint_enabled_) return;
  ++repaint_requests_;
  canvas_->MarkDirty();
  if (window_ != nullptr) window_->Invalidate();
}

void TChart::RefreshChart() {
  InvalidateChart();
  if (window_ != nullptr && repaint_enabled_) window_->PaintNow();
}

void TChart::ShowFrameAgain() {
  if (window_ != nullptr) window_->Invalidate();
}

void TChart::SetCanvas(std::unique_ptr<TChartCanvas> canvas) {
  canvas_ = std::move(canvas);
  canvas_->AttachDevice(window_canvas_);
  InvalidateChart();
}

// --- series ---------------------------------------------------------------------------------

void TChart::AttachSeries(TChartSeries& series) {
  if (std::ranges::find(series_, &series) != series_.end()) return;
  if (series.SeriesColor() == clDefault) series.SetSeriesColor(FirstFreeSeriesColor());
  series_.push_back(&series);
  series.SetParentChart(this);
  if (!series.DataSources().empty()) series.CopyAllFrom(*series.DataSources().front());
  InvalidateChart();
}

void TChart::DetachSeries(TChartSeries& series) {
  if (std::ranges::find(series_, &series) == series_.end()) return;
  // Copy: unlinking changes the dependents' own lists.
  const std::vector<TChartSeries*> dependents = series.Dependents();
  for (TChartSeries* dependent : dependents) dependent->RemoveDataSource(series);
  // A leaving series takes its cursor with it.
  if (Cursor() == series.Cursor()) SetCursor(RestingCursor());
  std::erase(series_, &series);
  series.SetParentChart(nullptr);
  InvalidateChart();
}

TChartSeries& TChart::AdoptSeries(std::unique_ptr<TChartSeries> series) {
  TChartSeries& adopted = *series;
  adopted_series_.push_back(std::move(series));
  AttachSeries(adopted);
  return adopted;
}

TColor TChart::FirstFreeSeriesColor() const {
  for (int index = 0; index < kPaletteSize; ++index) {
    const TColor candidate = SeriesPaletteColor(index);
    const bool taken = std::ranges::any_of(series_, [&](const TChartSeries* s) { return s->SeriesColor() == candidate; });
    if (!taken && candidate != color_ && candidate != BackColor()) return candidate;
  }
  return SeriesPaletteColor(0);
}

int TChart::ActiveSeriesCount() const {
  return static_cast<int>(std::ranges::count_if(series_, [](const TChartSeries* s) { return s->Active(); }));
}

int TChart::HighestSeriesZOrder() const {
  if (!view3d_) return 0;
  int highest = 0;
  for (const TChartSeries* series : series_)
    if (series->Active()) highest = std::max(highest, series->DepthSlot());
  return highest;
}

// --- settings -------------------------------------------------------------------------------

void TChart::SetColor(TColor color) { Store(color_, color); }
void TChart::SetBevelOuter(TBevelCut cut) { Store(bevel_outer_, cut); }
void TChart::SetBevelInner(TBevelCut cut) { Store(bevel_inner_, cut); }
void TChart::SetBevelWidth(int pixels) { Store(bevel_width_, pixels); }
void TChart::SetBorderWidth(int pixels) { Store(border_width_, pixels); }
void TChart::SetMarginLeft(int percent) { Store(margin_left_, percent); }
void TChart::SetMarginTop(int percent) { Store(margin_top_, percent); }
void TChart::SetMarginRight(int percent) { Store(margin_right_, percent); }
void TChart::SetMarginBottom(int percent) { Store(margin_bottom_, percent); }
void TChart::SetView3D(bool view3d) { Store(view3d_, view3d); }
void TChart::SetView3DWalls(bool walls) { Store(view3d_walls_, walls); }
void TChart::SetClipPoints(bool clip) { Store(clip_points_, clip); }
void TChart::SetAxisVisible(bool visible) { Store(axis_visible_, visible); }
void TChart::SetBackImageMode(TChartBackImageMode mode) { Store(back_image_mode_, mode); }
void TChart::SetBackImageInside(bool inside) { Store(back_image_inside_, inside); }
void TChart::SetScaleLastPage(bool scale) { Store(scale_last_page_, scale); }
void TChart::SetAllowZoom(bool allow) { Store(allow_zoom_, allow); }
void TChart::SetAllowPanning(TPanningMode mode) { Store(allow_panning_, mode); }
void TChart::SetAnimatedZoom(bool animated) { Store(animated_zoom_, animated); }
void TChart::SetAnimatedZoomSteps(int steps) { Store(animated_zoom_steps_, steps); }
void TChart::SetPrintProportional(bool proportional) { Store(print_proportional_, proportional); }

void TChart::SetChart3DPercent(int percent) {
  if (percent < kLowest3DPercent || percent > kHighest3DPercent)
    throw Chart3DPercentError(kLowest3DPercent, kHighest3DPercent);
  Store(chart3d_percent_, percent);
}

void TChart::SetBackColor(TColor color) {
  back_wall_.SetColor(color);
  if (!loading_) back_wall_.Brush().SetStyle(bsSolid);
}

void TChart::SetBackImage(std::optional<TBitmap> image) {
  // A picture assignment always reports a change, like the picture object it stands for.
  back_image_ = std::move(image);
  InvalidateChart();
}

void TChart::SetMonochrome(bool monochrome) {
  if (canvas_->IsMonochrome() == monochrome) return;
  canvas_->ChangeMonochrome(monochrome);
  InvalidateChart();
}

int TChart::PageCount() const {
  if (max_points_per_page_ <= 0) return 1;
  int longest = 0;
  for (const TChartSeries* series : series_)
    if (series->Active()) longest = std::max(longest, series->PointCount());
  return std::max(1, (longest + max_points_per_page_ - 1) / max_points_per_page_);
}

void TChart::SetMaxPointsPerPage(int points) {
  if (points < 0) throw ChartException(chart_text::kMaxPointsPerPage);
  StoreAndReport(max_points_per_page_, points, [this] {
    if (page_ > PageCount()) SetPage(PageCount());
    InvalidateChart();
  });
}

void TChart::SetPage(int page) {
  page = std::clamp(page, 1, PageCount());
  StoreAndReport(page_, page, [this] {
    InvalidateChart();
    if (OnPageChange) OnPageChange(*this);
  });
}
