// Label and title output of an axis drawing.
#include "chart/axis_painter.h"

#include "chart/axis.h"
#include "chart/axis_text.h"
#include "chart/chart.h"

TAxisPainter::TAxisPainter(TCustomChartAxis& axis, TChart& chart)
    : axis_(axis), chart_(chart), canvas_(*chart.Canvas()) {}

void TAxisPainter::PrepareText() {
  canvas_.Brush().SetColor(chart_.Color());
  canvas_.Brush().SetStyle(bsClear);
  // White text on white paper would vanish.
  if (chart_.IsPrinting() && canvas_.Font().Color() == clWhite) canvas_.Font().SetColor(clBlack);
}

void TAxisPainter::PaintLabel(int position, const rtl::Text& text) {
  if (axis_.TickOnLabelsOnly()) ticks_.Add(position);
  chart_.SelectFont(axis_.LabelsFont());
  PrepareText();
  const int depth = chart_.Depth3D();
  if (axis_.IsDepth()) {
    canvas_.SetTextAlignment(TA_LEFT | TA_TOP);
    if (!text.empty()) canvas_.WriteTextAtDepth(axis_.LabelsPosition(), chart_.PlotArea().Bottom, text, position);
  } else if (axis_.IsHorizontal()) {
    WriteAxisText(canvas_, AxisSide(axis_), position, axis_.LabelsPosition(), text, axis_.LabelsAngle(), depth);
  } else {
    WriteAxisText(canvas_, AxisSide(axis_), axis_.LabelsPosition(), position, text, axis_.LabelsAngle(), depth);
  }
}

void TAxisPainter::PaintTitle() {
  TChartAxisTitle& title = axis_.Title();
  chart_.SelectFont(title.Font());
  PrepareText();
  const TAxisSide side = AxisSide(axis_);
  const int depth = chart_.Depth3D();
  if (axis_.IsHorizontal())
    WriteAxisText(canvas_, side, axis_.CenterPixel(), axis_.TitlePosition(), title.Caption(), title.Angle(), depth);
  else
    WriteAxisText(canvas_, side, axis_.TitlePosition(), axis_.CenterPixel(), title.Caption(), title.Angle(), depth);
}
