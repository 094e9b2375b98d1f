#include "view/list_navigation.h"

#include <algorithm>

namespace kontaktel {

int32_t MaxTopRow(int32_t rowCount, int32_t rowsPerPage) {
  return std::max<int32_t>(0, rowCount - std::max<int32_t>(1, rowsPerPage));
}

int32_t ClampTopRow(int32_t topRow, int32_t rowCount, int32_t rowsPerPage) {
  return std::clamp<int32_t>(topRow, 0, MaxTopRow(rowCount, rowsPerPage));
}

std::optional<int32_t> NavigateList(UINT key, int32_t selectedRow, int32_t rowCount,
                                    int32_t rowsPerPage) {
  if (rowCount < 1) return std::nullopt;
  const int32_t p = selectedRow >= 0 && selectedRow < rowCount ? selectedRow : 0;
  const int32_t page = std::max<int32_t>(1, rowsPerPage);
  const int32_t last = rowCount - 1;
  switch (key) {
    case VK_PRIOR:
      return std::max<int32_t>(0, p - page);
    case VK_NEXT:
      return std::min<int32_t>(p + page, last);
    case VK_END:
      return last;
    case VK_HOME:
      return 0;
    case VK_UP:
      return p == 0 ? std::nullopt : std::optional<int32_t>(p - 1);
    case VK_DOWN:
      return p == last ? std::nullopt : std::optional<int32_t>(p + 1);
    default:
      return std::nullopt;
  }
}

int32_t EnsureSelectionVisible(int32_t topRow, int32_t selectedRow, int32_t rowCount,
                               int32_t rowsPerPage) {
  const int32_t page = std::max<int32_t>(1, rowsPerPage);
  int32_t top = topRow;
  if (selectedRow < 0 || selectedRow >= rowCount) {
    top = 0;
  } else if (selectedRow < top) {
    top = selectedRow;
  } else if (selectedRow >= top + page) {
    top = selectedRow - page + 1;
  }
  return ClampTopRow(top, rowCount, page);
}

int32_t ScrollListTop(int code, int32_t topRow, int32_t trackPosition, int32_t rowCount,
                      int32_t rowsPerPage) {
  const int32_t step = std::max<int32_t>(1, rowsPerPage - 1);
  int32_t top = topRow;
  switch (code) {
    case SB_LINEUP:
      top = topRow - 1;
      break;
    case SB_LINEDOWN:
      top = topRow + 1;
      break;
    case SB_PAGEUP:
      top = topRow - step;
      break;
    case SB_PAGEDOWN:
      top = topRow + step;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      top = trackPosition;
      break;
    case SB_TOP:
      top = 0;
      break;
    case SB_BOTTOM:
      top = MaxTopRow(rowCount, rowsPerPage);
      break;
    default:
      break;
  }
  return ClampTopRow(top, rowCount, rowsPerPage);
}

int32_t WheelListTop(int64_t rowsUp, int32_t topRow, int32_t rowCount, int32_t rowsPerPage) {
  const int64_t top = std::clamp<int64_t>(topRow - rowsUp, 0, MaxTopRow(rowCount, rowsPerPage));
  return static_cast<int32_t>(top);
}

int32_t RowsPerPage(int32_t listHeight, int32_t pad, int32_t rowHeight) {
  if (rowHeight < 1) return 1;
  return std::max<int32_t>(1, (listHeight - 2 * pad) / rowHeight);
}

std::optional<int32_t> PageRowAt(int32_t offsetY, int32_t pad, int32_t rowHeight,
                                 int32_t rowsPerPage, int32_t topRow, int32_t rowCount) {
  if (offsetY < 0 || rowHeight < 1) return std::nullopt;
  const int32_t row = std::max<int32_t>(0, offsetY - pad) / rowHeight;
  if (row >= rowsPerPage || topRow + row >= rowCount) return std::nullopt;
  return row;
}

}  // namespace kontaktel
