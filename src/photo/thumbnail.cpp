#include "photo/thumbnail.h"

#include <algorithm>

#include "photo/gdiplus_bitmap.h"
#include "present/thumbnail_face.h"
#include "win/gdi_handles.h"
#include "win/gdiplus_flat.h"
#include "win/gdiplus_handles.h"

namespace kontaktel {

namespace {

namespace flat = Gdiplus::DllExports;

COLORREF ToColorRef(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

RECT ToRect(const ThumbnailRect& r) {
  return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

UniqueFont CreateThumbnailFont(int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  // Grey-scale smoothing: a thumbnail is scaled and shown on any background,
  // where ClearType's coloured fringes would show.
  font.lfQuality = ANTIALIASED_QUALITY;
  wcscpy_s(font.lfFaceName, L"Segoe UI");
  return UniqueFont(CreateFontIndirectW(&font));
}

void PaintText(HDC dc, const std::wstring& text, RECT rect, int height, int weight,
              COLORREF colour, UINT format) {
  if (text.empty() || height <= 0) return;
  const UniqueFont font = CreateThumbnailFont(height, weight);
  if (!font) return;
  const SelectScope selected(dc, font.Get());
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              format | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

void DrawPhoto(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const ThumbnailRect& to) {
  const SIZE size = BitmapSize(image);
  flat::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  flat::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
  // Mirrored edges keep the bicubic filter from blending the border with
  // transparent black.
  Gdiplus::GpImageAttributes* rawAttributes = nullptr;
  flat::GdipCreateImageAttributes(&rawAttributes);
  const UniqueGdiplusImageAttributes attributes(rawAttributes);
  if (attributes)
    flat::GdipSetImageAttributesWrapMode(rawAttributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
  flat::GdipDrawImageRectRectI(graphics, image, to.left, to.top, to.width, to.height, 0, 0,
                               size.cx, size.cy, Gdiplus::UnitPixel, rawAttributes, nullptr,
                               nullptr);
}

// The badge's pill, measured for its text and kept at the layout's lower right.
RECT BadgeRect(HDC dc, const ThumbnailLayout& layout, const std::wstring& text) {
  RECT rect = ToRect(layout.badge);
  if (text.empty()) return rect;
  const UniqueFont font = CreateThumbnailFont(layout.badgeFont, FW_SEMIBOLD);
  if (!font) return rect;
  const SelectScope selected(dc, font.Get());
  SIZE extent{};
  if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
    const int width = std::min<int>(layout.picture.width, extent.cx + layout.badge.height * 2 / 3);
    rect.left = std::max<int>(0, rect.right - width);
  }
  return rect;
}

void FillPill(Gdiplus::GpGraphics* graphics, const RECT& rect) {
  const int diameter = rect.bottom - rect.top;
  if (diameter <= 0 || rect.right - rect.left < diameter) return;
  flat::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::GpPath* rawPath = nullptr;
  flat::GdipCreatePath(Gdiplus::FillModeAlternate, &rawPath);
  const UniqueGdiplusPath path(rawPath);
  Gdiplus::GpSolidFill* rawBrush = nullptr;
  flat::GdipCreateSolidFill(0xB4000000, &rawBrush);  // black at 70 %
  const UniqueGdiplusBrush brush(rawBrush);
  if (!path || !brush) return;
  const float d = static_cast<float>(diameter);
  flat::GdipAddPathArc(rawPath, static_cast<float>(rect.left), static_cast<float>(rect.top), d, d,
                       90, 180);
  flat::GdipAddPathArc(rawPath, static_cast<float>(rect.right) - d, static_cast<float>(rect.top),
                       d, d, 270, 180);
  flat::GdipClosePathFigure(rawPath);
  flat::GdipFillPath(graphics, rawBrush, rawPath);
}

// GDI leaves the alpha bytes of what it draws at 0: a host that blends the
// bitmap must find it opaque.
void MakeOpaque(void* bits, int width, int height) {
  auto* pixel = static_cast<uint32_t*>(bits);
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) pixel[i] |= 0xFF000000u;
}

}  // namespace

HBITMAP DrawThumbnail(const ThumbnailContent& content, int width, int height) {
  const SIZE photoSize = content.photo != nullptr ? BitmapSize(content.photo) : SIZE{0, 0};
  const ThumbnailLayout layout =
      LayoutThumbnail(width, height, photoSize.cx, photoSize.cy, content.more.size());
  if (layout.width <= 0 || layout.height <= 0) return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = layout.width;
  info.bmiHeader.biHeight = -layout.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || bits == nullptr || !dc) return nullptr;
  {
    const SelectScope selected(dc.Get(), bitmap.Get());
    const RECT whole{0, 0, layout.width, layout.height};
    FillRect(dc.Get(), &whole, GetSysColorBrush(COLOR_WINDOW));
    const RECT picture = ToRect(layout.picture);
    const bool tile = content.photo == nullptr || photoSize.cx <= 0 || photoSize.cy <= 0;
    if (tile) {
      const UniqueBrush brush(CreateSolidBrush(ToColorRef(content.tileColour)));
      if (brush) FillRect(dc.Get(), &picture, brush.Get());
    }
    const RECT badge = BadgeRect(dc.Get(), layout, content.more);
    {
      Gdiplus::GpGraphics* rawGraphics = nullptr;
      if (flat::GdipCreateFromHDC(dc.Get(), &rawGraphics) != Gdiplus::Ok) return nullptr;
      const UniqueGdiplusGraphics graphics(rawGraphics);
      if (!tile) DrawPhoto(rawGraphics, content.photo, layout.picture);
      if (!content.more.empty()) FillPill(rawGraphics, badge);
      flat::GdipFlush(rawGraphics, Gdiplus::FlushIntentionSync);
    }
    if (tile) {
      PaintText(dc.Get(), content.initials, picture, layout.initialsFont, FW_SEMIBOLD,
               RGB(255, 255, 255), DT_CENTER);
    }
    PaintText(dc.Get(), content.more, badge, layout.badgeFont, FW_SEMIBOLD, RGB(255, 255, 255),
             DT_CENTER);
    RECT caption = ToRect(layout.caption);
    InflateRect(&caption, -2, 0);
    PaintText(dc.Get(), content.name, caption, layout.captionFont, FW_NORMAL,
             GetSysColor(COLOR_WINDOWTEXT), DT_CENTER | DT_END_ELLIPSIS);
    GdiFlush();
  }
  MakeOpaque(bits, layout.width, layout.height);
  return bitmap.Release();
}

}  // namespace kontaktel
