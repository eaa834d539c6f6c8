// The Qt cursor shape each framework cursor number (chart/cursors.h) stands for.
#pragma once

#include <cstdint>

#include <Qt>

// Unknown numbers show the arrow.
Qt::CursorShape CursorShapeOf(std::int16_t cursor);
