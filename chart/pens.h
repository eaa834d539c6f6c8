// Pens, brushes, fonts and 3D view settings of the chart engine: the framework's drawing
// objects (TPen, TBrush, TFont) that a canvas draws with, the chart's own pen and brush
// kinds with their defaults, the default chart font, and the 3D view settings of a panel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "chart/bitmap.h"
#include "chart/colors.h"
#include "rtl/text.h"

// Called after a property of a pen, brush, font or settings object changed to a new value.
// An empty receiver is allowed: the change then reaches no one.
using TChangeReceiver = std::function<void()>;

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// Raster operations of the framework pen, in the framework's order. Lines, rectangles and
// fills apply all sixteen; the shapes the chart does not use (ellipse, arc, pie, rounded
// box, polygon) know pmCopy, pmXor, pmNotXor and pmNot and draw the others as pmCopy.
enum TPenMode : std::uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

enum TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// A set of font styles; combine with |.
using TFontStyles = std::uint8_t;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

// The platform's default character set (its own macro where its header came first).
#ifndef DEFAULT_CHARSET
inline constexpr int DEFAULT_CHARSET = 1;
#endif

// The framework pen. Colour default clBlack, Mode pmCopy, Style psSolid, Width 1 (pixels).
// Each setter stores a different value and then notifies the change receiver.
class TPen {
 public:
  explicit TPen(TChangeReceiver on_change = {});
  TPen(const TPen&) = delete;
  TPen& operator=(const TPen&) = delete;
  virtual ~TPen() = default;

  TColor Color() const { return color_; }
  TPenMode Mode() const { return mode_; }
  TPenStyle Style() const { return style_; }
  int Width() const { return width_; }
  void SetColor(TColor color);
  void SetMode(TPenMode mode);
  void SetStyle(TPenStyle style);
  void SetWidth(int width);
  // Copies colour, width, style and mode; notifies once when anything differed.
  void Assign(const TPen& source);
  void SetOnChange(TChangeReceiver on_change) { on_change_ = std::move(on_change); }

  // The platform's alternate-pixel cosmetic pen (every other pixel set, width 1) in `color`,
  // selected as this pen's handle; the published properties keep their values. Any later
  // property assignment replaces it by an ordinary pen.
  void SelectAlternateCosmeticHandle(TColor color);
  bool HasAlternateCosmeticHandle() const { return alternate_; }
  // The colour the pen draws with: the alternate pen's while it is selected, else Color.
  TColor DrawingColor() const { return alternate_ ? alternate_color_ : color_; }

 protected:
  void Changed();

 private:
  TChangeReceiver on_change_;
  TColor color_ = clBlack;
  TPenMode mode_ = pmCopy;
  TPenStyle style_ = psSolid;
  int width_ = 1;
  bool alternate_ = false;
  TColor alternate_color_ = clBlack;
};

// A framework pen that can be hidden and can draw as alternate pixels.
class TChartPen : public TPen {
 public:
  explicit TChartPen(TChangeReceiver on_change = {});

  // False: whatever is drawn with this pen draws no line at all. Default True.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // True together with Width 1: drawn with the alternate-pixel cosmetic pen. Default False.
  bool SmallDots() const { return small_dots_; }
  void SetSmallDots(bool small_dots);
  // Copies Visible and SmallDots, then the framework pen's properties.
  void Assign(const TChartPen& source);

 private:
  bool visible_ = true;
  bool small_dots_ = false;
};

// Title frame, axis minor grid: Visible False.
class TChartHiddenPen : public TChartPen {
 public:
  explicit TChartHiddenPen(TChangeReceiver on_change = {});
};

// Axis grid: Color clGray, Style psDot.
class TDottedGrayPen : public TChartPen {
 public:
  explicit TDottedGrayPen(TChangeReceiver on_change = {});
};

// Axis ticks, minor ticks, inner ticks: Color clGray.
class TDarkGrayPen : public TChartPen {
 public:
  explicit TDarkGrayPen(TChangeReceiver on_change = {});
};

// Series mark arrows: Color clWhite.
class TChartArrowPen : public TChartPen {
 public:
  explicit TChartArrowPen(TChangeReceiver on_change = {});
};

// Axis line: Width 2.
class TChartAxisPen : public TChartPen {
 public:
  explicit TChartAxisPen(TChangeReceiver on_change = {});
};

// The framework brush: Color default clWhite, Style bsSolid, and a fill bitmap that is not
// a published property.
class TBrush {
 public:
  explicit TBrush(TChangeReceiver on_change = {});
  TBrush(const TBrush&) = delete;
  TBrush& operator=(const TBrush&) = delete;
  virtual ~TBrush() = default;

  TColor Color() const { return color_; }
  TBrushStyle Style() const { return style_; }
  void SetColor(TColor color);
  void SetStyle(TBrushStyle style);
  // The fill bitmap; none by default. Assigning one always notifies.
  const std::optional<TBitmap>& Bitmap() const { return bitmap_; }
  void SetBitmap(std::optional<TBitmap> bitmap);
  // Copies colour, style and bitmap; notifies once when anything differed.
  void Assign(const TBrush& source);
  void SetOnChange(TChangeReceiver on_change) { on_change_ = std::move(on_change); }

 protected:
  void Changed();
  TColor color_ = clWhite;

 private:
  TChangeReceiver on_change_;
  TBrushStyle style_ = bsSolid;
  std::optional<TBitmap> bitmap_;
};

// A chart brush: Color default clDefault (the user of the brush states the colour it means).
class TChartBrush : public TBrush {
 public:
  explicit TChartBrush(TChangeReceiver on_change = {});
  // A fill bitmap is assigned and is not empty.
  bool HasBitmap() const;
};

