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

namespace {

// Builds the unfolded list one raw line at a time.
class Unfolder {
 public:
  explicit Unfolder(size_t expectedLines) { result_.lines.reserve(expectedLines); }

  void Add(std::wstring_view line) {
    if (line.empty()) return;
    const bool continues = line[0] == L' ' || line[0] == L'\t';
    if (!continues || result_.lines.empty()) {
      result_.lines.push_back(line);
      lastIsJoined_ = false;
      return;
    }
    if (!lastIsJoined_) {
      result_.joined.emplace_back(result_.lines.back());
      lastIsJoined_ = true;
    }
    std::wstring& joined = result_.joined.back();
    joined.append(line.substr(1));
    result_.lines.back() = joined;  // the append may have moved the text
  }

  LineList Take() { return std::move(result_); }

 private:
  LineList result_;
  // Whether the last output line already lives in `joined`, so that further
  // continuations append to it instead of copying it again.
  bool lastIsJoined_ = false;
};

}  // namespace

LineList UnfoldLines(const std::vector<std::wstring_view>& lines) {
  Unfolder unfolder(lines.size());
  for (const std::wstring_view line : lines) unfolder.Add(line);
  return unfolder.Take();
}

LineList UnfoldText(std::wstring_view text) {
  // Counting the runs of breaks first sizes the list once, at most one entry
  // too large.
  size_t breaks = 0;
  bool previousIsBreak = false;
  for (const wchar_t c : text) {
    const bool isBreak = IsBreak(c);
    breaks += isBreak && !previousIsBreak;
    previousIsBreak = isBreak;
  }
  Unfolder unfolder(breaks + 1);
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    while (i < text.size() && !IsBreak(text[i])) ++i;
    unfolder.Add(text.substr(start, i - start));
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  return unfolder.Take();
}

}  // namespace kontaktel
