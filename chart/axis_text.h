// Text placement for axis labels and axis titles: which side of the chart the axis lies on,
// the canvas alignment and anchor shift for each side and angle, and the layout of a text
// cut into lines at character 13.
#pragma once

#include "rtl/text.h"

class TChartCanvas;
class TCustomChartAxis;

// The side of the plot area an axis lies on. The depth axis counts as the right side.
enum class TAxisSide { Bottom, Top, Left, Right };
TAxisSide AxisSide(const TCustomChartAxis& axis);

// Writes `text` for an axis on `side` at the anchor (x, y) in pixels, rotated by `angle`
// degrees counter-clockwise (0..359), in the canvas font:
// - the alignment and a first shift of half the font height depend on side and angle (0, 90,
//   180, 270; any other angle writes left, top at the anchor);
// - the lines are stacked away from the axis (0, 180) or side by side centred on the anchor
//   (90, 270), one font height apart;
// - text of the top and right axes is written at `depth`, the others at depth 0.
// An empty text writes nothing. The canvas alignment is left, top afterwards.
// Bottom axis, angle 90, one line: right, top at (x - half, y): the text reads upward, ends
// at y and is centred on x.
void WriteAxisText(TChartCanvas& canvas, TAxisSide side, int x, int y, const rtl::Text& text, int angle, int depth);
