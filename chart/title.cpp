// The chart's title and foot.
#include "chart/title.h"

#include <algorithm>

#include "chart/canvas.h"
#include "chart/chart_host.h"
#include "chart/frame_context.h"
#include "chart/property.h"
#include "rtl/errors.h"

namespace {

// Pixels kept free between the text block and the plot area.
constexpr int kTitleGap = 5;

}  // namespace

// The working lines of one drawing: left and right stay those of the plot area (inside the
// frame), whatever width the box is given afterwards.
struct TChartTitle::Layout {
  int left = 0;
  int right = 0;
};

TChartTitle::TChartTitle(TChartHost& chart)
    : TChartFontObject([&chart] { chart.InvalidateChart(); }),
      chart_(chart),
      brush_([this] { Changed(); }),
      frame_([this] { Changed(); }) {
  Font().SetColor(clBlue);
}

void TChartTitle::Changed() const { chart_.InvalidateChart(); }

void TChartTitle::SetText(const std::vector<rtl::Text>& lines) {
  StoreAndReport(text_, lines, [this] { Changed(); });
}

void TChartTitle::SetLine(int index, const rtl::Text& line) {
  if (index < 0 || index >= static_cast<int>(text_.size())) throw rtl::ListIndexError(index);
  StoreAndReport(text_[index], line, [this] { Changed(); });
}

void TChartTitle::AddLine(const rtl::Text& line) {
  text_.push_back(line);
  Changed();
}

void TChartTitle::ClearText() {
  if (text_.empty()) return;
  text_.clear();
  Changed();
}

void TChartTitle::SetVisible(bool visible) {
  StoreAndReport(visible_, visible, [this] { Changed(); });
}

void TChartTitle::SetAlignment(TAlignment alignment) {
  StoreAndReport(alignment_, alignment, [this] { Changed(); });
}

void TChartTitle::SetColor(TColor color) {
  StoreAndReport(color_, color, [this] { Changed(); });
}

void TChartTitle::SetAdjustFrame(bool adjust) {
  StoreAndReport(adjust_frame_, adjust, [this] { Changed(); });
}

bool TChartTitle::TitleHit(int x, int y) const {
  return visible_ && x >= bounds_.Left && x < bounds_.Right && y >= bounds_.Top && y < bounds_.Bottom;
}

bool TChartTitle::FontDiffersFromDefault() const {
  TFont reference;
  InitChartFont(reference, {});
  const TFont& font = Font();
  return font.Name() != reference.Name() || font.Size() != reference.Size() || font.Color() != clBlue ||
         font.Style() != 0;
}

void TChartTitle::Assign(const TChartTitle& source) {
  SetAdjustFrame(source.adjust_frame_);
  SetAlignment(source.alignment_);
  brush_.Assign(source.brush_);
  SetColor(source.color_);
  frame_.Assign(source.frame_);
  SetText(source.text_);
  SetVisible(source.visible_);
  TChartFontObject::Assign(source);
}

bool TChartTitle::FrameShown() const { return frame_.Visible() && frame_.Color() != clDefault; }

// The five ways Color and Brush combine into the canvas brush. A brush colour of its own
// with the default Color becomes the title's Color at the first drawing.
void TChartTitle::SetUpFill(TChartCanvas& canvas) {
  if (color_ == clDefault) {
    if (brush_.Style() != bsSolid) {
      canvas.Brush().Assign(brush_);
      canvas.SetBackgroundMode(TRANSPARENT);
      return;
    }
    if (brush_.Color() == clDefault) {
      canvas.Brush().SetStyle(bsClear);
      return;
    }
    SetColor(brush_.Color());
  } else if (brush_.Style() != bsSolid) {
    canvas.Brush().Assign(brush_);
    canvas.SetBackgroundMode(OPAQUE);
    canvas.SetBackgroundColor(color_);
    return;
  }
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color_);
}

void TChartTitle::AdjustBoxWidth(TChartCanvas& canvas, int gap) {
  int widest = 0;
  for (const rtl::Text& line : text_) widest = std::max(widest, canvas.MeasureTextWidth(line));
  const int width = widest + gap;
  switch (alignment_) {
    case taLeftJustify:
      bounds_.Right = bounds_.Left + width;
      break;
    case taRightJustify:
      bounds_.Left = bounds_.Right - width;
      break;
    case taCenter: {
      const int centre = (bounds_.Left + bounds_.Right) / 2;
      bounds_.Left = centre - width / 2;
      bounds_.Right = centre + width / 2;
      break;
    }
  }
}

void TChartTitle::WriteLine(TChartCanvas& canvas, const Layout& layout, int y, const rtl::Text& line, int gap) {
  int x = 0;
  switch (alignment_) {
    case taLeftJustify:
      x = layout.left + gap / 2;
      break;
    case taRightJustify:
      x = layout.right - canvas.MeasureTextWidth(line) - gap / 2;
      break;
    case taCenter:
      x = (layout.left + layout.right) / 2 - canvas.MeasureTextWidth(line) / 2;
      break;
  }
  if (canvas.IsFreeRotating())
    canvas.WriteTextAtDepth(x, y, line, 0);
  else
    canvas.WriteText(x, y, line);
}

void TChartTitle::DrawTitle(TFrameContext& frame, bool onTop) {
  const bool framed = FrameShown();
  // Without lines and without a frame the block has no height at all; the 5-pixel gap
  // would otherwise still be taken from the plot area.
  if (text_.empty() && !framed) return;
  TChartCanvas& canvas = frame.canvas;
  frame.SelectFont(Font());
  const int h = canvas.LineHeight();
  SetUpFill(canvas);
  const int f = framed ? frame_.Width() : 0;
  TRect& plot = frame.plot_area;
  const Layout layout{plot.Left + f, plot.Right - f};
  int y = onTop ? plot.Top + f : plot.Bottom - f + kTitleGap;
  int bottom = onTop ? y - kTitleGap : plot.Bottom - f;
  bounds_ = {layout.left, y, layout.right, bottom};

  int w = 0;
  if (framed) {
    canvas.Pen().Assign(static_cast<const TPen&>(frame_));
    w = frame_.Width();
  } else {
    canvas.Pen().SetStyle(psClear);
  }
  const int n = static_cast<int>(text_.size());
  if (onTop)
    bounds_.Bottom = y + n * h;
  else
    bounds_.Top = bottom - n * h;
  bounds_ = {bounds_.Left - w, bounds_.Top - w, bounds_.Right + w, bounds_.Bottom + w};

  const int gap = canvas.MeasureTextWidth("W");
  if (framed || canvas.Brush().Style() != bsClear) {
    if (adjust_frame_) AdjustBoxWidth(canvas, gap);
    canvas.DrawRectangle(bounds_);
  }
  canvas.SetBackgroundMode(TRANSPARENT);
  canvas.SetTextAlignment(TA_LEFT | TA_TOP);
  if (onTop) {
    for (const rtl::Text& line : text_) {
      WriteLine(canvas, layout, y, line, gap);
      y += h;
    }
    plot.Top = y + w + kTitleGap;
  } else {
    for (auto line = text_.rbegin(); line != text_.rend(); ++line) {
      bottom -= h;
      WriteLine(canvas, layout, bottom, *line, gap);
    }
    plot.Bottom = bottom - w - kTitleGap;
  }
}
