#include "chart/axis_labels.h"

#include <algorithm>
#include <string_view>

#include "chart/axis.h"
#include "chart/canvas.h"
#include "chart/chart_host.h"
#include "chart/label_steps.h"
#include "rtl/date_time.h"
#include "rtl/number_format.h"

namespace {

// The runtime's specifiers for the regional short date and short time formats.
constexpr std::string_view ShortDateSpecifier = "ddddd";
constexpr std::string_view ShortTimeSpecifier = "t";

rtl::Text DateTimeLabel(const TCustomChartAxis& axis, double value) {
  if (!(value >= 0 && value < rtl::kEndOfCalendar)) return rtl::Text();
  std::string_view format = axis.DateTimeFormat();
  if (format.empty()) format = axis.ScaleRange() > 1 ? ShortDateSpecifier : ShortTimeSpecifier;
  return rtl::FormatDateTime(format, value);
}

// The extent of a label along the axis: stacked lines when the text runs across the axis
// (a horizontal axis with vertical text, a vertical axis with horizontal text), else the
// widest line.
int LabelExtentAlongAxis(const TCustomChartAxis& axis, const rtl::Text& text, TLabelMeasure& measure) {
  const int angle = axis.LabelsAngle();
  const bool stacked = axis.IsHorizontal() ? (angle == 90 || angle == 270) : (angle == 0 || angle == 180);
  const TLabelLines lines = MeasureLabelLines(text, measure);
  return stacked ? measure.FontHeight() * lines.Count : lines.Width;
}

}  // namespace

int TCanvasLabelMeasure::TextWidth(const rtl::Text& line) { return canvas_.MeasureTextWidth(line); }

int TCanvasLabelMeasure::FontHeight() { return canvas_.LineHeight(); }

rtl::Text FormatAxisLabel(TCustomChartAxis& axis, double value, TLabelHandler handler) {
  rtl::Text text =
      axis.IsDateTimeScale() ? DateTimeLabel(axis, value) : rtl::FormatFloat(axis.AxisValuesFormat(), value);
  const TChartHost* chart = axis.ParentChart();
  if (handler == TLabelHandler::Ask && chart != nullptr && chart->OnGetAxisLabel()) {
    chart->OnGetAxisLabel()(axis, nullptr, -1, text);
  }
  if (axis.LabelsMultiLine()) std::replace(text.begin(), text.end(), ' ', LabelLineSeparator);
  return text;
}

TLabelLines MeasureLabelLines(const rtl::Text& text, TLabelMeasure& measure) {
  if (text.find(LabelLineSeparator) == rtl::Text::npos) return TLabelLines{measure.TextWidth(text), 1};
  TLabelLines lines{0, 0};
  size_t start = 0;
  for (size_t end = text.find(LabelLineSeparator); end != rtl::Text::npos;
       start = end + 1, end = text.find(LabelLineSeparator, start)) {
    lines.Width = std::max(lines.Width, measure.TextWidth(text.substr(start, end - start)));
    ++lines.Count;
  }
  if (start < text.size()) {
    lines.Width = std::max(lines.Width, measure.TextWidth(text.substr(start)));
    ++lines.Count;
  }
  return lines;
}

double ComputeLabelStep(TCustomChartAxis& axis, TLabelMeasure& measure, TLabelHandler handler) {
  // Maximum first: the panel's label handler sees the two values in this order.
  const int maximum_extent = LabelExtentAlongAxis(axis, FormatAxisLabel(axis, axis.ScaleMaximum(), handler), measure);
  const int minimum_extent = LabelExtentAlongAxis(axis, FormatAxisLabel(axis, axis.ScaleMinimum(), handler), measure);
  const int size = std::max(maximum_extent, minimum_extent);
  const int count = LabelCount(size, axis.AxisLength(), axis.LabelsSeparation());
  return LabelStepForCount(count, axis.IsDateTimeScale(), axis.Increment(), axis.ScaleRange(),
                           axis.LabelsSeparation());
}

double ComputeLabelStep(TCustomChartAxis& axis, TChartCanvas& canvas, TLabelHandler handler) {
  TCanvasLabelMeasure measure(canvas);
  return ComputeLabelStep(axis, measure, handler);
}

TDateTimeStep CalendarStepIndex(const TCustomChartAxis& axis, double label_step) {
  return CalendarStepIndex(axis.IsDateTimeScale(), axis.ExactDateTime(), axis.Increment(), label_step);
}

void EmitValueLabels(TCustomChartAxis& axis, double label_step, TDateTimeStep calendar_step,
                     const LabelAction& on_label) {
  const TChartHost* chart = axis.ParentChart();
  if (chart != nullptr && chart->OnGetNextAxisLabel()) {
    const TAxisOnGetNextLabel& handler = chart->OnGetNextAxisLabel();
    auto next_label = [&](int index, double& value, bool& stop) { handler(axis, index, value, stop); };
    if (EmitCustomLabels(axis.ScaleMinimum(), axis.ScaleMaximum(), next_label, on_label)) return;
  }
  if (axis.Logarithmic() && axis.Increment() == 0) {
    const double minimum = axis.ScaleMinimum();
    if (minimum != axis.ScaleMaximum()) axis.SetScaleMinimum(LogarithmicScaleMinimum(minimum));
    EmitLogarithmicLabels(minimum, axis.ScaleMaximum(), axis.LogarithmicBase(), on_label);
    return;
  }
  const LabelScale scale{axis.ScaleMinimum(), axis.ScaleMaximum(), axis.IsDateTimeScale(), axis.ExactDateTime(),
                         axis.RoundFirstLabel()};
  EmitLinearLabels(scale, label_step, calendar_step, on_label);
}
