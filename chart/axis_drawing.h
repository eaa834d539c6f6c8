// Sizing and drawing of an axis on its chart panel: the room the axis takes beside the
// plot area (ticks, labels, title) and the drawing of its line, ticks, grid, labels and
// title. The panel calls them from its paint pipeline, for the axes it shows, in list order.
#pragma once

#include "chart/geometry.h"

class TChart;
class TCustomChartAxis;

// Sets AxisPosition, LabelsPosition and TitlePosition of `axis` from the edge of `rect` on
// the axis side; with `shrink`, takes the room for title, labels and ticks out of `rect`
// (its edge on the axis side moves inward). Runs before UpdatePixelSpan of the same paint.
void ReserveAxisRoom(TCustomChartAxis& axis, TChart& chart, TRect& rect, bool shrink);

// Draws title, labels, ticks, grid and axis line of `axis` through the chart's canvas;
// with `placeAxisLine`, AxisPosition is first set from the chart's PlotArea. Runs after
// UpdatePixelSpan and ApplyPixelMargins.
void PaintAxis(TCustomChartAxis& axis, TChart& chart, bool placeAxisLine);
