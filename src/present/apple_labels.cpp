#include "present/apple_labels.h"

#include "present/caption_table.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

// Apple's built-in labels that differ by language; the rest (Other, Mobile,
// a user's own word) are shown as written.
constexpr CaptionRow kAppleLabelRows[] = {
    {L"HOMEPAGE", L"Home page", L"Домашняя страница"},
    {L"ANNIVERSARY", L"Anniversary", L"Годовщина"},
    {L"MOTHER", L"Mother", L"Мать"},
    {L"FATHER", L"Father", L"Отец"},
    {L"BROTHER", L"Brother", L"Брат"},
    {L"SISTER", L"Sister", L"Сестра"},
    {L"SPOUSE", L"Spouse", L"Супруг(а)"},
    {L"CHILD", L"Child", L"Ребёнок"},
    {L"FRIEND", L"Friend", L"Друг"},
    {L"MANAGER", L"Manager", L"Руководитель"},
};

const CaptionTable& AppleLabelTable() {
  static const CaptionTable table(kAppleLabelRows);
  return table;
}

// The text between `open` and `close` when the label is exactly that wrapping.
// The two markers cannot overlap, so a wrapped label is at least as long as both.
bool Unwrap(std::wstring_view label, std::wstring_view open, std::wstring_view close,
            std::wstring_view& inner) {
  if (label.size() < open.size() + close.size()) return false;
  if (!StartsWith(label, open) || label.substr(label.size() - close.size()) != close) return false;
  inner = label.substr(open.size(), label.size() - open.size() - close.size());
  return true;
}

}  // namespace

std::wstring_view UnwrapAppleLabel(std::wstring_view label) {
  std::wstring_view inner;
  if (Unwrap(label, L"_$!<", L">!$_", inner)) return inner;
  if (Unwrap(label, L"$!<", L">!$", inner)) return inner;
  return label;
}

std::wstring_view GroupPrefix(std::wstring_view rawPrefix) {
  const size_t dot = rawPrefix.find(L'.');
  return dot == std::wstring_view::npos ? std::wstring_view() : rawPrefix.substr(0, dot + 1);
}

GroupLabelMap BuildGroupLabelMap(const Card& card, bool russian) {
  GroupLabelMap labels;
  for (const CardProperty property : card.properties()) {
    if (property.name != L"X-ABLABEL") continue;
    const std::wstring_view group = GroupPrefix(property.rawPrefix);
    if (group.empty()) continue;  // a label of no group labels nothing
    const std::wstring_view label = UnwrapAppleLabel(property.value);
    const wchar_t* caption = AppleLabelTable().Find(AsciiUpper(label), russian);
    labels.insert_or_assign(std::wstring(group),
                            caption != nullptr ? std::wstring(caption) : std::wstring(label));
  }
  return labels;
}

}  // namespace kontaktel
