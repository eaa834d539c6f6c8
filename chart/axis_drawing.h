// Sizing and drawing of an axis on its chart panel: the room the axis takes beside the
// plot area (axis_room.h) and the drawing of its title, labels, ticks, grid and axis line.
// The panel calls them from its paint pipeline, for the axes it shows, in list order.
#pragma once

#include "chart/axis_room.h"
#include "chart/point_labels.h"

class TCustomChartAxis;
struct TFrameContext;

// Draws, in this order, the title (when it has a caption), the labels by the resolved label
// style (value labels at the label step, point labels thinned by the overlap test, or none),
// then the axis line, ticks and grid at the label positions. With `placeAxisLine`,
// AxisPosition is first set from the edge of the frame's plot area on the axis side, shifted
// by PositionPercent. Runs after UpdatePixelSpan and ApplyPixelMargins. `scan` chooses how
// point labels are visited; both ways draw the same.
void PaintAxis(TCustomChartAxis& axis, const TFrameContext& frame, bool placeAxisLine,
               TPointLabelScan scan = TPointLabelScan::SkipHidden);

// Whether (x, y) lies on the axis as it was last drawn: along it between StartPixel and
// EndPixel, across it from the labels' edge to 3 pixels beyond the axis line on the chart
// side; right and bottom edges excluded. A click 2 pixels right of the left axis line hits
// it, 3 pixels does not. Whether the axis is shown at all is the panel's to ask first.
bool AxisHitTest(const TCustomChartAxis& axis, int x, int y);
