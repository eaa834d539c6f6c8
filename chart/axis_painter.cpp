// Label and title output of an axis drawing.
#include "chart/axis_painter.h"

#include "chart/axis.h"
#include "chart/axis_text.h"
#include "chart/canvas.h"
#include "chart/frame_context.h"

TAxisPainter::TAxisPainter(TCustomChartAxis& axis, const TFrameContext& frame)
    : axis_(axis), frame_(frame), canvas_(frame.canvas) {}

void TAxisPainter::PrepareText() {
  canvas_.Brush().SetColor(frame_.panel_color);
  canvas_.Brush().SetStyle(bsClear);
  // White text on white paper would vanish.
  if (frame_.printing && canvas_.Font().Color() == clWhite) canvas_.Font().SetColor(clBlack);
}

void TAxisPainter::PaintLabel(int position, const rtl::Text& text) {
  if (axis_.TickOnLabelsOnly()) ticks_.Add(position);
  frame_.SelectFont(axis_.LabelsFont());
  PrepareText();
  const int depth = frame_.depth;
  if (axis_.IsDepth()) {
    canvas_.SetTextAlignment(TA_LEFT | TA_TOP);
    if (!text.empty()) canvas_.WriteTextAtDepth(axis_.LabelsPosition(), frame_.plot_area.Bottom, text, position);
  } else if (axis_.IsHorizontal()) {
    WriteAxisText(canvas_, AxisSide(axis_), position, axis_.LabelsPosition(), text, axis_.LabelsAngle(), depth);
  } else {
    WriteAxisText(canvas_, AxisSide(axis_), axis_.LabelsPosition(), position, text, axis_.LabelsAngle(), depth);
  }
}

void TAxisPainter::PaintTitle() {
  TChartAxisTitle& title = axis_.Title();
  frame_.SelectFont(title.Font());
  PrepareText();
  const TAxisSide side = AxisSide(axis_);
  const int depth = frame_.depth;
  if (axis_.IsHorizontal())
    WriteAxisText(canvas_, side, axis_.CenterPixel(), axis_.TitlePosition(), title.Caption(), title.Angle(), depth);
  else
    WriteAxisText(canvas_, side, axis_.TitlePosition(), axis_.CenterPixel(), title.Caption(), title.Angle(), depth);
}
