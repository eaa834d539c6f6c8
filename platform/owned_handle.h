// One owner for what the system hands out and wants back: a file descriptor on Linux, a
// HANDLE on Windows. The owner closes it when it goes, moves but never copies, and can give
// it up (Release) or close it early to learn whether the close failed (Close), which is how a
// write that only fails at the close is caught. A destructor never reports a failed close.
#pragma once

#include <utility>

namespace platform {

template <typename Traits>
class Owned {
 public:
  using Value = typename Traits::Value;

  Owned() = default;
  explicit Owned(Value value) : value_(value) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : value_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Value Get() const { return value_; }
  bool IsOpen() const { return Traits::IsOpen(value_); }
  // Hands the value over; the owner holds nothing afterwards.
  Value Release() { return std::exchange(value_, Traits::kNone); }
  // Closes what is held (a failure goes unreported) and takes `value` instead.
  void Reset(Value value = Traits::kNone) {
    if (IsOpen()) Traits::Close(value_);
    value_ = value;
  }
  // Closes now; false when nothing was held, or when the close failed, with the system's
  // error (errno, GetLastError) set.
  bool Close() {
    const Value value = Release();
    return Traits::IsOpen(value) && Traits::Close(value);
  }

 private:
  Value value_ = Traits::kNone;
};

#ifdef _WIN32
// HANDLE is void*. Functions give out either a null handle or INVALID_HANDLE_VALUE for none;
// neither is ever owned.
struct HandleTraits {
  using Value = void*;
  static constexpr Value kNone = nullptr;
  static bool IsOpen(Value handle) { return handle != nullptr && handle != reinterpret_cast<Value>(-1); }
  static bool Close(Value handle);
};
using Handle = Owned<HandleTraits>;
#else
struct DescriptorTraits {
  using Value = int;
  static constexpr Value kNone = -1;
  static bool IsOpen(Value descriptor) { return descriptor >= 0; }
  static bool Close(Value descriptor);
};
using Descriptor = Owned<DescriptorTraits>;
#endif

}  // namespace platform
