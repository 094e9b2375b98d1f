#include "text/text_util.h"

#include "text/platform.h"

namespace kontaktel {

bool IsSpaceChar(wchar_t c) {
  if (c < 0x100) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0;
  }
  return PlatformIsSpace(c);
}

std::wstring_view TrimSpace(std::wstring_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsSpaceChar(text[begin])) ++begin;
  while (end > begin && IsSpaceChar(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
  }
  return result;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EqualsAsciiUpper(std::wstring_view text, std::wstring_view upperLiteral) {
  if (text.size() != upperLiteral.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
    if (c != upperLiteral[i]) return false;
  }
  return true;
}

bool StartsWithAsciiUpper(std::wstring_view text, std::wstring_view upperLiteral) {
  return text.size() >= upperLiteral.size() &&
         EqualsAsciiUpper(text.substr(0, upperLiteral.size()), upperLiteral);
}

std::wstring_view StripQuotes(std::wstring_view text) {
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

std::vector<std::wstring_view> SplitFields(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == std::wstring_view::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

}  // namespace kontaktel
