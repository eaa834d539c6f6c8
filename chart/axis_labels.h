// The value labels of an axis: the text of a label (a date-time or a number under the axis'
// formats, then the panel's OnGetAxisLabel), the step between labels so they fit the axis
// length, the calendar step of date-time axes, and the values at which labels sit. Binds the
// pure arithmetic of label_steps.h, date_time_steps.h and label_sequence.h to an axis.
#pragma once

#include "chart/date_time_steps.h"
#include "chart/label_sequence.h"
#include "rtl/text.h"

class TChartCanvas;
class TCustomChartAxis;

// Label texts break into lines at this character.
inline constexpr char LabelLineSeparator = '\r';

// What label sizing needs from the canvas, in the labels font the caller has selected: the
// width of one line and the font height (the height of "W").
class TLabelMeasure {
 public:
  virtual ~TLabelMeasure() = default;
  virtual int TextWidth(const rtl::Text& line) = 0;
  virtual int FontHeight() = 0;
};

// TLabelMeasure over a chart canvas (MeasureTextWidth and LineHeight).
class TCanvasLabelMeasure : public TLabelMeasure {
 public:
  explicit TCanvasLabelMeasure(TChartCanvas& canvas) : canvas_(canvas) {}
  int TextWidth(const rtl::Text& line) override;
  int FontHeight() override;

 private:
  TChartCanvas& canvas_;
};

// Whether a label text passes through the panel's OnGetAxisLabel. Room measuring skips it.
enum class TLabelHandler { Ask, Skip };

// The label text of value. On a date-time axis (IsDateTimeScale): empty for a negative value
// (and for one beyond the year 9999); else formatted with DateTimeFormat, or when that is
// empty with the short date format when ScaleRange > 1 day and the short time format
// otherwise. Else the number under AxisValuesFormat with the regional separators. Then the
// panel's OnGetAxisLabel may replace it (series none, index -1), and with LabelsMultiLine
// every blank becomes LabelLineSeparator.
rtl::Text FormatAxisLabel(TCustomChartAxis& axis, double value, TLabelHandler handler = TLabelHandler::Ask);

// The widest line's width and the line count of a label: lines end at each separator, a
// non-empty rest is one more line, and a text without separators (even empty) is one line.
struct TLabelLines {
  int Width = 0;
  int Count = 1;
};
TLabelLines MeasureLabelLines(const rtl::Text& text, TLabelMeasure& measure);

// The step between value labels, in value units (days on date-time axes): the larger extent
// along the axis of the labels of ScaleMaximum and ScaleMinimum gives the label count over
// AxisLength (label_steps.h), and the count the step. At least 1e-12 (one second on date-time
// axes). The caller has selected the labels font.
double ComputeLabelStep(TCustomChartAxis& axis, TLabelMeasure& measure,
                        TLabelHandler handler = TLabelHandler::Ask);
double ComputeLabelStep(TCustomChartAxis& axis, TChartCanvas& canvas, TLabelHandler handler = TLabelHandler::Ask);

// The calendar step of one drawing of the axis with this label step (dtNone unless the axis
// is date-time with ExactDateTime and a non-zero Increment).
TDateTimeStep CalendarStepIndex(const TCustomChartAxis& axis, double label_step);

// The values of the axis' value labels, top down, handed to on_label: the panel's
// OnGetNextAxisLabel sequence when assigned (unless it declines at index 0), else powers of
// LogarithmicBase on a logarithmic axis with Increment 0 (a minimum <= 0 is then replaced in
// ScaleMinimum for the rest of the paint), else the linear sequence by label_step and
// calendar_step.
void EmitValueLabels(TCustomChartAxis& axis, double label_step, TDateTimeStep calendar_step,
                     const LabelAction& on_label);
