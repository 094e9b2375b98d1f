// The one owner every Windows handle of the plugin is held in: move-only, it
// frees its handle with the call its traits name, so that code reads top to
// bottom without clean-up. Traits give Free(handle) and Acquired(handle).
#pragma once

#include <cstddef>
#include <utility>

namespace kontaktel {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { Traits::Acquired(handle_); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Handle{}), false);
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  friend bool operator==(const UniqueHandle& owner, std::nullptr_t) { return !owner; }
  void Reset(Handle handle = Handle{}) { Reset(handle, true); }
  // Hands the handle over to whoever frees it now.
  Handle Release() { return std::exchange(handle_, Handle{}); }

 private:
  void Reset(Handle handle, bool acquired) {
    if (handle_ != Handle{}) Traits::Free(handle_);
    handle_ = handle;
    if (acquired) Traits::Acquired(handle_);
  }
  Handle handle_{};
};

// A base for the traits of handles that are freed but not counted.
struct Uncounted {
  template <typename Handle>
  static void Acquired(Handle) {}
};

}  // namespace kontaktel
