// The base series: the point store (X and Y value lists, colours, labels), its add, remove
// and clear operations with their events, the visible point range, the notifications to
// dependent series and the repaint requests to the owning chart. Drawing is left to
// derived classes (the fast line).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "chart/colors.h"
#include "chart/label_width_cache.h"
#include "chart/mouse_input.h"
#include "chart/value_list.h"
#include "rtl/text.h"

class TChartHost;
class TCustomChartAxis;
class TChartSeries;

enum THorizAxis : std::uint8_t { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis : std::uint8_t { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// Which changes of a source series a dependent series follows (a set of these flags).
using TSeriesRecalcOptions = std::uint8_t;
inline constexpr TSeriesRecalcOptions rOnDelete = 1;
inline constexpr TSeriesRecalcOptions rOnModify = 2;
inline constexpr TSeriesRecalcOptions rOnInsert = 4;
inline constexpr TSeriesRecalcOptions rOnClear = 8;
inline constexpr TSeriesRecalcOptions rOnAll = rOnDelete | rOnModify | rOnInsert | rOnClear;

// What a series tells its dependent series (NotifyDependents).
enum class TSeriesChange : std::uint8_t { Cleared, Added, Removed, Modified, Refreshed };

// A calculation that fills a series from its data sources. The series owns it.
class TSeriesCalculation {
 public:
  virtual ~TSeriesCalculation() = default;
  virtual void Recalculate(TChartSeries& target) = 0;
};

// The mark objects of the points. Marks are never drawn in this program; the store only
// keeps one position slot per point so that removal and clearing stay parallel.
struct TSeriesMarkPosition {
  int ArrowFromX = 0, ArrowFromY = 0, ArrowToX = 0, ArrowToY = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
};
struct TSeriesMarks {
  bool Visible = true;
  int ArrowLength = 8;  // pixels
  std::vector<TSeriesMarkPosition> Positions;
};

// Depth placement given by the chart before drawing; 2D charts leave it at 0.
struct TSeriesDepthBand {
  int Start = 0, Middle = 0, End = 0;
};

// How a legend entry combines a point's label with its value.
enum TLegendTextStyle : std::uint8_t { ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue };

// A point for AddPoints: what AddPoint takes.
struct TSeriesPoint {
  double X = 0;
  double Y = 0;
  rtl::Text Label;
  TColor Color = clDefault;
};

using TSeriesNotifyEvent = std::function<void(TChartSeries& sender)>;
// Returns false to veto the add.
using TSeriesBeforeAddEvent = std::function<bool(TChartSeries& sender)>;
using TSeriesAfterAddEvent = std::function<void(TChartSeries& sender, int valueIndex)>;
using TSeriesClickEvent = std::function<void(TChartSeries& sender, int valueIndex, TMouseButton button,
                                             TShiftState shift, int x, int y)>;

class TChartSeries {
 public:
  TChartSeries();
  // Detaches from sources and dependents, clears the points (OnClearValues still fires)
  // and leaves the chart.
  virtual ~TChartSeries();
  TChartSeries(const TChartSeries&) = delete;
  TChartSeries& operator=(const TChartSeries&) = delete;

  // --- point store -----------------------------------------------------------------
  // Returns the index of the new point, or -1 when OnBeforeAdd vetoed it (nothing stored).
  // X is inserted by the X list's Order; Y, colour and label go to the same index.
  virtual int AddPoint(double x, double y, const rtl::Text& label = {}, TColor color = clDefault);
  // Adds the points as AddPoint called for each in turn does, with the same stored order
  // (equal X values keep their arrival order), values, labels, colours, pending values,
  // statistics and events. Unless a single add is observed (AddsPointsOneByOne), they are
  // stored at once and sorted by one stable sort, so points out of X order cost O(log N)
  // each instead of a shifting insert, and one repaint is requested.
  void AddPoints(std::vector<TSeriesPoint> points);
  // X = point count, Y = value (exchanged when the primary list is X).
  virtual int AddNextValue(double value, const rtl::Text& label = {}, TColor color = clDefault);
  virtual int AddBlankPoint(const rtl::Text& label = {});
  virtual int AddBlankPointAt(double x, double y, const rtl::Text& label = {});
  // Empties all lists (capacity 0), fires OnClearValues, notifies dependents, repaints.
  virtual void ClearPoints();
  // Index outside 0..count-1: rtl::ListIndexError.
  virtual void RemovePoint(int index);
  // Fills with count random sample points; count < 1: ChartException.
  virtual void FillWithSamples(int count);
  virtual int SampleCount() const { return 25; }
  // Exchanges points i and j in every list, the colours and the labels.
  virtual void SwapPoints(int i, int j);

