#include "vcard/property_line.h"

#include "text/text_util.h"

namespace kontaktel {

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// A trimmed line that starts a property of its own: a name before a ":" that
// holds a letter and no blank, and no "=" up front (a line that begins with "="
// is always quoted-printable data).
bool LooksLikeProperty(std::wstring_view line) {
  if (line.empty() || line[0] == L'=') return false;
  const size_t colon = line.find(L':');
  if (colon == std::wstring_view::npos || colon == 0) return false;
  bool hasLetter = false;
  for (size_t i = 0; i < colon; ++i) {
    if (line[i] == L' ' || line[i] == L'\t') return false;
    hasLetter = hasLetter || IsAsciiLetter(line[i]);
  }
  return hasLetter;
}

void ReadParameter(PropertyLine& line, const std::wstring& param) {
  const std::wstring upper = AsciiUpper(param);
  const std::wstring_view u = upper;
  if (StartsWith(u, L"ENCODING=")) {
    const std::wstring_view encoding = StripQuotes(u.substr(9));
    if (encoding == L"QUOTED-PRINTABLE" || encoding == L"QP") line.quotedPrintable = true;
    if (encoding == L"BASE64" || encoding == L"B") line.base64 = true;
  } else if (u == L"QUOTED-PRINTABLE" || u == L"QP") {
    line.quotedPrintable = true;
  } else if (u == L"BASE64" || u == L"B") {
    line.base64 = true;
  } else if (StartsWith(u, L"CHARSET=")) {
    line.charset = StripQuotes(std::wstring_view(param).substr(8));
  } else if (StartsWith(u, L"VALUE=")) {
    if (StripQuotes(u.substr(6)) == L"URL") line.valueIsUrl = true;
  }
}

void RemoveTrailingEquals(std::wstring& value) {
  const size_t keep = value.find_last_not_of(L'=');
  value.erase(keep == std::wstring::npos ? 0 : keep + 1);
}

}  // namespace

std::optional<PropertyLine> ParsePropertyLine(std::wstring_view trimmedLine) {
  const size_t colon = trimmedLine.find(L':');
  if (colon == std::wstring_view::npos) return std::nullopt;
  PropertyLine line;
  line.rawPrefix = trimmedLine.substr(0, colon);
  line.value = trimmedLine.substr(colon + 1);
  const std::vector<std::wstring_view> segments = SplitFields(line.rawPrefix, L';');
  line.name = StripGroup(AsciiUpper(segments[0]));
  line.params.assign(segments.begin() + 1, segments.end());
  for (const std::wstring& param : line.params) ReadParameter(line, param);
  return line;
}

std::wstring StripGroup(std::wstring_view upperName) {
  const size_t firstDot = upperName.find(L'.');
  if (firstDot == std::wstring_view::npos) return std::wstring(upperName);
  if (StartsWith(upperName.substr(0, firstDot), L"ITEM")) {
    return std::wstring(upperName.substr(firstDot + 1));
  }
  return std::wstring(upperName.substr(upperName.rfind(L'.') + 1));
}

std::vector<std::wstring> CollectTypes(const std::vector<std::wstring>& params) {
  std::vector<std::wstring> types;
  for (const std::wstring& param : params) {
    const std::wstring upper = AsciiUpper(param);
    const std::wstring_view u = upper;
    if (StartsWith(u, L"TYPE=")) {
      for (const std::wstring_view segment : SplitFields(StripQuotes(u.substr(5)), L',')) {
        const std::wstring_view token = TrimSpace(segment);
        if (!token.empty()) types.emplace_back(token);
      }
    } else if (u == L"HOME" || u == L"WORK" || u == L"CELL" || u == L"VOICE" || u == L"FAX" ||
               u == L"PREF") {
      types.push_back(upper);
    }
  }
  return types;
}

void ContinueQuotedPrintable(const std::vector<std::wstring_view>& lines, size_t& index,
                             std::wstring& value) {
  while (index + 1 < lines.size()) {
    const bool softBreak = !value.empty() && value.back() == L'=';
    const std::wstring_view raw = lines[index + 1];
    const std::wstring_view next = TrimSpace(raw);
    if (next.empty()) {
      ++index;
      continue;
    }
    const bool property = LooksLikeProperty(next);
    if (softBreak) {
      value.pop_back();
      if (property) break;
    } else if (property || (next[0] != L'=' && raw.find(L':') != std::wstring_view::npos)) {
      break;
    }
    value.append(next);
    ++index;
  }
  RemoveTrailingEquals(value);
}

void ContinuePhoto(const std::vector<std::wstring_view>& lines, size_t& index, std::wstring& data) {
  while (index + 1 < lines.size()) {
    const std::wstring_view next = TrimSpace(lines[index + 1]);
    if (next.empty()) {
      if (!data.empty()) break;
      ++index;
      continue;
    }
    if (next.find(L':') != std::wstring_view::npos) break;
    data.append(next);
    ++index;
  }
}

}  // namespace kontaktel