// The framework font. Size in points at PixelsPerInch (default 96); Height in pixels is
// -MulDiv(Size, PixelsPerInch, 72), the character (em) height negated, as the platform's
// logical font has it. Defaults: "MS Sans Serif", 8, clWindowText as black, no style.
class TFont {
 public:
  explicit TFont(TChangeReceiver on_change = {});
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const rtl::Text& Name() const { return name_; }
  int Size() const { return size_; }
  int Height() const;
  TColor Color() const { return color_; }
  TFontStyles Style() const { return style_; }
  int CharSet() const { return char_set_; }
  int PixelsPerInch() const { return pixels_per_inch_; }
  void SetName(const rtl::Text& name);
  void SetSize(int points);
  // Negative: character height in pixels; positive: cell height, taken here as the same.
  void SetHeight(int pixels);
  void SetColor(TColor color);
  void SetStyle(TFontStyles style);
  void SetCharSet(int char_set);
  // Does not notify: it only tells how Size and Height convert.
  void SetPixelsPerInch(int pixels_per_inch) { pixels_per_inch_ = pixels_per_inch; }
  // Copies name, size, colour, style and character set; keeps this font's PixelsPerInch.
  void Assign(const TFont& source);
  void SetOnChange(TChangeReceiver on_change) { on_change_ = std::move(on_change); }

 private:
  void Changed();

  TChangeReceiver on_change_;
  rtl::Text name_ = "MS Sans Serif";
  int size_ = 8;
  TColor color_ = clBlack;
  TFontStyles style_ = 0;
  int char_set_ = DEFAULT_CHARSET;
  int pixels_per_inch_ = 96;
};

// Name and size the chart's default font takes. The resource values are "Arial" and 8.
// Under a Japanese user interface the framework's default font name replaces "Arial", and
// a resource size of 8 becomes the framework's default font height in points
// (-height * 72 / vertical pixels per inch).
struct DefaultFontChoice {
  rtl::Text name;
  int size = 0;
};
DefaultFontChoice ChooseDefaultFont(const rtl::Text& resource_name, int resource_size, bool japanese_interface,
                                    const rtl::Text& framework_font_name, int framework_font_height,
                                    int pixels_per_inch);

// The window framework's user-interface language and default font, as the platform backend
// finds them: the name, the height in pixels (negative, a character height) and the screen's
// vertical pixels per inch.
struct TFrameworkFont {
  bool japanese_interface = false;
  rtl::Text name;
  int height = 0;
  int pixels_per_inch = 96;
};
// The platform backend tells it before it makes its first chart; until then (and on a
// platform that never tells) the interface counts as not Japanese.
void SetFrameworkFont(const TFrameworkFont& font);

// Makes `font` the chart's default font ("Arial", 8, clBlack, no style) and gives it the
// change receiver. Every font object of the chart engine is set up through it.
void InitChartFont(TFont& font, TChangeReceiver on_change);
// Size, name, colour (clBlack), style (none) and character set equal the chart's defaults;
// such a font is not written when the chart's settings are stored.
bool IsDefaultFont(const TFont& font);

// Base of the objects that own a chart font (titles, axis labels). Copying one copies the font.
class TChartFontObject {
 public:
  // `repaint` is the chart panel's invalidate; font changes call it.
  explicit TChartFontObject(TChangeReceiver repaint);
  virtual ~TChartFontObject() = default;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void Assign(const TChartFontObject& source) { font_.Assign(source.font_); }

 protected:
  void Repaint() const;

 private:
  TChangeReceiver repaint_;
  TFont font_;
};

// The 3D view settings of a chart panel. Only 3D drawing uses them; a 2D chart stores them.
class TView3DOptions {
 public:
  explicit TView3DOptions(TChangeReceiver repaint = {});

  int Elevation() const { return elevation_; }         // degrees, default 345
  int HorizOffset() const { return horiz_offset_; }    // pixels, default 0
  bool Orthogonal() const { return orthogonal_; }      // default True
  int Perspective() const { return perspective_; }     // default 15
  int Rotation() const { return rotation_; }           // degrees, default 345
  int Tilt() const { return tilt_; }                   // degrees, default 0
  int VertOffset() const { return vert_offset_; }      // pixels, default 0
  int Zoom() const { return zoom_; }                   // percent, default 100
  bool ZoomText() const { return zoom_text_; }         // default True

  void SetElevation(int degrees);
  void SetHorizOffset(int pixels);  // then the scrolled callback with True
  void SetOrthogonal(bool orthogonal);
  void SetPerspective(int perspective);
  void SetRotation(int degrees);
  void SetTilt(int degrees);
  void SetVertOffset(int pixels);  // then the scrolled callback with False
  void SetZoom(int percent);       // the zoom callback with the new value runs before it is stored
  void SetZoomText(bool zoom_text);
  // Copies all nine values and requests nothing.
  void Assign(const TView3DOptions& source);

  std::function<void(bool horizontal)> OnScrolled;
  std::function<void(int zoom)> OnZoom;

  // The panel's repaint request; also used when the canvas's monochrome setting changes.
  void RequestRepaint() const;

 private:
  template <class T>
  bool Store(T& field, T value);

  TChangeReceiver repaint_;
  int elevation_ = 345;
  int horiz_offset_ = 0;
  bool orthogonal_ = true;
  int perspective_ = 15;
  int rotation_ = 345;
  int tilt_ = 0;
  int vert_offset_ = 0;
  int zoom_ = 100;
  bool zoom_text_ = true;
};
