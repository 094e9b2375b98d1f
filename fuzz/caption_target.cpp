// Captions from raw prefixes, and the text tests of the details pane, on any
// one line: the input up to its first line break, split at its first ":" as
// the parser splits a property line.
#include <algorithm>
#include <string>
#include <string_view>

#include "fuzz_targets.h"
#include "present/apple_labels.h"
#include "present/caption.h"
#include "present/email.h"
#include "present/image_data.h"
#include "text/utf8.h"

namespace kontaktel::fuzz {

int FuzzCaption(const uint8_t* data, size_t size) {
  std::wstring text;
  Utf8ToWide(reinterpret_cast<const char*>(data), size, false, text);
  text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
  const size_t colon = text.find(L':');
  const std::wstring_view prefix = std::wstring_view(text).substr(0, colon);
  const std::wstring_view value =
      colon == std::wstring::npos ? std::wstring_view() : std::wstring_view(text).substr(colon + 1);
  for (const bool russian : {false, true}) {
    const std::wstring caption = FormatPropertyCaption(prefix, russian);
    if (caption.find(L'\r') != std::wstring::npos || caption.find(L'\n') != std::wstring::npos) {
      Fail("caption with a line break");
    }
  }
  const std::wstring_view label = UnwrapAppleLabel(value);
  if (label.size() > value.size()) Fail("unwrapped label longer than the label");
  const std::wstring_view group = GroupPrefix(prefix);
  if (group.size() > prefix.size()) Fail("group longer than the prefix");
  LooksLikeImageData(value);
  const std::wstring email = ExtractEmailAddress(value);
  if (!email.empty() && email.find(L'@') == std::wstring::npos) Fail("address without @");
  return 0;
}

}  // namespace kontaktel::fuzz
