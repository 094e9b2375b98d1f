// What a contacts file's thumbnail shows, as plain values: the initials and
// colour of a card without a photo, the count of further cards, where the
// picture and the name go, and how much of a cut file's text holds whole cards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontaktel {

// Up to two letters: the given and family names' first letters when both are
// known, else those of the display name's first and last words; upper case.
// "?" when no letter or digit is found.
std::wstring ThumbnailInitials(std::wstring_view displayName, std::wstring_view givenName,
                               std::wstring_view familyName);

// The tile colour for a name, 0xRRGGBB: one of a set of calm colours that
// white letters read well on, always the same one for the same name.
uint32_t ThumbnailTileColour(std::wstring_view name);

// "+41" for 42 cards, "+41+" when the file goes on past what was read, "" for
// a single card of a whole file.
std::wstring MoreCardsText(size_t cardCount, bool fileGoesOn);

struct ThumbnailRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Where a thumbnail's parts go, in the bitmap's pixels.
struct ThumbnailLayout {
  int width = 0, height = 0;  // the bitmap's size: never above the box asked for
  ThumbnailRect picture;      // the photo, or the initials tile
  ThumbnailRect caption;      // the name; empty below 64 pixels
  int captionFont = 0;        // character height of the name
  int initialsFont = 0;       // of the initials on the tile
  ThumbnailRect badge;        // the "+N" count at the picture's lower right
  int badgeFont = 0;
};

// Whole thumbnails below this side carry no name: it could not be read.
inline constexpr int kThumbnailCaptionMinSide = 64;

// The layout for a box of boxWidth x boxHeight: the picture scaled to fit the
// box above the name, keeping its proportions (a square tile for a picture of
// 0 x 0), and the bitmap as small as its content rather than padded. The
// badge is sized for `badgeLength` characters (0 for none). Empty (0 x 0) for
// a box smaller than 8 pixels.
ThumbnailLayout LayoutThumbnail(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight,
                                size_t badgeLength);

// How much of a text read from the head of a file holds whole cards: up to
// the end of the last END:VCARD line. All of it when it holds no END:VCARD,
// so that a file of one huge card still shows that card.
size_t WholeCardsLength(std::wstring_view text);

}  // namespace kontaktel
