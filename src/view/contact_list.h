// The contact list: owner-drawn two-line rows (name with a camera mark, one
// contact detail) that the viewer window paints itself, one page at a time,
// with its own scroll bar, clicks, the wheel, navigation keys and a tooltip for
// names too long for a row. The filter strip above it is in filter_bar.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "present/card_match.h"
#include "vcard/card.h"
#include "view/viewer_state.h"

namespace kontaktel {

// Whether a card has a photo: embedded bytes or an address.
bool CardHasPhoto(const Card& card);

// The name line: the display name, or "(empty card)", with " 📷" when the card
// has a photo.
std::wstring ListRowName(const Card& card, bool russian);

// The detail line, by the first rule that gives a text: "Tel: " and the first
// phone, "Email: " and the first e-mail, the kind, "Email: " and an address
// found in the URL or notes; empty when none does.
std::wstring ListRowDetail(const Card& card, bool russian);

// The tooltip of a row: the display name (or "(empty card)") when it is too
// long for a row (28 characters or more), else empty.
std::wstring ListTooltipText(const Card& card, bool russian);

enum class RowShade { kPlain, kSelected, kSearchMatch };

// One row as it is drawn.
struct ListRow {
  uint64_t card = 0;
  std::wstring name;
  std::wstring detail;
  RowShade shade = RowShade::kPlain;
};

// The rows of the page that starts at row topRow of the visible list: at
// most rowsPerPage rows, entries that are no card skipped. Only these rows
// are composed.
std::vector<ListRow> ComposeListPage(const CardSet& cards, const FilterState& filter,
                                     int32_t topRow, int32_t rowsPerPage, bool russian);

// The selected card's row in the visible list, -1 when the filter hides it.
int32_t SelectedRow(const FilterState& filter);

// The list rows area in client coordinates: the list column between the
// filter strip and the status strip.
RECT ListRowsArea(int clientWidth, int clientHeight, int listWidth, int dpi);
RECT ListRowsArea(const ViewerState& state);

// Paints the list into `area` of `dc`: fixes rowHeight, rowsPerPage and
// topRow, records the rows area in listRect and sets the list scroll bar.
void DrawContactList(ViewerState& state, HDC dc, const RECT& area);

// Moves topRow so that the selected card's row is on the page.
void EnsureSelectionVisible(ViewerState& state);

// Makes a card the selected one (an index past the end selects the last): the
// details start at the top, the list pages to it and the card is shown.
// Nothing without cards.
void SelectCard(ViewerState& state, size_t index);

// A navigation key (Up, Down, Page Up, Page Down, Home, End) walks the visible
// list; false when the key is not handled.
bool NavigateList(ViewerState& state, WPARAM key);

// Mouse input over the list column, points in client coordinates.
// A left click selects the card of the row under it (only drawn rows).
bool OnListButtonDown(HWND window, ViewerState& state, POINT client);
// True when the point is over the rows: the page then moved by one row.
bool OnListWheel(HWND window, ViewerState& state, POINT client, int delta);
void OnListMouseMove(HWND window, ViewerState& state, POINT client);
void OnListScroll(HWND window, ViewerState& state, WPARAM wParam);

// The card of the row drawn under a point (nothing where no row is drawn).
std::optional<uint64_t> ListCardAt(const ViewerState& state, POINT client);

}  // namespace kontaktel
