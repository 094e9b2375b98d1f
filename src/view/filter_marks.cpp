#include "view/filter_marks.h"

#include <richedit.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "text/case_fold.h"
#include "view/details_pane.h"
#include "view/theme.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

bool IsBreak(wchar_t c) {
  return c == L'\r' || c == L'\n';
}

// Folded for matching with its length kept, so that places match the text's.
std::wstring FoldKeepingLength(std::wstring_view text) {
  std::wstring folded = LowerForMatch(text);
  if (folded.size() == text.size()) return folded;
  folded.assign(text);
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(c));
  return folded;
}

bool IsRichEdit(HWND view) {
  wchar_t className[32] = {};
  GetClassNameW(view, className, 32);
  return lstrcmpiW(className, L"EDIT") != 0;
}

void SetBackground(HWND view, CHARRANGE range, COLORREF color) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BACKCOLOR;
  format.crBackColor = color;
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

}  // namespace

std::vector<MarkSpan> FilterMarkSpans(std::wstring_view text, std::wstring_view filterText) {
  std::vector<MarkSpan> marks;
  const std::wstring needle = FoldKeepingLength(filterText);
  if (needle.empty()) return marks;
  const std::vector<CaptionSpan> captions = DetailsCaptionSpans(text);
  size_t caption = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    const std::wstring_view line = text.substr(start, end - start);
    // Headings name a section; they are no value.
    if (!line.starts_with(L"\x2500") && !line.starts_with(L"--")) {
      while (caption < captions.size() && captions[caption].start < start) ++caption;
      size_t valueStart = start;
      if (caption < captions.size() && captions[caption].start == start) {
        valueStart += captions[caption].length;
        if (valueStart < end && text[valueStart] == L'\t') ++valueStart;
      }
      const std::wstring value = FoldKeepingLength(text.substr(valueStart, end - valueStart));
      for (size_t at = value.find(needle); at != std::wstring::npos;
           at = value.find(needle, at + needle.size())) {
        marks.push_back({valueStart + at, needle.size()});
      }
    }
    start = end + 1;
  }
  return marks;
}

void MarkFilterMatches(HWND view, std::wstring_view filterText) {
  if (!IsWindow(view) || !IsRichEdit(view)) return;
  // The old marks go first; text streamed in may also take the format of
  // the text it replaced.
  CHARFORMAT2W plain{};
  plain.cbSize = sizeof plain;
  plain.dwMask = CFM_BACKCOLOR;
  plain.dwEffects = CFE_AUTOBACKCOLOR;
  SendMessageW(view, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&plain));
  if (filterText.empty()) return;
  const std::vector<MarkSpan> marks = FilterMarkSpans(ControlText(view), filterText);
  if (marks.empty()) return;
  CHARRANGE kept{};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  const COLORREF color = CurrentPalette().filterMark;
  for (const MarkSpan& mark : marks) {
    SetBackground(
        view, CHARRANGE{static_cast<LONG>(mark.start), static_cast<LONG>(mark.start + mark.length)},
        color);
  }
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view, nullptr, TRUE);
}

void ScrollToFirstFilterMatch(ViewerState& state) {
  const HWND view = state.details.view.Get();
  if (state.filter.filterText.empty() || !IsWindow(view) || !IsRichEdit(view)) return;
  const std::vector<MarkSpan> marks = FilterMarkSpans(ControlText(view), state.filter.filterText);
  if (marks.empty()) return;
  POINTL at{};
  if (SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at),
                   static_cast<LPARAM>(marks.front().start)) == -1) {
    return;
  }
  // The details view is as tall as its text and the whole column scrolls: a
  // mark outside the window is brought up to a third of its height.
  POINT point{at.x, at.y};
  MapWindowPoints(view, state.window, &point, 1);
  RECT client{};
  GetClientRect(state.window, &client);
  if (point.y >= 0 && point.y + ScaleForDpi(state.window, 40) <= client.bottom) return;
  const LONG offset = state.details.scroll + point.y - (client.bottom - client.top) / 3;
  state.details.scroll = static_cast<int32_t>(std::max<LONG>(0, offset));
  RelayoutViewer(state.window);  // clamps the offset to what the column allows
}

}  // namespace kontaktel
