#include "vcard/line_split.h"

namespace kontaktel {

namespace {

bool IsBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

}  // namespace

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  if (text.empty()) return lines;
  size_t i = 0;
  if (IsBreak(text[0])) {
    lines.emplace_back();
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  while (i < text.size()) {
    const size_t start = i;
    while (i < text.size() && !IsBreak(text[i])) ++i;
    lines.push_back(text.substr(start, i - start));
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  return lines;
}

LineList UnfoldLines(const std::vector<std::wstring_view>& lines) {
  LineList result;
  result.lines.reserve(lines.size());
  // Whether the last output line already lives in `joined`, so that further
  // continuations append to it instead of copying it again.
  bool lastIsJoined = false;
  for (const std::wstring_view line : lines) {
    if (line.empty()) continue;
    const bool continues = line[0] == L' ' || line[0] == L'\t';
    if (!continues || result.lines.empty()) {
      result.lines.push_back(line);
      lastIsJoined = false;
      continue;
    }
    if (!lastIsJoined) {
      result.joined.emplace_back(result.lines.back());
      lastIsJoined = true;
    }
    std::wstring& joined = result.joined.back();
    joined.append(line.substr(1));
    result.lines.back() = joined;
  }
  return result;
}

}  // namespace kontaktel
