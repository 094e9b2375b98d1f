#include "present/thumbnail_face.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text/platform.h"
#include "text/text_util.h"

namespace kontaktel {

namespace {

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// Upper case for the scripts names are written in most often; other letters
// stay as they are (initials of such names are mostly caseless anyway).
wchar_t UpperLetter(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);  // Latin-1
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);             // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 0x20);  // Greek
  return c;
}

// The first letter or digit of `word` (a surrogate pair counts as one
// character: an emoji name gets its emoji), upper-cased; empty when none.
std::wstring FirstLetter(std::wstring_view word) {
  for (size_t i = 0; i < word.size(); ++i) {
    const wchar_t c = word[i];
    if (IsHighSurrogate(c) && i + 1 < word.size()) return std::wstring(word.substr(i, 2));
    if (PlatformIsAlnum(c)) return std::wstring(1, UpperLetter(c));
  }
  return {};
}

bool IsWordBreak(wchar_t c) {
  return c == L' ' || c == L'\t' || c == 0xA0 || c == L',' || c == L'_' || c == 0x3000;
}

}  // namespace

std::wstring ThumbnailInitials(std::wstring_view displayName, std::wstring_view givenName,
                               std::wstring_view familyName) {
  std::wstring given = FirstLetter(TrimSpace(givenName));
  std::wstring family = FirstLetter(TrimSpace(familyName));
  if (!given.empty() && !family.empty()) return given + family;
  // The words of the display name that hold a letter or digit, titles and
  // abbreviations ("Dr.", "Q.") only when nothing else does: "Dr. Maria
  // Rossi" gives M and R, "(Work)" alone gives W.
  struct Letters {
    std::wstring first, last;
    void Add(std::wstring letter) { (first.empty() ? first : last) = std::move(letter); }
  } words, abbreviations;
  size_t i = 0;
  while (i < displayName.size()) {
    while (i < displayName.size() && IsWordBreak(displayName[i])) ++i;
    size_t end = i;
    while (end < displayName.size() && !IsWordBreak(displayName[end])) ++end;
    std::wstring letter = FirstLetter(displayName.substr(i, end - i));
    const bool abbreviated = end > i && displayName[end - 1] == L'.';
    if (!letter.empty()) (abbreviated ? abbreviations : words).Add(std::move(letter));
    i = end;
  }
  const Letters& chosen = words.first.empty() ? abbreviations : words;
  if (chosen.first.empty()) return L"?";
  return chosen.first + chosen.last;
}

uint32_t ThumbnailTileColour(std::wstring_view name) {
  // Mid-dark tones of a colour wheel, each with white text above 4.5 : 1.
  static constexpr std::array<uint32_t, 12> kTiles = {
      0xC0392B, 0xB9470A, 0x8E6C00, 0x2E7D32, 0x00796B, 0x00838F,
      0x1565C0, 0x3949AB, 0x6A3FB5, 0x8E24AA, 0xAD1457, 0x5D6D7E};
  uint32_t hash = 2166136261u;  // FNV-1a over the UTF-16 units
  for (const wchar_t c : name) {
    hash = (hash ^ static_cast<uint16_t>(c)) * 16777619u;
  }
  return kTiles[hash % kTiles.size()];
}

std::wstring MoreCardsText(size_t cardCount, bool fileGoesOn) {
  if (cardCount == 0) return {};
  if (cardCount == 1) return fileGoesOn ? L"+" : L"";
  return L"+" + std::to_wstring(cardCount - 1) + (fileGoesOn ? L"+" : L"");
}

ThumbnailLayout LayoutThumbnail(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight,
                                size_t badgeLength) {
  ThumbnailLayout layout;
  if (boxWidth < 8 || boxHeight < 8) return layout;
  const int side = std::min(boxWidth, boxHeight);
  int captionHeight = 0;
  if (side >= kThumbnailCaptionMinSide) {
    layout.captionFont = std::clamp(side / 14, 11, 24);
    captionHeight = layout.captionFont * 3 / 2 + 2;
  }
  const int areaWidth = boxWidth;
  const int areaHeight = boxHeight - captionHeight;
  int width = std::min(areaWidth, areaHeight);
  int height = width;
  if (pictureWidth > 0 && pictureHeight > 0) {
    const double scale = std::min(static_cast<double>(areaWidth) / pictureWidth,
                                  static_cast<double>(areaHeight) / pictureHeight);
    width = std::clamp(static_cast<int>(std::lround(pictureWidth * scale)), 1, areaWidth);
    height = std::clamp(static_cast<int>(std::lround(pictureHeight * scale)), 1, areaHeight);
  }
  layout.width = width;
  layout.height = height + captionHeight;
  layout.picture = {0, 0, width, height};
  if (captionHeight != 0) layout.caption = {0, height, width, captionHeight};
  const int pictureSide = std::min(width, height);
  layout.initialsFont = pictureSide * 2 / 5;
  if (badgeLength != 0) {
    layout.badgeFont = std::clamp(pictureSide / 8, 8, 22);
    const int badgeHeight = layout.badgeFont * 3 / 2;
    // Digits and the plus sign are about 0.6 of the font's height wide.
    const int badgeWidth = std::min(
        width, static_cast<int>(badgeLength) * layout.badgeFont * 3 / 5 + layout.badgeFont);
    const int margin = std::max(1, pictureSide / 24);
    layout.badge = {std::max(0, width - margin - badgeWidth),
                    std::max(0, height - margin - badgeHeight), badgeWidth,
                    std::min(badgeHeight, height)};
  }
  return layout;
}

size_t WholeCardsLength(std::wstring_view text) {
  static constexpr std::wstring_view kEnd = L"END:VCARD";
  size_t lineEnd = text.size();
  // From the back: the last line that reads END:VCARD, whatever its case and
  // surrounding blanks.
  while (lineEnd > 0) {
    const size_t lineStart = text.find_last_of(L"\r\n", lineEnd - 1);
    const size_t from = lineStart == std::wstring_view::npos ? 0 : lineStart + 1;
    const std::wstring_view line = TrimSpace(text.substr(from, lineEnd - from));
    if (line.size() == kEnd.size() &&
        std::equal(line.begin(), line.end(), kEnd.begin(),
                   [](wchar_t a, wchar_t b) { return (a >= L'a' && a <= L'z' ? a - 0x20 : a) == b; })) {
      return lineEnd;
    }
    if (lineStart == std::wstring_view::npos) break;
    lineEnd = lineStart;
  }
  return text.size();
}

}  // namespace kontaktel