  int PointCount() const { return XValues().ValueCount(); }
  virtual double PointX(int index) const { return XValues().ValueAt(index); }
  virtual double PointY(int index) const { return YValues().ValueAt(index); }
  // Empty for a point without label and for indexes beyond the labels.
  virtual rtl::Text PointLabel(int index) const;
  void SetPointLabel(int index, const rtl::Text& label);
  // Stored colour, palette colour (ColorEachPoint) or SeriesColor; never fails.
  virtual TColor PointColor(int index) const;
  void SetPointColor(int index, TColor color);
  bool IsBlankPoint(int index) const { return PointColor(index) == clNone; }
  // Entries of the label and colour lists (each is either empty or one per point).
  int LabelCount() const { return static_cast<int>(labels_.size()); }
  // The label at index without copying it; empty as PointLabel is.
  std::string_view PointLabelView(int index) const;
  // Grows with every change of the label list (add, remove, clear, swap, SetPointLabel).
  std::uint64_t LabelsVersion() const { return labels_version_; }
  // The widest-label memory of the axis room; kept here so it dies with the series.
  TLabelWidthCache& WidestLabelCache() const { return widest_label_cache_; }
  int ColorCount() const { return static_cast<int>(colors_.size()); }

  virtual double HighestX() const { return XValues().HighestValue(); }
  virtual double HighestY() const { return YValues().HighestValue(); }
  virtual double HighestZ() const { return depth_slot_; }
  virtual double LowestX() const { return XValues().LowestValue(); }
  virtual double LowestY() const { return YValues().LowestValue(); }
  virtual double LowestZ() const { return depth_slot_; }

  TChartValueList& XValues() { return x_values_; }
  const TChartValueList& XValues() const { return x_values_; }
  TChartValueList& YValues() { return y_values_; }
  const TChartValueList& YValues() const { return y_values_; }
  const TChartValueLists& ValueLists() const { return value_lists_; }
  TChartValueLists& ValueLists() { return value_lists_; }
  // Whether the mandatory list is X (series drawn along the vertical axis); false here.
  virtual bool PrimaryIsX() const { return false; }
  // The mandatory list; the other of X and Y is the ordered one.
  TChartValueList& PrimaryValueList() { return PrimaryIsX() ? x_values_ : y_values_; }
  const TChartValueList& PrimaryValueList() const { return PrimaryIsX() ? x_values_ : y_values_; }
  const TChartValueList& OrderedValueList() const { return PrimaryIsX() ? y_values_ : x_values_; }
  // First list after X and Y named name (ignoring case), else the Y list.
  TChartValueList& ValueListByName(const rtl::Text& name);

  // --- visible range -----------------------------------------------------------------
  // Sets FirstVisibleIndex/LastVisibleIndex from the axes' values at the plot area edges
  // (-1 both when nothing shows). Without a chart or axis, or unordered: every point.
  void ComputeVisibleRange();
  int FirstVisibleIndex() const { return first_visible_; }
  int LastVisibleIndex() const { return last_visible_; }
  void SetVisibleRange(int first, int last) { first_visible_ = first; last_visible_ = last; }

  // --- screen mapping and drawing hooks ------------------------------------------------
  // Pixel of the point through the resolved axes; 0 without a chart.
  virtual int PointScreenX(int index) const;
  virtual int PointScreenY(int index) const;
  virtual void PrepareChartDrawing() {}
  virtual void BeginDrawPoints();
  virtual void DrawPoints();
  virtual void DrawPoint(int /*index*/) {}
  virtual void EndDrawPoints();
  virtual bool DrawsPointsForward() const { return true; }
  virtual bool DrawsSeriesForward(int /*index*/) const { return true; }
  virtual int PointAtPixel(int /*x*/, int /*y*/) const { return -1; }
  virtual void HorizontalMargins(int& left, int& right) const { left = right = 0; }
  virtual void VerticalMargins(int& top, int& bottom) const { top = bottom = 0; }
  virtual bool UsesAxes() const { return true; }
  virtual void PenOrBrushChanged() { RequestRepaint(); }
  virtual void SeriesMouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  virtual void SeriesMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
  // Offers a click to OnDblClick (double-click flag in shift) or OnClick; true when taken.
  virtual bool SeriesClicked(int index, TMouseButton button, TShiftState shift, int x, int y);
  virtual double PointOriginValue(int index) const { return PrimaryValueList().ValueAt(index); }
  virtual double PointMarkValue(int index) const { return PrimaryValueList().ValueAt(index); }
  // Sum of the positive origin values at index of the active series of the same class
  // that come before this one in the chart (all of them when all).
  double StackOrigin(int index, bool all) const;
  // Another active series without own depth values sharing the depth slot.
  bool SharesDepthWithOthers() const;
  int LegendEntryCount() const { return PointCount(); }
  int LegendToPointIndex(int i) const { return i; }
  TColor LegendEntryColor(int i) const { return PointColor(i); }
  // ltsPlain: the label; Left/RightValue: the mark value by ValueFormat joined to the label
  // by one blank; Left/RightPercent: its share of the MagnitudeSum by PercentFormat;
  // ltsXValue: the X value by ValueFormat.
  rtl::Text LegendEntryText(int i, TLegendTextStyle style) const;

