// Axis text placement.
#include "chart/axis_text.h"

#include <vector>

#include "chart/axis.h"
#include "chart/axis_labels.h"
#include "chart/canvas.h"
#include "chart/rounding.h"

namespace {

// Alignment and the first anchor shift, in units of half the font height along x or y.
struct TAnchorRule {
  unsigned alignment;
  int half_x;
  int half_y;
};

constexpr unsigned kCentreTop = TA_CENTER | TA_TOP;
constexpr unsigned kCentreBottom = TA_CENTER | TA_BOTTOM;
constexpr unsigned kRightTop = TA_RIGHT | TA_TOP;
constexpr unsigned kLeftTop = TA_LEFT | TA_TOP;

// Rows: angle 0, 90, 180, 270; columns: bottom, top, left, right.
constexpr TAnchorRule kAnchorRules[4][4] = {
    {{kCentreTop, 0, 0}, {kCentreBottom, 0, 0}, {kRightTop, 0, -1}, {kLeftTop, 0, -1}},
    {{kRightTop, -1, 0}, {kLeftTop, -1, 0}, {kCentreBottom, 0, 0}, {kCentreTop, 0, 0}},
    {{kCentreBottom, 0, 0}, {kCentreTop, 0, 0}, {kLeftTop, 0, 1}, {kRightTop, 0, 1}},
    {{kLeftTop, 1, 0}, {kRightTop, 1, 0}, {kCentreTop, 0, 0}, {kCentreBottom, 0, 0}},
};

// Drawing splits at every separator; a non-empty rest is one more line; "" has no lines.
std::vector<rtl::Text> DrawnLines(const rtl::Text& text) {
  std::vector<rtl::Text> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(LabelLineSeparator, start)) != rtl::Text::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool IsHorizontalSide(TAxisSide side) { return side == TAxisSide::Bottom || side == TAxisSide::Top; }

// The second shift: it puts the first line one step before where the stack starts, so each
// line can advance by h before it is written.
void ShiftForLines(TAxisSide side, int angle, int h, int count, int& x, int& y) {
  const int total = h * count;
  const int middle = Nearest(h * 0.5 * (count + 1));
  const bool near_side = side == TAxisSide::Bottom || side == TAxisSide::Left;
  if (IsHorizontalSide(side)) {
    if (angle == 0) y -= near_side ? h : total;
    if (angle == 180) y -= near_side ? total : h;
    if (angle == 90 || angle == 270) x -= middle;
    return;
  }
  if (angle == 0 || angle == 180) y -= middle;
  if (angle == 90) x -= near_side ? total : h;
  if (angle == 270) x -= near_side ? h : total;
}

}  // namespace

TAxisSide AxisSide(const TCustomChartAxis& axis) {
  if (axis.IsHorizontal()) return axis.IsOppositeSide() ? TAxisSide::Top : TAxisSide::Bottom;
  return axis.IsOppositeSide() ? TAxisSide::Right : TAxisSide::Left;
}

void WriteAxisText(TChartCanvas& canvas, TAxisSide side, int x, int y, const rtl::Text& text, int angle, int depth) {
  const int z = side == TAxisSide::Top || side == TAxisSide::Right ? depth : 0;
  const bool right_angle = angle == 0 || angle == 90 || angle == 180 || angle == 270;
  const int height = canvas.LineHeight();
  const int half = height / 2;
  if (right_angle) {
    const TAnchorRule& rule = kAnchorRules[angle / 90][static_cast<int>(side)];
    canvas.SetTextAlignment(rule.alignment);
    x += rule.half_x * half;
    y += rule.half_y * half;
  } else {
    canvas.SetTextAlignment(kLeftTop);
  }
  const std::vector<rtl::Text> lines = DrawnLines(text);
  const int h = angle == 180 || angle == 270 ? -height : height;
  if (right_angle) ShiftForLines(side, angle, h, static_cast<int>(lines.size()), x, y);
  for (const rtl::Text& line : lines) {
    if (angle == 0 || angle == 180) y += h;
    if (angle == 90 || angle == 270) x += h;
    if (angle == 0)
      canvas.WriteTextAtDepth(x, y, line, z);
    else
      canvas.WriteRotatedTextAtDepth(x, y, angle, line, z);
  }
  canvas.SetTextAlignment(kLeftTop);
}
