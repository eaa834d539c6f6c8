// The chart's title and foot: a block of text lines above (title) or below (foot) the plot
// area, optionally boxed and framed, aligned left, right or centred. Drawing it takes its
// height out of the chart's plot area before the axes are laid out.
#pragma once

#include <cstdint>
#include <vector>

#include "chart/geometry.h"
#include "chart/pens.h"
#include "rtl/text.h"

class TChartCanvas;
class TChartHost;
struct TFrameContext;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TChartFontObject {
 public:
  // Font "Arial" 8 in clBlue; every change of a property, the font, brush or frame asks
  // `chart` for a repaint.
  explicit TChartTitle(TChartHost& chart);

  // The lines, top to bottom. Empty by default.
  const std::vector<rtl::Text>& Text() const { return text_; }
  void SetText(const std::vector<rtl::Text>& lines);
  // Replaces one line; an index outside the lines raises rtl::ListIndexError.
  void SetLine(int index, const rtl::Text& line);
  void AddLine(const rtl::Text& line);
  void ClearText();

  bool Visible() const { return visible_; }  // default True: drawn and given room
  void SetVisible(bool visible);
  TAlignment Alignment() const { return alignment_; }  // default taCenter
  void SetAlignment(TAlignment alignment);
  // Fill colour of the box; clDefault (the default) takes it from Brush.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TChartBrush& Brush() { return brush_; }  // clDefault, bsSolid
  const TChartBrush& Brush() const { return brush_; }
  TChartHiddenPen& Frame() { return frame_; }  // outline of the box, hidden by default
  const TChartHiddenPen& Frame() const { return frame_; }
  // True (default): the box is only as wide as the widest line plus the width of "W".
  bool AdjustFrame() const { return adjust_frame_; }
  void SetAdjustFrame(bool adjust);

  // The rectangle of the last drawing (pixels; left and top inside, right and bottom outside).
  const TRect& TitleBounds() const { return bounds_; }
  // Visible and (x, y) inside TitleBounds.
  bool TitleHit(int x, int y) const;
  // The font's name, size, colour or style differs from the title's default font.
  bool FontDiffersFromDefault() const;

  // Copies AdjustFrame, Alignment, Brush, Color, Frame, Text, Visible and the font.
  void Assign(const TChartTitle& source);

  // Draws the title (onTop) or the foot at the edge of the frame's plot area and moves that
  // edge inward past the text block plus 5 pixels; the panel then normalises the plot area.
  // The panel calls it only when Visible.
  void DrawTitle(TFrameContext& frame, bool onTop);

 private:
  struct Layout;
  void SetUpFill(TChartCanvas& canvas);
  bool FrameShown() const;
  void AdjustBoxWidth(TChartCanvas& canvas, int gap);
  void WriteLine(TChartCanvas& canvas, const Layout& layout, int y, const rtl::Text& line, int gap);
  void Changed() const;

  TChartHost& chart_;
  std::vector<rtl::Text> text_;
  bool visible_ = true;
  TAlignment alignment_ = taCenter;
  TColor color_ = clDefault;
  TChartBrush brush_;
  TChartHiddenPen frame_;
  bool adjust_frame_ = true;
  TRect bounds_;
};
