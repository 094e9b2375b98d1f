// The photos one viewer fetched, by address, with their bytes: returning to a
// card shows its photo at once and asks the network nothing. Bounded in count
// and bytes; the least recently used goes first. Pure bookkeeping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

using PhotoBytes = std::shared_ptr<const std::vector<uint8_t>>;

class PhotoCache {
 public:
  static constexpr size_t kMaxPhotos = 32;
  static constexpr size_t kMaxBytes = 16 * 1024 * 1024;

  // The bytes fetched from the address, now the most recently used; null
  // when there are none.
  PhotoBytes Find(std::wstring_view url);
  // Keeps the bytes (empty ones, or more than the limit, are not kept).
  void Put(std::wstring url, PhotoBytes bytes);
  void Clear();

  size_t Count() const { return entries_.size(); }
  size_t ByteCount() const { return bytes_; }

 private:
  struct Entry {
    std::wstring url;
    PhotoBytes bytes;
  };
  std::list<Entry> entries_;  // the most recently used first
  size_t bytes_ = 0;
};

}  // namespace kontaktel
