// Pens, brushes, fonts and 3D view settings of the chart engine.
#include "chart/pens.h"

#include "chart/property.h"
#include "chart/rounding.h"

TPen::TPen(TChangeReceiver on_change) : on_change_(std::move(on_change)) {}

void TPen::Changed() {
  if (on_change_) on_change_();
}

// Any assignment re-creates the platform pen, so an alternate handle does not survive it.
void TPen::SetColor(TColor color) {
  const bool had_alternate = std::exchange(alternate_, false);
  if (StoreIfDifferent(color_, color) || had_alternate) Changed();
}

void TPen::SetMode(TPenMode mode) {
  const bool had_alternate = std::exchange(alternate_, false);
  if (StoreIfDifferent(mode_, mode) || had_alternate) Changed();
}

void TPen::SetStyle(TPenStyle style) {
  const bool had_alternate = std::exchange(alternate_, false);
  if (StoreIfDifferent(style_, style) || had_alternate) Changed();
}

void TPen::SetWidth(int width) {
  const bool had_alternate = std::exchange(alternate_, false);
  if (StoreIfDifferent(width_, width) || had_alternate) Changed();
}

void TPen::Assign(const TPen& source) {
  alternate_color_ = source.alternate_color_;
  bool changed = std::exchange(alternate_, source.alternate_) != source.alternate_;
  changed |= StoreIfDifferent(color_, source.color_);
  changed |= StoreIfDifferent(width_, source.width_);
  changed |= StoreIfDifferent(style_, source.style_);
  changed |= StoreIfDifferent(mode_, source.mode_);
  if (changed) Changed();
}

void TPen::SelectAlternateCosmeticHandle(TColor color) {
  alternate_color_ = color;
  alternate_ = true;
  Changed();
}

TChartPen::TChartPen(TChangeReceiver on_change) : TPen(std::move(on_change)) {}

void TChartPen::SetVisible(bool visible) { StoreAndReport(visible_, visible, [this] { Changed(); }); }

void TChartPen::SetSmallDots(bool small_dots) { StoreAndReport(small_dots_, small_dots, [this] { Changed(); }); }

void TChartPen::Assign(const TChartPen& source) {
  SetVisible(source.visible_);
  SetSmallDots(source.small_dots_);
  TPen::Assign(source);
}

// The receiver is given after the defaults are set, so that creating a pen requests nothing.
TChartHiddenPen::TChartHiddenPen(TChangeReceiver on_change) : TChartPen() {
  SetVisible(false);
  SetOnChange(std::move(on_change));
}

TDottedGrayPen::TDottedGrayPen(TChangeReceiver on_change) : TChartPen() {
  SetColor(clGray);
  SetStyle(psDot);
  SetOnChange(std::move(on_change));
}

TDarkGrayPen::TDarkGrayPen(TChangeReceiver on_change) : TChartPen() {
  SetColor(clGray);
  SetOnChange(std::move(on_change));
}

TChartArrowPen::TChartArrowPen(TChangeReceiver on_change) : TChartPen() {
  SetColor(clWhite);
  SetOnChange(std::move(on_change));
}

TChartAxisPen::TChartAxisPen(TChangeReceiver on_change) : TChartPen() {
  SetWidth(2);
  SetOnChange(std::move(on_change));
}

TBrush::TBrush(TChangeReceiver on_change) : on_change_(std::move(on_change)) {}

void TBrush::Changed() {
  if (on_change_) on_change_();
}

void TBrush::SetColor(TColor color) { StoreAndReport(color_, color, [this] { Changed(); }); }

void TBrush::SetStyle(TBrushStyle style) { StoreAndReport(style_, style, [this] { Changed(); }); }

void TBrush::SetBitmap(std::optional<TBitmap> bitmap) {
  bitmap_ = std::move(bitmap);
  Changed();
}

void TBrush::Assign(const TBrush& source) {
  bool changed = StoreIfDifferent(color_, source.color_);
  changed |= StoreIfDifferent(style_, source.style_);
  if (bitmap_.has_value() || source.bitmap_.has_value()) {
    bitmap_ = source.bitmap_;
    changed = true;
  }
  if (changed) Changed();
}

TChartBrush::TChartBrush(TChangeReceiver on_change) : TBrush(std::move(on_change)) { color_ = clDefault; }

bool TChartBrush::HasBitmap() const { return Bitmap().has_value() && !Bitmap()->IsEmpty(); }

TFont::TFont(TChangeReceiver on_change) : on_change_(std::move(on_change)) {}

void TFont::Changed() {
  if (on_change_) on_change_();
}

int TFont::Height() const { return -gdi::MulDiv(size_, pixels_per_inch_, 72); }

void TFont::SetName(const rtl::Text& name) { StoreAndReport(name_, name, [this] { Changed(); }); }

void TFont::SetSize(int points) { StoreAndReport(size_, points, [this] { Changed(); }); }

