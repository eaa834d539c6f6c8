// The state of one axis drawing shared by its parts: the axis, the frame and its canvas, and
// the tick list that the labels fill, with the label and title output.
#pragma once

#include "chart/axis_ticks.h"
#include "rtl/text.h"

class TChartCanvas;
class TCustomChartAxis;
struct TFrameContext;

class TAxisPainter {
 public:
  TAxisPainter(TCustomChartAxis& axis, const TFrameContext& frame);

  TCustomChartAxis& Axis() const { return axis_; }
  const TFrameContext& Frame() const { return frame_; }
  TChartCanvas& Canvas() const { return canvas_; }
  TTickList& Ticks() { return ticks_; }

  // A label at `position` along the axis: a tick there when TickOnLabelsOnly is set, then the
  // text in LabelsFont at LabelsPosition with LabelsAngle (the depth axis writes it left,
  // unrotated, at the plot area's bottom, at depth `position`).
  void PaintLabel(int position, const rtl::Text& text);
  // The caption in the title's font at CenterPixel along the axis and TitlePosition across.
  void PaintTitle();

 private:
  // Brush in the panel colour, clear; a white font turns black while printing.
  void PrepareText();

  TCustomChartAxis& axis_;
  const TFrameContext& frame_;
  TChartCanvas& canvas_;
  TTickList ticks_;
};
