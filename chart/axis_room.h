// The room an axis takes beside the plot area before the plot area is fixed: for its ticks,
// its labels and its title, and the positions across the axis (axis line, labels' edge,
// title's edge) that follow from it. Pixels are device pixels of the chart's frame.
#pragma once

#include "chart/geometry.h"

class TChartCanvas;
class TChartHost;
class TCustomChartAxis;
struct TFrameContext;

// Axis pen width when visible, plus TickLength when Ticks is visible, then at least
// MinorTickLength when MinorTicks is visible. Defaults: 2 + 4 = 6; Axis hidden 4; Ticks
// hidden too 2.
int AxisRoomForTicks(const TCustomChartAxis& axis);
// LabelsSize when not 0. Otherwise, in LabelsFont: the font height when the labels run along
// the axis (horizontal axis at 0 or 180 degrees, vertical axis at 90 or 270), else the widest
// label (WidestAxisLabel).
int AxisRoomForLabels(TCustomChartAxis& axis, const TFrameContext& frame);
// The same rule for the title: TitleSize, else in the title font the font height or the width
// of the caption as one line.
int AxisRoomForTitle(TCustomChartAxis& axis, const TFrameContext& frame);

// The widest label the axis may show, in the font selected on the frame's canvas, by the
// resolved label style: value labels measure the labels of the two scale ends (rounded down
// to the label step when the first label is rounded or the axis is an exact date-time axis)
// without the panel's OnGetAxisLabel, plus the width of a blank; mark labels the widest mark
// text; text labels the widest point label of every series; no labels 0.
int WidestAxisLabel(TCustomChartAxis& axis, const TFrameContext& frame);
// The widest line over the labels of every point of every series that has labels, active
// or not, in the font selected on the canvas (the panel's WidestPointLabel, measured by
// character advances).
int WidestPointLabel(const TChartHost& chart, TChartCanvas& canvas);
// The same measured afresh, bypassing the series' memory (for checking that memory).
int UncachedWidestPointLabel(const TChartHost& chart, TChartCanvas& canvas);

// Nearest(PositionPercent% of the rectangle's extent across the axis: its height for a
// horizontal axis, its width for a vertical one).
int PositionOffset(const TCustomChartAxis& axis, const TRect& rect);
// `position` moved `pixels` toward the chart: up for the bottom axis, down for the top axis,
// right for the left axis, left for the right and depth axes.
int MoveInward(const TCustomChartAxis& axis, int position, int pixels);

// Sets the axis' AxisPosition, LabelsPosition and TitlePosition from the edge of `rect` on
// the axis side (IsDateTimeScale is refreshed first).
// - shrink False: the axis line at the edge (shifted by PositionPercent), the labels beyond
//   its ticks, the title beyond the labels; `rect` is not changed.
// - shrink True: the title (side axes with a caption), then the labels (when Labels is set),
//   then the ticks take their room out of `rect` in turn, moving its edge inward; the title
//   and labels positions are the edges after their room, shifted by PositionPercent. The
//   edge left after the ticks is where the axis line is drawn later.
// Runs before UpdatePixelSpan of the same paint.
void ReserveAxisRoom(TCustomChartAxis& axis, const TFrameContext& frame, TRect& rect, bool shrink);
