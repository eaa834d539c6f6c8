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
  // As a region of columns Left..Right-1 and rows Top..Bottom-1: no pixel at all.
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// The pixels both rectangles hold, as regions; empty (IsEmpty, and then possibly with its
// edges crossed) when they share none.
constexpr TRect Intersection(const TRect& a, const TRect& b) {
  return {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top, a.Right < b.Right ? a.Right : b.Right,
          a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
}
