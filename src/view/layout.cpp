#include "view/layout.h"

#include <algorithm>

#include "view/theme.h"

namespace kontaktel {

namespace {

constexpr int kDefaultListWidth = 300;
constexpr int kMinListWidth = 160;
constexpr int kMinDetailsWidth = 220;

RECT Rect(int x, int y, int width, int height) {
  return RECT{x, y, x + width, y + height};
}

}  // namespace

int ListPaneWidth(int clientWidth, int listWidth, int dpi) {
  const auto s = [dpi](int length) { return ScaleLength(length, dpi); };
  const int wanted = s(listWidth < 1 ? kDefaultListWidth : listWidth);
  return std::min(std::max(s(kMinListWidth), clientWidth - s(kMinDetailsWidth)),
                  std::max(wanted, s(kMinListWidth)));
}

SIZE PhotoBox(bool hasPhoto, int photoWidth, int photoHeight, int detailsWidth, int dpi) {
  if (!hasPhoto) return SIZE{0, 0};
  const int maxWidth = std::min(ScaleLength(kPhotoBoxSide, dpi), detailsWidth);
  const int maxHeight = ScaleLength(kPhotoBoxSide, dpi);
  if (photoWidth <= 0 || photoHeight <= 0) return SIZE{maxWidth, ScaleLength(120, dpi)};
  const double factor = std::min({static_cast<double>(maxWidth) / photoWidth,
                                  static_cast<double>(maxHeight) / photoHeight, 1.0});
  return SIZE{std::max(1, static_cast<int>(factor * photoWidth)),
              std::max(1, static_cast<int>(factor * photoHeight))};
}

ViewerLayout ComputeLayout(const LayoutInput& input,
                           const std::function<int(int width)>& measureText) {
  const auto s = [&input](int length) { return ScaleLength(length, input.dpi); };
  ViewerLayout layout;
  const int width = input.clientWidth, v = input.scrollBarWidth;
  const int list = ListPaneWidth(width, input.listWidth, input.dpi);
  const int pad = s(4), checkWidth = s(72), filterHeight = s(26);
  layout.listPaneWidth = list;
  layout.statusHeight = s(18);
  layout.topHeight = filterHeight + 2 * pad;
  layout.listHeight = std::max(0, input.clientHeight - layout.topHeight - layout.statusHeight);
  layout.filterEdit = Rect(pad, pad, std::max(40, list - 3 * pad - checkWidth), filterHeight);
  layout.photoOnlyCheck = Rect(list - checkWidth - pad, pad, checkWidth, filterHeight);
  layout.listScrollBar = Rect(list - v, layout.topHeight, v, layout.listHeight);

  const int gap = s(12);
  const int x0 = list + gap + 1;
  const int height = std::max(input.clientHeight, 50);
  int details = width - x0 - gap - v;
  if (details < s(80))
    details = std::max(0, width - x0 - v);  // a narrow column drops its right gap
  layout.detailsX = x0;
  layout.detailsWidth = details;

  const SIZE photo =
      PhotoBox(input.hasPhoto, input.photoWidth, input.photoHeight, details, input.dpi);
  const int photoBlock = photo.cy >= 1 ? photo.cy + s(8) : 0;
  int text = std::max(measureText ? measureText(details) : 0, s(80));
  const int avail = std::max(height - photoBlock - 2 * gap, s(80));
  int total = 2 * gap + photoBlock + text;
  if (total <= height) {
    text = std::max(text, avail);  // the details view reaches the bottom of the window
    total = height;
  }
  layout.contentHeight = total;
  layout.pageHeight = height;
  layout.maxScroll = std::max(0, total - height);
  layout.detailsScroll = std::max(0, std::min(input.detailsScroll, layout.maxScroll));
  layout.detailsScrollBar = Rect(width - v, 0, v, height);
  const int top = gap - layout.detailsScroll;
  layout.photoPane = photo.cy >= 1 ? Rect(x0, top, photo.cx, photo.cy) : Rect(x0, top, 0, 0);
  const int textTop = gap + photoBlock;
  layout.detailsTextTop = textTop;
  if (text > kMaxDetailsViewHeight) {
    // One page high: below the photo while it shows, then at the top with the
    // rest of the offset scrolled inside.
    layout.detailsScrollsItself = true;
    layout.detailsView = Rect(x0, std::max(textTop - layout.detailsScroll, 0), details, height);
    layout.detailsTextScroll = std::max(0, layout.detailsScroll - textTop);
  } else {
    layout.detailsView = Rect(x0, textTop - layout.detailsScroll, details, text);
  }
  return layout;
}

bool IsOnSplitter(int x, int listPaneWidth, int dpi) {
  const int reach = ScaleLength(4, dpi);
  return x >= listPaneWidth - reach && x <= listPaneWidth + reach;
}

int ListWidthForDrag(int x, int clientWidth, int dpi) {
  const int low = ScaleLength(kMinListWidth, dpi);
  const int high = std::max(low, clientWidth - ScaleLength(kMinDetailsWidth, dpi));
  const int pixels = std::clamp(x, low, high);
  return std::max(kMinListWidth, MulDiv(pixels, 96, dpi));
}

}  // namespace kontaktel
