// Reading the details view: its whole text, the selection, the value of the
// line that holds the caret, and character positions. The view is a rich edit
// control, or a plain edit control where no rich edit class exists; both are
// read in forms that hold positions beyond 65535.
#pragma once

#include <richedit.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kontaktel {

// "Copy" reads at most this much of a selection.
inline constexpr size_t kMaxSelectedText = 1000000;
// "Copy line value" reads at most this much of a line.
inline constexpr int kMaxLineText = 16000;

// The value part of one details line: after the first tab, else after the
// first ':', else the whole line; trailing CR and LF dropped, blanks trimmed.
std::wstring_view LineValue(std::wstring_view line);

// Line breaks as CR LF. The rich edit control answers with a lone CR for
// each line end; the clipboard gets what the card text holds.
std::wstring WithCrLfLineEnds(std::wstring_view text);

// A plain edit control answers EM_CHARFROMPOS with 16-bit character and line
// numbers. The full character index is the one of the line near
// `firstVisibleLine` whose low bits match, within the line that starts at
// `lineStart` (the caller finds it with the line number this returns first).
// Both steps are pure so that texts beyond 65535 characters are handled alike.
LONG WidenEditLine(WORD packedLine, LONG firstVisibleLine);
LONG WidenEditChar(WORD packedChar, LONG lineStart);

bool IsRichEdit(HWND view);

// The selection (start not above end); {0, 0} when the view is no window.
CHARRANGE DetailsSelection(HWND view);

// The whole text with CR LF line ends; empty when the view is no window.
std::wstring DetailsWholeText(HWND view);

// The selected text (at most kMaxSelectedText characters, CR LF line ends);
// empty without a selection.
std::wstring DetailsSelectedText(HWND view);

// The value part of the line that holds the start of the selection.
std::wstring DetailsLineValue(HWND view);

// The character nearest a client point, or -1.
LONG DetailsCharFromPos(HWND view, POINT client);

// The client position of a character, when the control can tell.
std::optional<POINT> DetailsPosFromChar(HWND view, LONG index);

}  // namespace kontaktel
