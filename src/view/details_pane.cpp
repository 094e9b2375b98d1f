#include "view/details_pane.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "view/host_context.h"
#include "view/theme.h"
#include "win/gdi_handles.h"
#include "win/kernel_handles.h"

namespace kontaktel {

namespace {

constexpr size_t kMaxFormattedLine = 8000;
constexpr DWORD kDetailsStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | ES_READONLY;

UniqueModule richEditLibrary;
bool richEditLoaded = false;

void LoadRichEditLibrary() {
  if (richEditLoaded) return;
  richEditLoaded = true;  // tried once per module, whether or not a library loads
  richEditLibrary.Reset(LoadLibraryW(L"Msftedit.dll"));
  if (!richEditLibrary) richEditLibrary.Reset(LoadLibraryW(L"Riched20.dll"));
}

bool IsRichEdit(HWND view) {
  wchar_t className[32] = {};
  GetClassNameW(view, className, 32);
  return lstrcmpiW(className, L"EDIT") != 0;
}

// Text streamed in as Unicode plain text is never read as RTF, whatever it begins with.
struct PlainTextSource {
  const BYTE* data;
  size_t remaining;
};

DWORD CALLBACK ReadPlainText(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* read) {
  auto* source = reinterpret_cast<PlainTextSource*>(cookie);
  const size_t count = std::min(source->remaining, static_cast<size_t>(capacity) & ~size_t{1});
  std::memcpy(buffer, source->data, count);
  source->data += count;
  source->remaining -= count;
  *read = static_cast<LONG>(count);
  return 0;
}

void SetPlainText(HWND view, const std::wstring& text) {
  PlainTextSource source{reinterpret_cast<const BYTE*>(text.data()), text.size() * sizeof(wchar_t)};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadPlainText;
  SendMessageW(view, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

// The text as the control holds it, so that positions match its own.
std::wstring ControlText(HWND view) {
  GETTEXTLENGTHEX lengthQuery{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT length =
      SendMessageW(view, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  query.flags = GT_DEFAULT;
  query.codepage = 1200;
  const LRESULT copied = SendMessageW(view, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
  return text;
}

CHARFORMAT2W DetailsFormat(HFONT font, HWND view, COLORREF color) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_CHARSET;
  format.yHeight = 180;  // 9 points without a font
  LOGFONTW logFont{};
  if (font != nullptr && GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont &&
      logFont.lfHeight != 0) {
    format.yHeight =
        std::clamp(MulDiv(std::abs(logFont.lfHeight), 1440, WindowDpi(view)), 140, 360);
  }
  wcscpy_s(format.szFaceName, logFont.lfFaceName[0] != L'\0' ? logFont.lfFaceName : L"Segoe UI");
  format.bCharSet = DEFAULT_CHARSET;
  format.crTextColor = color;
  return format;
}

}  // namespace

UniqueWindow CreateDetailsView(HWND viewer, HFONT font) {
  LoadRichEditLibrary();
  const HINSTANCE module = ModuleHandle();
  // The host sizes the viewer only after loading. Filled at width 0, the rich
  // edit would break every character onto a line of its own, which takes
  // minutes for a long card: until the first layout it has a common size.
  const int width = ScaleForDpi(viewer, 480), height = ScaleForDpi(viewer, 360);
  const auto create = [&](const wchar_t* className, DWORD style) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", style, 0, 0, width, height, viewer,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDetailsViewId)), module,
                           nullptr);
  };
  HWND view = create(L"RICHEDIT50W", kDetailsStyle | ES_SAVESEL);
  if (view == nullptr) view = create(L"RichEdit20W", kDetailsStyle);
  if (view == nullptr) view = create(L"EDIT", kDetailsStyle);
  UniqueWindow owned(view);
  if (view == nullptr) return owned;
  SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A little air between the edge and the text, as in the system's own views.
  const int margin = ScaleForDpi(viewer, 6);
  SendMessageW(view, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
  SendMessageW(view, EM_SETBKGNDCOLOR, 0, CurrentPalette().background);
  SendMessageW(view, EM_AUTOURLDETECT, 0, 0);
  return owned;
}

void ReleaseRichEditLibrary() {
  richEditLibrary.Reset();
  richEditLoaded = false;
}

std::vector<CaptionSpan> DetailsCaptionSpans(std::wstring_view text) {
  std::vector<CaptionSpan> spans;
  // A note's own words follow its heading; "Call after 10:30" or a web address
  // in them is no caption. The block ends where a field line (caption, tab,
  // value) follows an empty line.
  bool inBlock = false;
  bool afterEmpty = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view line = text.substr(start, std::min(end - start, kMaxFormattedLine));
    const bool heading = line.starts_with(L"\x2500") || line.starts_with(L"--");
    const size_t tab = line.find(L'\t');
    if (heading) {
      inBlock = true;
    } else if (inBlock && afterEmpty && tab != std::wstring_view::npos) {
      inBlock = false;
    }
    if (!line.empty() && !heading && !inBlock) {
      if (tab != std::wstring_view::npos) {
        if (tab > 0) spans.push_back({start, tab});
      } else if (const size_t colon = line.find(L':'); colon != std::wstring_view::npos) {
        const size_t captionEnd =
            colon + 1 < line.size() && line[colon + 1] == L' ' ? colon + 2 : colon + 1;
        spans.push_back({start, captionEnd});
      }
    }
    // CR LF ends a line once: the LF is not an empty line of its own.
    if (end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n') ++end;
    afterEmpty = line.empty();
    start = end + 1;
  }
  return spans;
}

void FillDetailsView(HWND view, const std::wstring& text, HFONT font) {
  if (!IsWindow(view)) return;
  const Palette& palette = CurrentPalette();
  if (!IsRichEdit(view)) {
    SetWindowTextW(view, text.c_str());
    return;
  }
  SendMessageW(view, EM_SETBKGNDCOLOR, 0, palette.background);
  SendMessageW(view, EM_SETUNDOLIMIT, 0, 0);
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  SetPlainText(view, text);
  SetDetailsTabStop(view);

  CHARFORMAT2W base = DetailsFormat(font, view, palette.text);
  CHARFORMAT2W caption = DetailsFormat(font, view, palette.secondaryText);
  SendMessageW(view, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&base));
  for (const CaptionSpan& span : DetailsCaptionSpans(ControlText(view))) {
    CHARRANGE range{static_cast<LONG>(span.start), static_cast<LONG>(span.start + span.length)};
    SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&caption));
  }
  CHARRANGE start{0, 0};
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view, nullptr, TRUE);
}

