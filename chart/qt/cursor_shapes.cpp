// Framework cursor numbers to Qt cursor shapes.
#include "chart/qt/cursor_shapes.h"

#include <array>
#include <utility>

#include "chart/cursors.h"

Qt::CursorShape CursorShapeOf(std::int16_t cursor) {
  static constexpr std::array<std::pair<std::int16_t, Qt::CursorShape>, 12> kShapes{{
      {crDefault, Qt::ArrowCursor},
      {crNone, Qt::BlankCursor},
      {crArrow, Qt::ArrowCursor},
      {crCross, Qt::CrossCursor},
      {crIBeam, Qt::IBeamCursor},
      {crSizeNS, Qt::SizeVerCursor},
      {crSizeWE, Qt::SizeHorCursor},
      {crUpArrow, Qt::UpArrowCursor},
      {crHourGlass, Qt::WaitCursor},
      {crNo, Qt::ForbiddenCursor},
      {crHandPoint, Qt::PointingHandCursor},
      {crSizeAll, Qt::SizeAllCursor},
  }};
  for (const auto& [number, shape] : kShapes)
    if (number == cursor) return shape;
  return Qt::ArrowCursor;
}