  // --- axes and chart ------------------------------------------------------------------
  // True when the series uses axes and axis is its resolved axis of that direction, or
  // the series uses both axes of that direction.
  virtual bool IsBoundToAxis(const TCustomChartAxis& axis) const;
  TCustomChartAxis* GetHorizAxis() const { return horiz_axis_; }
  TCustomChartAxis* GetVertAxis() const { return vert_axis_; }
  THorizAxis HorizAxis() const { return horiz_axis_kind_; }
  void SetHorizAxis(THorizAxis value);
  TVertAxis VertAxis() const { return vert_axis_kind_; }
  void SetVertAxis(TVertAxis value);
  TCustomChartAxis* CustomHorizAxis() const { return custom_horiz_axis_; }
  void SetCustomHorizAxis(TCustomChartAxis* axis);
  TCustomChartAxis* CustomVertAxis() const { return custom_vert_axis_; }
  void SetCustomVertAxis(TCustomChartAxis* axis);
  // Leaves the old chart, resolves the axes, joins the new one (the chart's AttachSeries
  // and DetachSeries call back here with the series already listed or unlisted).
  TChartHost* ParentChart() const { return parent_chart_; }
  void SetParentChart(TChartHost* chart);
  // The chart's invalidate when the series has a chart; nothing otherwise.
  void RequestRepaint() const;
  // Re-reads the resolved axes from the chart (called when the chart or a setting changes).
  void ResolveAxes();

  // --- published properties ------------------------------------------------------------
  bool Active() const { return active_; }
  void SetActive(bool value);
  TColor SeriesColor() const { return series_color_; }
  virtual void SetSeriesColor(TColor value);
  bool ColorEachPoint() const { return color_each_point_; }
  void SetColorEachPoint(bool value);
  std::int16_t Cursor() const { return cursor_; }  // crDefault = 0
  void SetCursor(std::int16_t value) { cursor_ = value; }
  const rtl::Text& Name() const { return name_; }
  void SetName(const rtl::Text& value) { name_ = value; }
  const rtl::Text& Title() const { return title_; }
  void SetTitle(const rtl::Text& value);
  const rtl::Text& ValueFormat() const { return value_format_; }
  void SetValueFormat(const rtl::Text& value);
  const rtl::Text& PercentFormat() const { return percent_format_; }
  void SetPercentFormat(const rtl::Text& value);
  bool ShowInLegend() const { return show_in_legend_; }
  void SetShowInLegend(bool value);
  const rtl::Text& ColorSource() const { return color_source_; }
  void SetColorSource(const rtl::Text& value) { color_source_ = value; }
  const rtl::Text& XLabelsSource() const { return x_labels_source_; }
  void SetXLabelsSource(const rtl::Text& value) { x_labels_source_ = value; }
  const rtl::Text& Identifier() const { return identifier_; }
  void SetIdentifier(const rtl::Text& value) { identifier_ = value; }
  int Style() const { return style_; }  // six low bits
  void SetStyle(int value) { style_ = value & 0x3F; }
  TSeriesMarks& Marks() { return marks_; }
  const TSeriesMarks& Marks() const { return marks_; }

  TSeriesBeforeAddEvent OnBeforeAdd;
  TSeriesAfterAddEvent OnAfterAdd;
  TSeriesNotifyEvent OnClearValues;
  TSeriesNotifyEvent BeforeDrawValues;
  TSeriesNotifyEvent AfterDrawValues;
  TSeriesClickEvent OnClick;
  TSeriesClickEvent OnDblClick;

  // --- depth (3D only) -------------------------------------------------------------------
  int DepthSlot() const { return depth_slot_; }  // -1 = automatic
  void SetDepthSlot(int value) { depth_slot_ = value; }
  TSeriesDepthBand& DepthBand() { return depth_band_; }
  const TSeriesDepthBand& DepthBand() const { return depth_band_; }

  // --- data sources, dependents, calculation -----------------------------------------------
  TSeriesRecalcOptions RecalcOptions() const { return recalc_options_; }
  void SetRecalcOptions(TSeriesRecalcOptions value) { recalc_options_ = value; }
  // This series takes its points from source from now on (copied in at once).
  void AddDataSource(TChartSeries& source);
  void RemoveDataSource(TChartSeries& source);
  const std::vector<TChartSeries*>& DataSources() const { return data_sources_; }
  const std::vector<TChartSeries*>& Dependents() const { return dependents_; }
  TSeriesCalculation* Calculation() const { return calculation_.get(); }
  void SetCalculation(std::unique_ptr<TSeriesCalculation> calculation);
  // Tells every dependent series of a change (each follows it by its RecalcOptions).
  void NotifyDependents(TSeriesChange change, int index = -1);

