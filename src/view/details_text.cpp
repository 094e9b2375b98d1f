#include "view/details_text.h"

#include <richedit.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "text/text_util.h"

namespace kontaktel {

namespace {

LRESULT Send(HWND view, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(view, message, wParam, lParam);
}

// The characters from `start` to `end` (CR as the rich edit control keeps it).
std::wstring TextRange(HWND view, LONG start, LONG end) {
  if (end <= start) return {};
  if (!IsRichEdit(view)) {
    // The plain edit control has no range message; its text is short enough
    // to read whole.
    const std::wstring whole = DetailsWholeText(view);
    if (static_cast<size_t>(start) >= whole.size()) return {};
    return whole.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
  }
  std::wstring text(static_cast<size_t>(end - start) + 1, L'\0');
  TEXTRANGEW range{{start, end}, text.data()};
  const LRESULT copied = Send(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, end - start)));
  return text;
}

// A line's first `length` characters as EM_GETLINE gives them.
std::wstring EditLine(HWND view, LRESULT line, LRESULT length) {
  // The buffer's first character tells the control how many it may write.
  std::vector<wchar_t> buffer(static_cast<size_t>(std::max<LRESULT>(length, 1)) + 1, L'\0');
  buffer[0] = static_cast<wchar_t>(length);
  const LRESULT copied =
      Send(view, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
}

}  // namespace

std::wstring_view LineValue(std::wstring_view line) {
  while (!line.empty() && (line.back() == L'\r' || line.back() == L'\n')) line.remove_suffix(1);
  if (const size_t tab = line.find(L'\t'); tab != std::wstring_view::npos)
    return TrimSpace(line.substr(tab + 1));
  if (const size_t colon = line.find(L':'); colon != std::wstring_view::npos) {
    return TrimSpace(line.substr(colon + 1));
  }
  return TrimSpace(line);
}

std::wstring WithCrLfLineEnds(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) result += L'\n';
  }
  return result;
}

LONG WidenEditLine(WORD packedLine, LONG firstVisibleLine) {
  const LONG first = std::max(firstVisibleLine, 0L);
  return first + static_cast<WORD>(packedLine - static_cast<WORD>(first));
}

LONG WidenEditChar(WORD packedChar, LONG lineStart) {
  return lineStart + static_cast<WORD>(packedChar - static_cast<WORD>(lineStart));
}

bool IsRichEdit(HWND view) {
  wchar_t className[32] = {};
  if (GetClassNameW(view, className, 32) == 0) return false;
  return CompareStringOrdinal(className, 8, L"RichEdit", 8, TRUE) == CSTR_EQUAL;
}

CHARRANGE DetailsSelection(HWND view) {
  CHARRANGE range{0, 0};
  if (!IsWindow(view)) return range;
  if (IsRichEdit(view)) {
    Send(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  } else {
    // The pointer form: the return value cuts positions above 65535.
    DWORD start = 0, end = 0;
    Send(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    range = {static_cast<LONG>(start), static_cast<LONG>(end)};
  }
  if (range.cpMin < 0) range.cpMin = 0;
  if (range.cpMax < range.cpMin) std::swap(range.cpMin, range.cpMax);
  return range;
}

std::wstring DetailsWholeText(HWND view) {
  if (!IsWindow(view)) return {};
  if (IsRichEdit(view)) {
    GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT length = Send(view, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery));
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX query{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr,
                    nullptr};
    const LRESULT copied = Send(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
  }
  const int length = GetWindowTextLengthW(view);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextW(view, text.data(), length + 1), 0)));
  return text;
}

std::wstring DetailsSelectedText(HWND view) {
  const CHARRANGE selection = DetailsSelection(view);
  if (selection.cpMax <= selection.cpMin) return {};
  const LONG end = static_cast<LONG>(
      std::min<LONGLONG>(selection.cpMax, LONGLONG{selection.cpMin} + kMaxSelectedText));
  return WithCrLfLineEnds(TextRange(view, selection.cpMin, end));
}

std::wstring DetailsLineValue(HWND view) {
  if (!IsWindow(view)) return {};
  const bool rich = IsRichEdit(view);
  const LONG caret = DetailsSelection(view).cpMin;
  const LRESULT line =
      rich ? Send(view, EM_EXLINEFROMCHAR, 0, caret) : Send(view, EM_LINEFROMCHAR, caret);
  const LRESULT lineStart = Send(view, EM_LINEINDEX, static_cast<WPARAM>(line));
  if (lineStart < 0) return {};
  LRESULT length =
      std::min<LRESULT>(Send(view, EM_LINELENGTH, static_cast<WPARAM>(lineStart)), kMaxLineText);
  if (length < 1) {
    // Some controls report no length for a line they can still give out.
    wchar_t probe[7] = {7};
    length = Send(view, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(probe));
    if (length < 1) return {};
  }
  const std::wstring text =
      rich ? TextRange(view, static_cast<LONG>(lineStart), static_cast<LONG>(lineStart + length))
           : EditLine(view, line, length);
  return std::wstring(LineValue(text));
}

LONG DetailsCharFromPos(HWND view, POINT client) {
  if (!IsWindow(view)) return -1;
  if (IsRichEdit(view)) {
    POINTL point{client.x, client.y};
    const LRESULT index = Send(view, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point));
    return index < 0 ? -1 : static_cast<LONG>(index);
  }
  const LRESULT packed = Send(view, EM_CHARFROMPOS, 0, MAKELPARAM(client.x, client.y));
  if (packed == -1) return -1;
  const LONG first = static_cast<LONG>(Send(view, EM_GETFIRSTVISIBLELINE));
  const LONG line = WidenEditLine(HIWORD(packed), first);
  const LRESULT lineStart = Send(view, EM_LINEINDEX, static_cast<WPARAM>(line));
  if (lineStart < 0) return -1;
  return WidenEditChar(LOWORD(packed), static_cast<LONG>(lineStart));
}

std::optional<POINT> DetailsPosFromChar(HWND view, LONG index) {
  if (!IsWindow(view) || index < 0) return std::nullopt;
  if (IsRichEdit(view)) {
    POINTL point{LONG_MIN, LONG_MIN};
    Send(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), index);
    if (point.x == LONG_MIN && point.y == LONG_MIN) return std::nullopt;
    return POINT{point.x, point.y};
  }
  const LRESULT packed = Send(view, EM_POSFROMCHAR, static_cast<WPARAM>(index));
  if (packed == -1) return std::nullopt;
  return POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

}  // namespace kontaktel
