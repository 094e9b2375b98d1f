// Text drawn with a font per run of characters: what the selected font lacks
// beyond the Basic Multilingual Plane (emoji in names) comes from a font that
// has it, and the camera mark (U+1F4F7) is drawn as a small picture. Wine's
// DrawTextW and ExtTextOutW draw such characters as two boxes, and its
// Uniscribe fallback does not look for them; Windows finds them either way,
// so the one path serves both.
#pragma once

#include <windows.h>

#include <string_view>

namespace kontaktel {

// Draws `text` into `rect` in the DC's font, text colour and background mode,
// as DrawTextW with DT_NOPREFIX and these of its flags: DT_SINGLELINE,
// DT_VCENTER (with DT_SINGLELINE), DT_WORDBREAK (at spaces, and inside a word
// too long for a line), DT_END_ELLIPSIS (the last line that fits ends in "…"
// when text is cut) and DT_CALCRECT (sets rect.right and rect.bottom
// to the lines' extent, draws nothing).
// Lines are left-aligned and clipped to the rectangle.
void DrawFallbackText(HDC dc, std::wstring_view text, RECT& rect, UINT format);

}  // namespace kontaktel