  virtual bool AcceptsSource(const TChartSeries& source) const { return &source != this; }
  virtual bool AcceptsAsSource(const TChartSeries& /*series*/) const { return true; }
  virtual int CopyPointFrom(const TChartSeries& source, int index);
  virtual void SourcePointAdded(const TChartSeries& source, int index);
  virtual void SourcePointRemoved(const TChartSeries& /*source*/, int index) { RemovePoint(index); }
  virtual void CopyAllFrom(const TChartSeries& source);
  // Empties every list, colours, labels and mark positions (capacity 0); no notification.
  virtual void EraseAllLists();
  // Inserts the PendingValue of every list after X and Y at index.
  virtual void InsertExtraValues(int index);
  void ResetPendingValue(TChartValueList& list) { list.SetPendingValue(0); }

  // Flags fixed by derived constructors.
  bool ComputesVisibleRange() const { return compute_visible_range_; }
  bool DrawsBetweenPoints() const { return draw_between_points_; }
  bool AllowsSinglePoint() const { return allow_single_point_; }
  bool HasOwnDepthValues() const { return has_own_depth_values_; }

 protected:
  // Base: fires OnAfterAdd, notifies dependents, repaints when Active.
  virtual void PointAdded(int index);
  // AddPoints must add through AddPoint, point by point: an OnBeforeAdd veto, an OnAfterAdd
  // handler or a dependent series sees each add, extra value lists or lists out of step
  // with each other take no part in the batch. A derived class whose AddPoint or
  // PointAdded does more than the base's adds its own reasons.
  virtual bool AddsPointsOneByOne() const;

  bool compute_visible_range_ = true;
  bool draw_between_points_ = false;
  bool allow_single_point_ = true;
  bool has_own_depth_values_ = false;

 private:
  void CheckPointIndex(int index) const;
  // AddPoints without observers: stores the points (xs: their X values) at the end, then
  // moves them where AddPoint would have put them.
  void AddPointsAtOnce(std::vector<TSeriesPoint>& points, std::span<const double> xs);
  // Colours and labels of the points after AddPointsAtOnce stored the new values: point i
  // takes those of point order[i], the new ones (from first_new on) coming from `points`;
  // an empty order appends them.
  void PlaceColorsAndLabels(std::vector<TSeriesPoint>& points, int first_new, std::span<const int> order);
  void InsertLabel(int index, const rtl::Text& label);
  void LeaveParentChart();
  void DetachFromSourcesAndDependents();
  int ScanFirstVisible(const TChartValueList& ordered, double minimum) const;
  int ScanLastVisible(const TChartValueList& ordered, int first, double maximum) const;

  TChartValueLists value_lists_;  // declared before the lists so it outlives them
  TChartValueList x_values_;
  TChartValueList y_values_;
  std::vector<TColor> colors_;
  // One entry per point; a label is allocated only when it is not empty.
  std::vector<std::unique_ptr<rtl::Text>> labels_;
  std::uint64_t labels_version_ = 0;
  mutable TLabelWidthCache widest_label_cache_;
  int first_visible_ = -1;
  int last_visible_ = -1;
  TSeriesMarks marks_;

  bool active_ = true;
  TColor series_color_ = clDefault;
  bool color_each_point_ = false;
  rtl::Text color_source_;
  std::int16_t cursor_ = 0;
  THorizAxis horiz_axis_kind_ = aBottomAxis;
  TVertAxis vert_axis_kind_ = aLeftAxis;
  TCustomChartAxis* custom_horiz_axis_ = nullptr;
  TCustomChartAxis* custom_vert_axis_ = nullptr;
  TCustomChartAxis* horiz_axis_ = nullptr;
  TCustomChartAxis* vert_axis_ = nullptr;
  TChartHost* parent_chart_ = nullptr;
  rtl::Text name_;
  rtl::Text title_;
  rtl::Text value_format_ = "#,##0.###";
  rtl::Text percent_format_ = "##0.## %";
  bool show_in_legend_ = true;
  rtl::Text x_labels_source_;
  rtl::Text identifier_;
  int style_ = 0;
  int depth_slot_ = -1;
  TSeriesDepthBand depth_band_;
  TSeriesRecalcOptions recalc_options_ = rOnAll;
  std::vector<TChartSeries*> data_sources_;
  std::vector<TChartSeries*> dependents_;
  std::unique_ptr<TSeriesCalculation> calculation_;
};

// The 16 point colours used cyclically (index modulo 16), red first.
TColor SeriesPaletteColor(int index);