int DetailsTabStopTwips(int clientWidth, int dpi) {
  if (dpi <= 0) dpi = 96;
  const auto s = [dpi](int length) { return ScaleLength(length, dpi); };
  if (clientWidth < s(40)) return 0;
  int tab = clientWidth * 38 / 100;
  if (tab < s(100)) tab = std::min(clientWidth / 2, s(100));
  tab = std::min(tab, s(240));
  if (tab >= clientWidth - s(40)) tab = clientWidth / 2;
  return std::max(MulDiv(tab, 1440, dpi), 400);
}

void SetDetailsTabStop(HWND view) {
  if (!IsWindow(view)) return;
  RECT client{};
  GetClientRect(view, &client);
  const int twips = DetailsTabStopTwips(client.right - client.left, WindowDpi(view));
  if (twips == 0) return;
  CHARRANGE kept{}, all{0, -1};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  PARAFORMAT format{};
  format.cbSize = sizeof format;
  SendMessageW(view, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  // Every layout asks; only a new width or a new text needs the paragraphs
  // formatted again, and the user's selection (a search hit) stays.
  const bool set = (format.dwMask & PFM_TABSTOPS) != 0 && format.cTabCount == 1 &&
                   format.rgxTabs[0] == twips;
  if (!set) {
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = 1;
    format.rgxTabs[0] = twips;
    SendMessageW(view, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  }
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
}

int MeasureDetailsHeight(HWND view, int width) {
  if (!IsWindow(view) || width <= 8 || GetWindowTextLengthW(view) == 0) return 40;
  int lineHeight = 16;
  const auto font = reinterpret_cast<HFONT>(SendMessageW(view, WM_GETFONT, 0, 0));
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(view)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(view, text.data(), static_cast<int>(text.size()))));
  WindowDc dc(view);
  SelectScope selected(dc.Get(), font);
  TEXTMETRICW metrics{};
  if (dc.Get() != nullptr && GetTextMetricsW(dc.Get(), &metrics))
    lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

  RECT window{}, client{};
  GetWindowRect(view, &window);
  GetClientRect(view, &client);
  int border =
      std::max(0, static_cast<int>((window.bottom - window.top) - (client.bottom - client.top)));
  if (border == 0) border = 2 * SystemMetricForDpi(SM_CYEDGE, WindowDpi(view)) + 2;
  // Lines wrap by the width alone: at the width it already has, the view's
  // own layout answers, and every resize would wrap a long card anew (the
  // slow part of showing a card under Wine).
  if (window.right - window.left != width) {
    SetWindowPos(view, nullptr, 0, 0, width, 16000,
                 SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
  }

  int lastCharacter = 0;
  const LRESULT length = SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
  POINTL position{};
  if (IsRichEdit(view) && SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&position),
                                       std::max<LRESULT>(0, length - 1)) != -1) {
    // Positions are relative to the first line shown.
    POINT scrolled{};
    SendMessageW(view, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scrolled));
    lastCharacter = position.y + scrolled.y + 8 + lineHeight;
  }
  const int lines =
      std::max<int>(1, static_cast<int>(SendMessageW(view, EM_GETLINECOUNT, 0, 0))) * lineHeight +
      12;
  RECT drawn{0, 0, std::max(8, width - border - 8), 0};
  if (dc.Get() != nullptr) {
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &drawn,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
  }
  const int byDrawing = (drawn.bottom - drawn.top) + 12;
  const int height = std::max({lastCharacter, lines, byDrawing, lineHeight + 8}) + 4 + border;
  return std::clamp(height, 40, 20000);
}

}  // namespace kontaktel
