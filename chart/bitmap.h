// The chart engine's own bitmap: the frame a chart is drawn into, a brush's fill pattern, a
// background image. Pixels are 32-bit 0xFFRRGGBB (red in bits 16..23, alpha always 0xFF),
// rows top to bottom, each row BytesPerLine() bytes from the one before: the memory layout
// of a 32-bit top-down device-independent bitmap and of a toolkit's RGB32 image, so that a
// platform can draw into or show the same memory without a copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "chart/geometry.h"

// A pixel, or a colour as it reaches the device: 0xFFRRGGBB.
using TRgb = std::uint32_t;

constexpr TRgb MakeRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return 0xFF000000u | (TRgb(red) << 16) | (TRgb(green) << 8) | TRgb(blue);
}
constexpr std::uint8_t RgbRed(TRgb rgb) { return (rgb >> 16) & 0xFF; }
constexpr std::uint8_t RgbGreen(TRgb rgb) { return (rgb >> 8) & 0xFF; }
constexpr std::uint8_t RgbBlue(TRgb rgb) { return rgb & 0xFF; }

inline constexpr TRgb kRgbWhite = 0xFFFFFFFF;
inline constexpr TRgb kRgbBlack = 0xFF000000;

// What keeps the pixels of a bitmap that a device made for itself (a platform bitmap it can
// select and draw into); the bitmap holds it for as long as it holds the pixels.
class TBitmapStorage {
 public:
  virtual ~TBitmapStorage() = default;
};

class TBitmap {
 public:
  // No pixels (0 x 0).
  TBitmap() = default;
  // Pixels of its own, all `fill`. A side below 0 counts as 0.
  TBitmap(int width, int height, TRgb fill = kRgbWhite);
  // Pixels someone else keeps: `storage` when given (a device's bitmap), else the caller,
  // who keeps `bits` valid and unmoved while this bitmap is used (a toolkit image around one
  // drawing call).
  TBitmap(TRgb* bits, int width, int height, std::ptrdiff_t bytes_per_line,
          std::shared_ptr<TBitmapStorage> storage = {});
  // A copy has pixels of its own, whoever kept the original's.
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&& other) noexcept;
  TBitmap& operator=(TBitmap&& other) noexcept;
  ~TBitmap() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }
  TRect Rect() const { return {0, 0, width_, height_}; }
  std::ptrdiff_t BytesPerLine() const { return bytes_per_line_; }
  // Row y, 0 <= y < Height(); no bounds check, for the rasteriser's loops.
  TRgb* Row(int y) { return reinterpret_cast<TRgb*>(reinterpret_cast<unsigned char*>(bits_) + y * bytes_per_line_); }
  const TRgb* Row(int y) const {
    return reinterpret_cast<const TRgb*>(reinterpret_cast<const unsigned char*>(bits_) + y * bytes_per_line_);
  }
  TRgb Pixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, TRgb rgb) { Row(y)[x] = rgb; }
  void Fill(TRgb rgb);
  // The device's storage behind the pixels, or null.
  TBitmapStorage* Storage() const { return storage_.get(); }

  // Same size and the same pixels.
  friend bool operator==(const TBitmap& a, const TBitmap& b);

 private:
  void CopyPixelsFrom(const TBitmap& other);

  std::vector<TRgb> own_;
  TRgb* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::ptrdiff_t bytes_per_line_ = 0;
  std::shared_ptr<TBitmapStorage> storage_;
};
