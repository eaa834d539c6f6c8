// The engine's bitmap.
#include "chart/bitmap.h"

#include <algorithm>
#include <utility>

TBitmap::TBitmap(int width, int height, TRgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), bytes_per_line_(std::ptrdiff_t(width_) * 4) {
  own_.assign(std::size_t(width_) * std::size_t(height_), fill);
  bits_ = own_.data();
}

TBitmap::TBitmap(TRgb* bits, int width, int height, std::ptrdiff_t bytes_per_line,
                 std::shared_ptr<TBitmapStorage> storage)
    : bits_(bits),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_per_line_(bytes_per_line),
      storage_(std::move(storage)) {}

TBitmap::TBitmap(const TBitmap& other) { CopyPixelsFrom(other); }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this != &other) CopyPixelsFrom(other);
  return *this;
}

// The vector's buffer moves with it, so the pixel pointer stays valid.
TBitmap::TBitmap(TBitmap&& other) noexcept
    : own_(std::move(other.own_)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      bytes_per_line_(std::exchange(other.bytes_per_line_, 0)),
      storage_(std::move(other.storage_)) {}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (this == &other) return *this;
  own_ = std::move(other.own_);
  bits_ = std::exchange(other.bits_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  bytes_per_line_ = std::exchange(other.bytes_per_line_, 0);
  storage_ = std::move(other.storage_);
  return *this;
}

void TBitmap::CopyPixelsFrom(const TBitmap& other) {
  *this = TBitmap(other.width_, other.height_);
  for (int y = 0; y < height_; ++y) std::copy_n(other.Row(y), width_, Row(y));
}

void TBitmap::Fill(TRgb rgb) {
  for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, rgb);
}

bool operator==(const TBitmap& a, const TBitmap& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  for (int y = 0; y < a.height_; ++y)
    if (!std::equal(a.Row(y), a.Row(y) + a.width_, b.Row(y))) return false;
  return true;
}
