#include "photo/photo_cache.h"

#include <algorithm>
#include <utility>

namespace kontaktel {

PhotoBytes PhotoCache::Find(std::wstring_view url) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [url](const Entry& entry) { return entry.url == url; });
  if (found == entries_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found);
  return found->bytes;
}

void PhotoCache::Put(std::wstring url, PhotoBytes bytes) {
  if (!bytes || bytes->empty() || bytes->size() > kMaxBytes) return;
  const auto same = std::find_if(entries_.begin(), entries_.end(),
                                 [&url](const Entry& entry) { return entry.url == url; });
  if (same != entries_.end()) {
    bytes_ -= same->bytes->size();
    entries_.erase(same);
  }
  bytes_ += bytes->size();
  entries_.push_front(Entry{std::move(url), std::move(bytes)});
  while (entries_.size() > kMaxPhotos || bytes_ > kMaxBytes) {
    bytes_ -= entries_.back().bytes->size();
    entries_.pop_back();
  }
}

void PhotoCache::Clear() {
  entries_.clear();
  bytes_ = 0;
}

}  // namespace kontaktel
