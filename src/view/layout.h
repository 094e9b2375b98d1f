// Where every part of the viewer window goes, computed from numbers alone so
// that a layout can be checked at any DPI without a window.
#pragma once

#include <windows.h>

#include <functional>

namespace kontaktel {

// The tallest the details view is made: a taller text keeps the view one page
// high and scrolls inside it, since windows (and their coordinates) end at
// some tens of thousands of pixels.
inline constexpr int kMaxDetailsViewHeight = 16000;

// The photo box's side in 96-DPI pixels; the details column may be narrower.
inline constexpr int kPhotoBoxSide = 360;

struct LayoutInput {
  int clientWidth = 0;
  int clientHeight = 0;
  int dpi = 96;
  int listWidth = 0;        // 96-DPI pixels; below 1 means the default of 300
  int scrollBarWidth = 17;  // the system's vertical scroll bar width
  bool hasPhoto = false;
  int photoWidth = 0;  // the decoded photo's own size
  int photoHeight = 0;
  int detailsScroll = 0;  // the details column's offset before this layout
};

struct ViewerLayout {
  int listPaneWidth = 0;  // L: the list column
  int statusHeight = 0;
  int topHeight = 0;  // the filter strip
  int listHeight = 0;
  RECT filterEdit{};
  RECT photoOnlyCheck{};
  RECT listScrollBar{};
  int detailsX = 0;  // x0 of the details column
  int detailsWidth = 0;
  RECT photoPane{};  // empty when there is no photo
  RECT detailsView{};
  int detailsTextTop = 0;  // where the text starts in the column, below the photo
  // The view's own scroll offset: 0 while the view is as tall as its text;
  // for a taller text, the part of the column's offset past the text's top.
  int detailsTextScroll = 0;
  bool detailsScrollsItself = false;
  RECT detailsScrollBar{};
  int contentHeight = 0;  // the whole details column, photo and text
  int pageHeight = 0;     // the visible part of it
  int maxScroll = 0;
  int detailsScroll = 0;  // the offset clamped to what the content allows
};

// The list column's width in device pixels: the stored width, never below
// 160 and leaving 220 to the details while the window is wide enough.
int ListPaneWidth(int clientWidth, int listWidth, int dpi);

// The photo box: the photo scaled down (never up) into at most 360 x 360 and
// the details width. {0, 0} without a photo.
SIZE PhotoBox(bool hasPhoto, int photoWidth, int photoHeight, int detailsWidth, int dpi);

// The whole layout. `measureText` gives the height the details text needs at
// a width in device pixels.
ViewerLayout ComputeLayout(const LayoutInput& input,
                           const std::function<int(int width)>& measureText);

// Whether x (client coordinates) is on the splitter of a list column L wide.
bool IsOnSplitter(int x, int listPaneWidth, int dpi);

// The list width stored after a drag to x: clamped to the column's limits
// and turned back into 96-DPI pixels.
int ListWidthForDrag(int x, int clientWidth, int dpi);

}  // namespace kontaktel
