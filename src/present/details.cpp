#include "present/details.h"

#include "present/apple_labels.h"
#include "present/caption.h"
#include "present/image_data.h"
#include "present/readings.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

constexpr std::wstring_view kAndroidItemPrefix = L"vnd.android.cursor.item/";
constexpr std::wstring_view kBlockOpen = L"\x2500\x2500 ";
constexpr std::wstring_view kBlockClose = L" \x2500\x2500\r\n";

bool IsShown(const CardProperty& property) {
  return property.visible && property.name != L"X-ABLABEL";
}

// The value as the line shows it, or false when the property is passed over.
bool ShownValue(const Card& card, const CardProperty& property, bool russian, std::wstring& value) {
  if (property.value.empty() && !property.freeText) return false;
  if (LooksLikeImageData(property.value)) return false;
  // A structured name that reads as the formatted name is not repeated.
  if (property.name == L"N" && !card.fullName().empty() && property.value == card.fullName()) {
    return false;
  }
  std::wstring_view text = property.value;
  std::wstring reading;
  if (property.name == L"GENDER" || property.name == L"X-GENDER") {
    reading = GenderReading(text, russian);
    text = reading;
  } else if (property.name == L"KIND") {
    reading = KindReading(text, russian);
    text = reading;
  }
  // Android names the kind of its custom rows by a content type; its last
  // part (nickname, relation) is what a reader wants.
  if (property.name == L"X-ANDROID-CUSTOM" && StartsWith(text, kAndroidItemPrefix)) {
    text.remove_prefix(kAndroidItemPrefix.size());
  }
  value = NormalizeLineBreaks(text);
  return true;
}

std::wstring Caption(const CardProperty& property, const GroupLabelMap& groupLabels, bool russian) {
  // X-FCENCODED- names are encoded names of custom and related fields; they say
  // nothing readable, so even a group label gives way to a fixed caption.
  if (StartsWith(property.name, L"X-FCENCODED-")) {
    return russian ? L"Связанное / Пользовательское" : L"Related / Custom";
  }
  const std::wstring_view group = GroupPrefix(property.rawPrefix);
  if (!group.empty()) {
    if (const auto found = groupLabels.find(group); found != groupLabels.end()) {
      return found->second;
    }
  }
  return FormatPropertyCaption(property.rawPrefix, russian);
}

void AppendFieldLine(std::wstring& out, std::wstring_view caption, std::wstring_view value) {
  out += caption;
  out += L'\t';
  out += value;
  out += L"\r\n";
}

void AppendBlock(std::wstring& out, std::wstring_view caption, std::wstring_view value) {
  if (!out.empty()) out += L"\r\n";
  out += kBlockOpen;
  out += caption;
  out += kBlockClose;
  out += value;
  if (value.empty() || value.back() != L'\n') out += L"\r\n";
  out += L"\r\n";
}

// Room for every value and a caption each, so that the text grows in one step.
size_t EstimatedLength(const Card& card) {
  size_t length = card.photoUrl().size() + 16;
  for (const CardProperty property : card.properties()) length += property.value.size() + 24;
  return length;
}

}  // namespace

std::wstring NormalizeLineBreaks(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"\r\n";
    } else if (c == L'\n') {
      out += L"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring RenderCardDetails(const Card& card, bool russian) {
  const GroupLabelMap groupLabels = BuildGroupLabelMap(card, russian);
  std::wstring out;
  out.reserve(EstimatedLength(card));
  std::wstring value;
  for (const CardProperty property : card.properties()) {
    if (!IsShown(property) || !ShownValue(card, property, russian, value)) continue;
    const std::wstring caption = Caption(property, groupLabels, russian);
    if (property.freeText || property.name == L"NOTE") {
      AppendBlock(out, caption, value);
    } else {
      AppendFieldLine(out, caption, value);
    }
  }
  if (!card.photoUrl().empty() && !card.hasPhotoData()) {
    AppendFieldLine(out, russian ? L"Фото" : L"Photo", card.photoUrl());
  }
  return out;
}

}  // namespace kontaktel
