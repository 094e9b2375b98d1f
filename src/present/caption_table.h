// A fixed bilingual table: upper-case key to an English and a Russian caption.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace kontaktel {

struct CaptionRow {
  const wchar_t* key;
  const wchar_t* english;
  const wchar_t* russian;
};

// Built once from constant rows; read-only afterwards. Keys are compared
// ordinally, so callers upper-case what they look up.
class CaptionTable {
 public:
  template <size_t N>
  explicit CaptionTable(const CaptionRow (&rows)[N]) {
    for (const CaptionRow& row : rows) rows_.emplace(row.key, row);
  }

  // The caption in the chosen language, or nullptr when the key has no row.
  const wchar_t* Find(std::wstring_view key, bool russian) const {
    const auto found = rows_.find(key);
    if (found == rows_.end()) return nullptr;
    return russian ? found->second.russian : found->second.english;
  }

 private:
  std::map<std::wstring, CaptionRow, std::less<>> rows_;
};

}  // namespace kontaktel
