#include "present/caption.h"

#include <algorithm>
#include <array>
#include <vector>

#include "present/labels.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

// TYPE=HOME,WORK and TYPE="HOME,WORK" alike. A comma at the end adds nothing;
// an empty place between commas stays, so odd lists show as they are.
void AddTypeList(std::wstring_view value, std::vector<std::wstring_view>& tokens) {
  std::vector<std::wstring_view> parts = SplitFields(StripQuotes(value), L',');
  if (parts.back().empty()) parts.pop_back();
  for (const std::wstring_view part : parts) tokens.push_back(TrimSpace(part));
}

// vCard 2.1 also writes bare how a value is written (TEL;QUOTED-PRINTABLE;WORK):
// that is no type of the value.
bool IsBareEncodingOrValue(std::wstring_view token) {
  static constexpr std::array<std::wstring_view, 10> kTokens{
      L"QUOTED-PRINTABLE", L"QP", L"BASE64", L"B", L"8BIT", L"7BIT",
      L"INLINE", L"URL", L"CID", L"CONTENT-ID"};
  token = TrimSpace(token);
  return std::any_of(kTokens.begin(), kTokens.end(),
                     [&](std::wstring_view name) { return EqualsAsciiUpper(token, name); });
}

void AddParameter(std::wstring_view segment, std::vector<std::wstring_view>& tokens) {
  if (segment.empty()) return;
  const size_t equals = segment.find(L'=');
  if (equals == std::wstring_view::npos) {
    // vCard 2.1 writes its types bare: TEL;HOME;VOICE.
    const std::wstring_view token = StripQuotes(segment);
    if (!IsBareEncodingOrValue(token)) tokens.push_back(token);
    return;
  }
  const std::wstring key = AsciiUpper(TrimSpace(segment.substr(0, equals)));
  const std::wstring_view value = TrimSpace(segment.substr(equals + 1));
  if (key == L"TYPE") {
    AddTypeList(value, tokens);
  } else if (key == L"X-SERVICE-TYPE") {
    tokens.push_back(value);  // Apple's IM service name, such as Skype
  }
}

}  // namespace

std::wstring FormatPropertyCaption(std::wstring_view rawPrefix, bool russian) {
  if (rawPrefix.empty()) return {};
  const std::vector<std::wstring_view> segments = SplitFields(rawPrefix, L';');
  std::vector<std::wstring_view> tokens;
  for (size_t i = 1; i < segments.size(); ++i) AddParameter(segments[i], tokens);

  std::wstring caption = FieldLabel(TrimSpace(segments[0]), russian);
  if (tokens.empty()) return caption;
  caption += L" (";
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) caption += L", ";
    caption += TypeLabel(tokens[i], russian);
  }
  caption += L')';
  return caption;
}

}  // namespace kontaktel
