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

// Upper-case type tokens of TEL and EMAIL lines: TYPE= lists and the bare
// vCard 2.1 types HOME, WORK, CELL, VOICE, FAX and PREF, in order.
std::vector<std::wstring> CollectTypes(const std::vector<std::wstring_view>& params);

// Both rules read lines[index + 1] onwards. They append what they take in to
// `value` (or `data`) and leave `index` at the last line they consumed, so the
// caller's next line is lines[index + 1].
void ContinueQuotedPrintable(const std::vector<std::wstring_view>& lines, size_t& index,
                             std::wstring& value);
void ContinuePhoto(const std::vector<std::wstring_view>& lines, size_t& index, std::wstring& data);

}  // namespace kontaktel
