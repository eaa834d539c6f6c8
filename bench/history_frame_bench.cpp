// One frame of the share history chart (817 x 250) at 10^3 ... 10^6 points, one point a
// minute with counts 0..60: our chart through RenderChart, the same data drawn by two
// chart libraries as peers, and a bare pass that maps the points and sets one vertical
// span per pixel column straight into the image, the floor for any engine.
#include "bench_application.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include <qcustomplot.h>

#include "core/connection_table.h"
#include "core/window/form_layout.h"
#include "app/history_chart.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/qt/qt_device.h"
#include "history_table.h"
#include "rtl/date_time.h"

namespace {

// The window's chart (Chart1) is the frame drawn.
using core::form1::kChart1;
constexpr double kUnixEpochDay = 25569;    // 1 January 1970 as a date-time value

const History& HistoryOf(int count) {
  static std::map<int, History> cache;
  History& history = cache[count];
  if (history.times.empty()) history = MinuteHistory(count);
  return history;
}

// The table the program would have after a long run: "Время" and one share.
core::ConnectionTable TableOf(const History& history) { return HistoryTable(history.times, history.counts); }

void BM_HistoryFrame(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(kChart1.width, kChart1.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  ShowShareHistory(chart, series, TableOf(HistoryOf(int(state.range(0)))), "DATA", [](const rtl::Text&) {});
  QImage frame(kChart1.width, kChart1.height, QImage::Format_RGB32);
  for (auto _ : state) {
    RenderHistoryFrame(chart, frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

// What each poll costs a window showing a long history: one new point with its time label,
// then the frame.
void BM_HistoryFrameAfterNewPoint(benchmark::State& state) {
  EnsureBenchApplication();
  TQtChartDevice device;
  TChart chart(device);
  chart.Resize(kChart1.width, kChart1.height);
  TFastLineSeries& series = ConfigureHistoryChart(chart);
  const History& history = HistoryOf(int(state.range(0)));
  ShowShareHistory(chart, series, TableOf(history), "DATA", [](const rtl::Text&) {});
  QImage frame(kChart1.width, kChart1.height, QImage::Format_RGB32);
  RenderHistoryFrame(chart, frame);
  double time = history.times.back();
  for (auto _ : state) {
    time += kMinute;
    series.AddPoint(time, double(int(time * 1440) % 61), rtl::TimeText(time));
    RenderHistoryFrame(chart, frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

void BM_QCustomPlotFrame(benchmark::State& state) {
  EnsureBenchApplication();
  const History& history = HistoryOf(int(state.range(0)));
  QVector<double> seconds;
  for (double time : history.times) seconds.push_back((time - kUnixEpochDay) * 86400);
  QVector<double> counts(history.counts.begin(), history.counts.end());
  QCustomPlot plot;
  plot.resize(kChart1.width, kChart1.height);
  plot.plotLayout()->insertRow(0);
  plot.plotLayout()->addElement(0, 0, new QCPTextElement(&plot, "DATA"));
  QCPGraph* graph = plot.addGraph();  // adaptive sampling is on as the library ships
  graph->setPen(QPen(Qt::red));
  graph->setData(seconds, counts, true);
  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setDateTimeFormat("dd.MM.yyyy\nhh:mm");
  plot.xAxis->setTicker(ticker);
  plot.xAxis->setTickLabelRotation(90);
  plot.xAxis->setRange(seconds.front(), seconds.back());
  plot.yAxis->setRange(0, 65);
  for (auto _ : state) {
    plot.replot();  // lays out and paints into the plot's own 817 x 250 buffer
  }
}

void BM_QtChartsFrame(benchmark::State& state) {
  EnsureBenchApplication();
  const History& history = HistoryOf(int(state.range(0)));
  QList<QPointF> points;
  for (std::size_t i = 0; i < history.times.size(); ++i)
    points.append(QPointF((history.times[i] - kUnixEpochDay) * 86400000.0, history.counts[i]));
  auto* line = new QLineSeries;
  line->replace(points);
  line->setPen(QPen(Qt::red));
  auto* chart = new QChart;
  chart->legend()->hide();
  chart->setTitle("DATA");
  chart->addSeries(line);
  auto* time_axis = new QDateTimeAxis;
  time_axis->setFormat("dd.MM.yyyy hh:mm");
  time_axis->setLabelsAngle(90);
  auto* count_axis = new QValueAxis;
  count_axis->setRange(0, 65);
  chart->addAxis(time_axis, Qt::AlignBottom);
  chart->addAxis(count_axis, Qt::AlignLeft);
  line->attachAxis(time_axis);
  line->attachAxis(count_axis);
  QGraphicsScene scene;
  scene.addItem(chart);  // the scene owns the chart
  chart->setGeometry(0, 0, kChart1.width, kChart1.height);
  QImage frame(kChart1.width, kChart1.height, QImage::Format_RGB32);
  for (auto _ : state) {
    frame.fill(Qt::white);
    QPainter painter(&frame);
    scene.render(&painter, QRectF(0, 0, kChart1.width, kChart1.height), QRectF(0, 0, kChart1.width, kChart1.height));
  }
}

// Maps every point to its pixel and sets, per pixel column, one vertical span from the
// lowest to the highest pixel the line touches there (the previous column's last point
// included, so that the columns join). Kept as lean as a bare pass can be (rounding without
// a library call, rows reached by pointer steps), so that it is a floor worth the name.
int RoundToPixel(double value) {
  constexpr double kShift = 6755399441055744.0;  // 1.5 * 2^52: the sum keeps no fraction
  return static_cast<int>((value + kShift) - kShift);
}

void DrawFloorFrame(const History& history, QImage& frame) {
  constexpr int left = 40, top = 20, right = 792, bottom = 170;
  const double x_scale = (right - left) / (history.times.back() - history.times.front());
  const double y_scale = (bottom - top) / 65.0;
  const QRgb red = qRgb(255, 0, 0);
  uchar* const bits = frame.bits();
  const qsizetype stride = frame.bytesPerLine();
  auto span = [&](int x, int low, int high) {
    uchar* pixel = bits + low * stride + x * 4;
    for (int y = low; y <= high; ++y, pixel += stride) *reinterpret_cast<QRgb*>(pixel) = red;
  };
  const double first_time = history.times.front();
  const double* times = history.times.data();
  const double* counts = history.counts.data();
  const std::size_t count = history.times.size();
  int column = left, low = bottom, high = 0, last = bottom;
  for (std::size_t i = 0; i < count; ++i) {
    const int x = left + RoundToPixel((times[i] - first_time) * x_scale);
    const int y = bottom - RoundToPixel(counts[i] * y_scale);
    if (x != column) {
      span(column, low, high);
      column = x;
      low = high = last;
    }
    low = std::min(low, y);
    high = std::max(high, y);
    last = y;
  }
  span(column, low, high);
}

void BM_FloorFrame(benchmark::State& state) {
  const History& history = HistoryOf(int(state.range(0)));
  QImage frame(kChart1.width, kChart1.height, QImage::Format_RGB32);
  frame.fill(Qt::white);
  for (auto _ : state) {
    DrawFloorFrame(history, frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

}  // namespace

BENCHMARK(BM_HistoryFrame)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryFrameAfterNewPoint)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotFrame)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtChartsFrame)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorFrame)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
