// Pixel geometry of the chart engine: points and rectangles in device pixels.
// A rectangle is (Left, Top, Right, Bottom); whether Right and Bottom are inside
// depends on the operation that uses it and is stated there.
#pragma once

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};
