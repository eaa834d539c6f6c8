// Sizing and drawing of an axis. Interim: an axis takes no room and draws nothing until
// the axis drawing module replaces this file.
#include "chart/axis_drawing.h"

void ReserveAxisRoom(TCustomChartAxis&, TChart&, TRect&, bool) {}

void PaintAxis(TCustomChartAxis&, TChart&, bool) {}
