// Taking one logical vCard line apart, and the two rules by which a property
// takes in the lines after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_util.h"

namespace kontaktel {

// The parts of one line. The views point into the line that was parsed (and
// `value`, after a continuation rule, into the text it was extended into).
struct PropertyLine {
  std::wstring_view rawPrefix;            // text before the first ":", as written
  std::wstring name;                      // first segment, upper case, group removed
  std::wstring_view rawName;              // the same as written, group removed
  std::vector<std::wstring_view> params;  // the other segments, as written
  std::wstring_view value;                // text after the first ":", still encoded
  bool quotedPrintable = false;
  bool base64 = false;
  std::wstring_view charset;              // last CHARSET parameter, quotes removed
  bool valueIsUrl = false;
};

// `trimmedLine` is a non-empty line already passed through TrimSpace. Nothing
// when the line holds no ":". The first ":" divides, even inside quotes.
std::optional<PropertyLine> ParsePropertyLine(std::wstring_view trimmedLine);
template <TemporaryWstring T>
std::optional<PropertyLine> ParsePropertyLine(T&& trimmedLine) = delete;  // would dangle

// As above, into `line`, whose buffers are reused from line to line. False
// when the line holds no ":".
bool ParsePropertyLine(std::wstring_view trimmedLine, PropertyLine& line);

// The name without its group: item1.TEL gives TEL, ITEM2.X.TEL gives X.TEL
// (Apple's item groups are cut at the first dot), A.B.TEL gives TEL.
std::wstring StripGroup(std::wstring_view upperName);

// Calls `visit` with each type token of a TEL or EMAIL line as written, in
// order: the entries of TYPE= lists and the bare vCard 2.1 types HOME, WORK,
// CELL, VOICE, FAX and PREF.
template <typename Visit>
void ForEachTypeToken(const std::vector<std::wstring_view>& params, Visit&& visit);

// The same tokens in upper case.
std::vector<std::wstring> CollectTypes(const std::vector<std::wstring_view>& params);

namespace detail {
bool LooksLikeProperty(std::wstring_view line);
bool IsBareType(std::wstring_view param);
void RemoveTrailingEquals(std::wstring& value);
}  // namespace detail

// Both rules read the lines after the current one through `lines`, which has
// `bool Peek(std::wstring_view&)` (the next line, false at the end) and
// `void Advance()` (take that line in). They append what they take in to
// `value` (or `data`).
template <typename Lines>
void ContinueQuotedPrintable(Lines& lines, std::wstring& value) {
  std::wstring_view raw;
  while (lines.Peek(raw)) {
    const bool softBreak = !value.empty() && value.back() == L'=';
    const std::wstring_view next = TrimSpace(raw);
    if (next.empty()) {
      lines.Advance();
      continue;
    }
    const bool property = detail::LooksLikeProperty(next);
    if (softBreak) {
      value.pop_back();
      if (property) break;
    } else if (property || (next[0] != L'=' && raw.find(L':') != std::wstring_view::npos)) {
      break;
    }
    value.append(next);
    lines.Advance();
  }
  detail::RemoveTrailingEquals(value);
}

template <typename Lines>
void ContinuePhoto(Lines& lines, std::wstring& data) {
  std::wstring_view raw;
  while (lines.Peek(raw)) {
    const std::wstring_view next = TrimSpace(raw);
    if (next.empty()) {
      if (!data.empty()) break;
      lines.Advance();
      continue;
    }
    if (next.find(L':') != std::wstring_view::npos) break;
    data.append(next);
    lines.Advance();
  }
}

// The rules over a list of lines: they read lines[index + 1] onwards and leave
// `index` at the last line they consumed, so the caller's next line is
// lines[index + 1].
void ContinueQuotedPrintable(const std::vector<std::wstring_view>& lines, size_t& index,
                             std::wstring& value);
void ContinuePhoto(const std::vector<std::wstring_view>& lines, size_t& index, std::wstring& data);

template <typename Visit>
void ForEachTypeToken(const std::vector<std::wstring_view>& params, Visit&& visit) {
  for (const std::wstring_view param : params) {
    if (StartsWithAsciiUpper(param, L"TYPE=")) {
      const std::wstring_view list = StripQuotes(param.substr(5));
      size_t start = 0;
      for (;;) {
        const size_t comma = list.find(L',', start);
        const std::wstring_view token = TrimSpace(list.substr(
            start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start));
        if (!token.empty()) visit(token);
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
      }
    } else if (detail::IsBareType(param)) {
      visit(param);
    }
  }
}

}  // namespace kontaktel
