// The canvas set-up that the paint stages share.
#include "chart/frame_context.h"

#include "chart/canvas.h"

void TFrameContext::SelectFont(TFont& font) const {
  font.SetPixelsPerInch(canvas.Font().PixelsPerInch());
  canvas.Font().Assign(font);
}

void TFrameContext::SelectFillBrush(TColor color, TBrushStyle style, TColor back_color) const {
  if (style != bsSolid && color == back_color) color = back_color == clBlack ? clWhite : clBlack;
  canvas.Brush().SetColor(color);
  canvas.Brush().SetStyle(style);
  if (style == bsSolid) {
    canvas.SetBackgroundMode(TRANSPARENT);
  } else {
    canvas.SetBackgroundMode(OPAQUE);
    canvas.SetBackgroundColor(back_color);
  }
}

void TFrameContext::AdjustPenForPrinting(TPen& pen) const {
  if (printing && pen.Style() != psSolid && pen.Width() == 1) pen.SetWidth(0);
}
