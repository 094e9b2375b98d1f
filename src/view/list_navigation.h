// Where the contact list's rows stand and where keys, the scroll bar and the
// wheel move them: pure functions over row counts. Counts arrive as unsigned
// sizes from the card model; everything here is signed, so that "n minus a
// page" of a short list is 0 and never wraps around to a huge row.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace kontaktel {

// The highest first row that still fills the page: max(0, rowCount - rowsPerPage).
int32_t MaxTopRow(int32_t rowCount, int32_t rowsPerPage);

// `topRow` brought into [0, MaxTopRow].
int32_t ClampTopRow(int32_t topRow, int32_t rowCount, int32_t rowsPerPage);

// The row a navigation key selects, from the selected row (a selection that is
// not in the list counts as row 0); nothing when the key is not handled: any
// other key, Up on the first row, Down on the last, or an empty list.
std::optional<int32_t> NavigateList(UINT key, int32_t selectedRow, int32_t rowCount,
                                    int32_t rowsPerPage);

// The first row to draw so that the selected row is on the page; a selection
// that is not in the list (-1) starts the page at the first row.
int32_t EnsureSelectionVisible(int32_t topRow, int32_t selectedRow, int32_t rowCount,
                               int32_t rowsPerPage);

// The first row after a scroll bar code (SB_LINEUP ... SB_BOTTOM); the track
// position counts for SB_THUMBPOSITION and SB_THUMBTRACK.
int32_t ScrollListTop(int code, int32_t topRow, int32_t trackPosition, int32_t rowCount,
                      int32_t rowsPerPage);

// The first row after the wheel moved the page `rowsUp` rows up (down when negative).
int32_t WheelListTop(int64_t rowsUp, int32_t topRow, int32_t rowCount, int32_t rowsPerPage);

// Whole rows of `rowHeight` in a list `listHeight` high with `pad` above and
// below the rows; at least 1.
int32_t RowsPerPage(int32_t listHeight, int32_t pad, int32_t rowHeight);

// The page row under a point `offsetY` pixels below the list's top edge; the
// pad above the first row counts as row 0. Nothing when the point is above the
// list or below the last row drawn (a page row past rowsPerPage, or past the
// end of a short list): only drawn rows can be clicked.
std::optional<int32_t> PageRowAt(int32_t offsetY, int32_t pad, int32_t rowHeight,
                                 int32_t rowsPerPage, int32_t topRow, int32_t rowCount);

}  // namespace kontaktel
