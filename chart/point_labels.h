// Point labels of an axis: the text labels (or mark texts) of the points of the series on the
// axis, at the points' positions, thinned so that neighbouring labels keep a gap of
// LabelsSeparation percent of their size.
#pragma once

#include "chart/axis.h"

class TAxisPainter;

// The overlap test of point labels along an axis. Positions and extents in pixels along the
// axis; `labels_separation` in percent.
// The first label is always drawn and keeps half its extent. With a separation, each later
// label is enlarged by Trunc(extent * 0.02 * separation), and drawn only when its half does
// not reach into the half of the last drawn label.
// 13-pixel labels, separation 10: the first keeps half 6, later ones half 7; points 5 pixels
// apart get a label at the first point and then at every third.
class TLabelOverlap {
 public:
  explicit TLabelOverlap(int labels_separation) : separation_(labels_separation) {}
  // Whether a label of `extent` at `position` is drawn; a drawn label becomes the last one.
  bool Accept(int position, int extent);
  bool AnyDrawn() const { return drawn_; }
  // The smallest position at or beyond the last drawn label where a label of at least
  // `minimum_extent` can be drawn. Only meaningful once a label is drawn and with a
  // separation other than 0.
  int NextFreePosition(int minimum_extent) const;

 private:
  int EnlargedHalf(int extent) const { return (extent + Trunc(extent * 0.02 * separation_)) / 2; }
  static int Trunc(double value) { return static_cast<int>(value); }

  int separation_;
  bool drawn_ = false;
  int previous_position_ = -1;
  int previous_half_ = 0;
};

// How the point label walk visits the points.
enum class TPointLabelScan {
  // Every point from the first to the last visible one.
  EveryPoint,
  // Where the labels' positions grow with the index and nothing but the drawn labels leaves
  // a trace (no label handler, ticks only at drawn labels, one labelled series, a linear
  // axis), jumps over the points whose labels cannot pass the overlap test, and measures by
  // character advances. Draws the same labels, ticks and grid lines as EveryPoint.
  SkipHidden,
};

// The point labels (talText: the points' labels; talMark: their mark texts) of the active
// series bound to the axis that have labels, over their visible point ranges (recomputed
// here). The panel's OnGetAxisLabel may replace each text. Values outside the scale are
// skipped; ticks go to the painter's tick list.
void PaintPointLabels(TAxisPainter& painter, TAxisLabelStyle style, TPointLabelScan scan);