void TFont::SetHeight(int pixels) { SetSize(gdi::MulDiv(pixels < 0 ? -pixels : pixels, 72, pixels_per_inch_)); }

void TFont::SetColor(TColor color) { StoreAndReport(color_, color, [this] { Changed(); }); }

void TFont::SetStyle(TFontStyles style) { StoreAndReport(style_, style, [this] { Changed(); }); }

void TFont::SetCharSet(int char_set) { StoreAndReport(char_set_, char_set, [this] { Changed(); }); }

void TFont::Assign(const TFont& source) {
  bool changed = StoreIfDifferent(name_, source.name_);
  changed |= StoreIfDifferent(size_, source.size_);
  changed |= StoreIfDifferent(color_, source.color_);
  changed |= StoreIfDifferent(style_, source.style_);
  changed |= StoreIfDifferent(char_set_, source.char_set_);
  if (changed) Changed();
}

namespace {

// The chart's string resources for its default font.
constexpr char kDefaultFontName[] = "Arial";
constexpr char kDefaultFontSize[] = "8";

TFrameworkFont& FrameworkFont() {
  static TFrameworkFont font;
  return font;
}

}  // namespace

void SetFrameworkFont(const TFrameworkFont& font) { FrameworkFont() = font; }

DefaultFontChoice ChooseDefaultFont(const rtl::Text& resource_name, int resource_size, bool japanese_interface,
                                    const rtl::Text& framework_font_name, int framework_font_height,
                                    int pixels_per_inch) {
  DefaultFontChoice choice{resource_name, resource_size};
  if (!japanese_interface) return choice;
  if (resource_name == "Arial") choice.name = framework_font_name;
  // Height -12 at 96 pixels per inch: 12 * 72 / 96 = 9 points.
  if (resource_size == 8 && pixels_per_inch > 0) choice.size = -framework_font_height * 72 / pixels_per_inch;
  return choice;
}

void InitChartFont(TFont& font, TChangeReceiver on_change) {
  const TFrameworkFont& framework = FrameworkFont();
  const DefaultFontChoice choice = ChooseDefaultFont(kDefaultFontName, std::stoi(kDefaultFontSize),
                                                     framework.japanese_interface, framework.name, framework.height,
                                                     framework.pixels_per_inch);
  font.SetOnChange({});
  font.SetName(choice.name);
  font.SetSize(choice.size);
  font.SetColor(clBlack);
  font.SetStyle(0);
  font.SetOnChange(std::move(on_change));
}

bool IsDefaultFont(const TFont& font) {
  return font.Size() == std::stoi(kDefaultFontSize) && font.Name() == kDefaultFontName && font.Color() == clBlack &&
         font.Style() == 0 && font.CharSet() == DEFAULT_CHARSET;
}

TChartFontObject::TChartFontObject(TChangeReceiver repaint) : repaint_(std::move(repaint)) {
  InitChartFont(font_, [this] { Repaint(); });
}

void TChartFontObject::Repaint() const {
  if (repaint_) repaint_();
}

TView3DOptions::TView3DOptions(TChangeReceiver repaint) : repaint_(std::move(repaint)) {}

void TView3DOptions::RequestRepaint() const {
  if (repaint_) repaint_();
}

template <class T>
bool TView3DOptions::Store(T& field, T value) {
  return StoreAndReport(field, value, [this] { RequestRepaint(); });
}

void TView3DOptions::SetElevation(int degrees) { Store(elevation_, degrees); }
void TView3DOptions::SetOrthogonal(bool orthogonal) { Store(orthogonal_, orthogonal); }
void TView3DOptions::SetPerspective(int perspective) { Store(perspective_, perspective); }
void TView3DOptions::SetRotation(int degrees) { Store(rotation_, degrees); }
void TView3DOptions::SetTilt(int degrees) { Store(tilt_, degrees); }
void TView3DOptions::SetZoomText(bool zoom_text) { Store(zoom_text_, zoom_text); }

void TView3DOptions::SetHorizOffset(int pixels) {
  if (Store(horiz_offset_, pixels) && OnScrolled) OnScrolled(true);
}

void TView3DOptions::SetVertOffset(int pixels) {
  if (Store(vert_offset_, pixels) && OnScrolled) OnScrolled(false);
}

void TView3DOptions::SetZoom(int percent) {
  if (zoom_ == percent) return;
  if (OnZoom) OnZoom(percent);
  Store(zoom_, percent);
}

void TView3DOptions::Assign(const TView3DOptions& source) {
  elevation_ = source.elevation_;
  horiz_offset_ = source.horiz_offset_;
  orthogonal_ = source.orthogonal_;
  perspective_ = source.perspective_;
  rotation_ = source.rotation_;
  tilt_ = source.tilt_;
  vert_offset_ = source.vert_offset_;
  zoom_ = source.zoom_;
  zoom_text_ = source.zoom_text_;
}
