// Every operation of the device interface as one case that any device draws through a
// canvas, and what it must draw: the same table runs on the plain device (toolkit-free, on
// both systems), the Qt device and the GDI device. Where the engine's rasteriser defines the
// pixels (lines, rectangles, solid fills, picture copies) the drawing must equal the plain
// device's pixel for pixel, since that device adds none of its own there; everything is
// also held against the case's own expectations, because the device draws its shapes, text
// and patterns its own way: the changed pixels stay in the region and reach its sides, the
// case's colours and no others, samples at given points, the lines of a hatch.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_device.h"
#include "chart/device_canvas.h"

// Colours of the drawing state every case starts from: the pen (and text), the brush, and
// the background that opaque hatches and text cells take.
inline constexpr TRgb kCaseInk = MakeRgb(0x20, 0x40, 0xC0);
inline constexpr TRgb kCaseBrush = MakeRgb(0xE0, 0x60, 0x20);
inline constexpr TRgb kCaseBackground = MakeRgb(0x30, 0xB0, 0x50);

// A pixel that must hold a colour, each channel within `tolerance`.
struct CaseSample {
  TPoint at;
  TRgb colour;
  int tolerance = 0;
};

// Directions a hatch's lines run in; a pixel has the hatch's colour exactly where it lies on a
// line of that colour running through the whole region in one of them.
enum CaseLines : unsigned { kNoLines = 0, kRows = 1, kColumns = 2, kFalling = 4, kRising = 8 };

struct DeviceCase {
  const char* name;
  void (*draw)(TCanvas&);
  // Where the changed pixels lie, from the canvas after drawing (a text's cell depends on the
  // device's font); empty: nothing is drawn.
  TRect (*region)(const TCanvas&);
  // How far inside the region's sides the changed pixels may stop.
  int slack = 0;
  // Each is among the changed pixels; unless `blends`, no other colour is.
  std::vector<TRgb> colours = {};
  std::vector<CaseSample> samples = {};
  unsigned lines = kNoLines;
  bool engine = false;  // drawn by the engine's rasteriser: pixel for pixel as the plain device
  bool blends = false;
};

const std::vector<DeviceCase>& DeviceCases();

// What `device` draws for the case unlike the expectations, in words; empty when alike.
std::string DeviceCaseMismatch(TChartDevice& device, const DeviceCase& c);
