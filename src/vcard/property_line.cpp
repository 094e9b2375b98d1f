#include "vcard/property_line.h"

#include "text/text_util.h"

namespace kontaktel {

using namespace std::string_view_literals;

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

namespace detail {

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

bool IsBareType(std::wstring_view param) {
  return EqualsAsciiUpper(param, L"HOME"sv) || EqualsAsciiUpper(param, L"WORK"sv) ||
         EqualsAsciiUpper(param, L"CELL"sv) || EqualsAsciiUpper(param, L"VOICE"sv) ||
         EqualsAsciiUpper(param, L"FAX"sv) || EqualsAsciiUpper(param, L"PREF"sv);
}

void RemoveTrailingEquals(std::wstring& value) {
  const size_t keep = value.find_last_not_of(L'=');
  value.erase(keep == std::wstring::npos ? 0 : keep + 1);
}

}  // namespace detail

namespace {

void ReadParameter(PropertyLine& line, std::wstring_view param) {
  if (StartsWithAsciiUpper(param, L"ENCODING="sv)) {
    const std::wstring_view encoding = StripQuotes(param.substr(9));
    if (EqualsAsciiUpper(encoding, L"QUOTED-PRINTABLE"sv) || EqualsAsciiUpper(encoding, L"QP"sv)) line.quotedPrintable = true;
    if (EqualsAsciiUpper(encoding, L"BASE64"sv) || EqualsAsciiUpper(encoding, L"B"sv)) line.base64 = true;
  } else if (EqualsAsciiUpper(param, L"QUOTED-PRINTABLE"sv) || EqualsAsciiUpper(param, L"QP"sv)) {
    line.quotedPrintable = true;
  } else if (EqualsAsciiUpper(param, L"BASE64"sv) || EqualsAsciiUpper(param, L"B"sv)) {
    line.base64 = true;
  } else if (StartsWithAsciiUpper(param, L"CHARSET="sv)) {
    line.charset = StripQuotes(param.substr(8));
  } else if (StartsWithAsciiUpper(param, L"VALUE="sv)) {
    if (EqualsAsciiUpper(StripQuotes(param.substr(6)), L"URL"sv)) line.valueIsUrl = true;
  }
}

// StripGroup(AsciiUpper(segment)) into a reused buffer: the dots and the ITEM
// test read the same before and after upper-casing.
void AssignName(std::wstring_view segment, std::wstring& name, std::wstring_view& rawName) {
  const size_t firstDot = segment.find(L'.');
  if (firstDot != std::wstring_view::npos) {
    const bool item = StartsWithAsciiUpper(segment.substr(0, firstDot), L"ITEM"sv);
    segment = segment.substr((item ? firstDot : segment.rfind(L'.')) + 1);
  }
  rawName = segment;
  name.assign(segment);
  for (wchar_t& c : name) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
  }
}

}  // namespace

bool ParsePropertyLine(std::wstring_view trimmedLine, PropertyLine& line) {
  const size_t colon = trimmedLine.find(L':');
  if (colon == std::wstring_view::npos) return false;
  line.rawPrefix = trimmedLine.substr(0, colon);
  line.value = trimmedLine.substr(colon + 1);
  line.quotedPrintable = line.base64 = line.valueIsUrl = false;
  line.charset = {};
  line.params.clear();
  // The first ";"-segment is the name; the others, empty ones included, are parameters.
  size_t end = line.rawPrefix.find(L';');
  AssignName(line.rawPrefix.substr(0, end), line.name, line.rawName);
  while (end != std::wstring_view::npos) {
    const size_t start = end + 1;
    end = line.rawPrefix.find(L';', start);
    const std::wstring_view param =
        line.rawPrefix.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    line.params.push_back(param);
    ReadParameter(line, param);
  }
  return true;
}

std::optional<PropertyLine> ParsePropertyLine(std::wstring_view trimmedLine) {
  PropertyLine line;
  if (!ParsePropertyLine(trimmedLine, line)) return std::nullopt;
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

std::vector<std::wstring> CollectTypes(const std::vector<std::wstring_view>& params) {
  std::vector<std::wstring> types;
  ForEachTypeToken(params, [&](std::wstring_view token) { types.push_back(AsciiUpper(token)); });
  return types;
}

namespace {

// The rules over a list: Peek and Advance move an index.
class ListLines {
 public:
  ListLines(const std::vector<std::wstring_view>& lines, size_t& index)
      : lines_(lines), index_(index) {}
  bool Peek(std::wstring_view& next) const {
    if (index_ + 1 >= lines_.size()) return false;
    next = lines_[index_ + 1];
    return true;
  }
  void Advance() { ++index_; }

 private:
  const std::vector<std::wstring_view>& lines_;
  size_t& index_;
};

}  // namespace

void ContinueQuotedPrintable(const std::vector<std::wstring_view>& lines, size_t& index,
                             std::wstring& value) {
  ListLines list(lines, index);
  ContinueQuotedPrintable(list, value);
}

void ContinuePhoto(const std::vector<std::wstring_view>& lines, size_t& index, std::wstring& data) {
  ListLines list(lines, index);
  ContinuePhoto(list, data);
}

}  // namespace kontaktel
