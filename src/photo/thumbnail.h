// Draws a contacts file's thumbnail for the host's thumbnail view: a photo or
// an initials tile, the count of further cards, the name below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace Gdiplus {
class GpImage;
}

namespace kontaktel {

struct ThumbnailContent {
  Gdiplus::GpImage* photo = nullptr;  // a decoded GDI+ bitmap; null draws the initials tile
  std::wstring initials;
  uint32_t tileColour = 0;  // 0xRRGGBB
  std::wstring name;        // shown below the picture from 64 pixels on
  std::wstring more;        // the badge text ("+41"); empty for none
};

// A new opaque 32-bpp DIB section no larger than width x height, whose owner
// is the caller; null when it cannot be made. GDI+ must be running. Touches
// nothing shared, so any thread may call it.
HBITMAP DrawThumbnail(const ThumbnailContent& content, int width, int height);

}  // namespace kontaktel
