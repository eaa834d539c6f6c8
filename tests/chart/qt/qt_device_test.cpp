// The Qt device: every drawing operation into the engine's bitmap as the other devices draw
// it, system colours from its window's palette, and measuring with the real font as the
// engine relies on it (whole advances, no kerning).
#include <gtest/gtest.h>

#include <QPalette>
#include <QWidget>

#include "chart/canvas.h"
#include "chart/char_advance_measure.h"
#include "chart/chart.h"
#include "chart/qt/qt_device.h"
#include "device_cases.h"
#include "gui_application.h"

namespace {

TEST(qt_device_test, draws_every_device_operation_into_the_bitmap_as_the_case_table_has_it) {
  EnsureGuiApplication();
  TQtChartDevice device;
  for (const DeviceCase& c : DeviceCases()) EXPECT_EQ(DeviceCaseMismatch(device, c), "") << c.name;
}

TEST(QtDeviceTest, system_colours_come_from_the_window_palette) {
  EnsureGuiApplication();
  QWidget window;
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::Light, QColor(4, 5, 6));
  palette.setColor(QPalette::Dark, QColor(7, 8, 9));
  window.setPalette(palette);
  TQtChartDevice device(&window);
  TCanvas window_device(device);
  TChartCanvas3D canvas(window_device);
  canvas.BeginFrame(window_device, nullptr, {0, 0, 4, 4}, false);
  const std::pair<TColor, TRgb> cases[] = {{clBtnFace, MakeRgb(1, 2, 3)},
                                           {clBtnHighlight, MakeRgb(4, 5, 6)},
                                           {clBtnShadow, MakeRgb(7, 8, 9)},
                                           {clRed, MakeRgb(255, 0, 0)}};
  for (const auto& [color, rgb] : cases) {
    canvas.Brush().SetColor(color);
    canvas.FillRectangle({0, 0, 2, 2});
    EXPECT_EQ(canvas.FrameBitmap()->Pixel(0, 0), rgb) << std::hex << color;
  }
}

// The chart's own canvas writes without kerning and with whole-pixel advances, so the sum of
// character advances is the width of the whole text.
TEST(CharAdvanceMeasureTest, SumOfAdvancesIsTheCanvasWidthOfTheText) {
  EnsureGuiApplication();
  TQtChartDevice device;
  TChart chart(device);
  TChartCanvas& canvas = *chart.Canvas();
  for (int size : {8, 11}) {
    chart.BottomAxisRef().LabelsFont().SetSize(size);
    chart.SelectFont(chart.BottomAxisRef().LabelsFont());
    TCharAdvanceMeasure measure(canvas);
    // "AVATAR To", dates and times, and "Время" in Windows-1251.
    for (const rtl::Text text : {"AVATAR To", "01.02.2024", "23:59", "WWii  ,.", "\xC2\xF0\xE5\xEC\xFF"})
      EXPECT_EQ(measure.TextWidth(text), canvas.MeasureTextWidth(text)) << text << " at " << size;
  }
}

}  // namespace
