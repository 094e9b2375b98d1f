// Lays text out in lines by its Uniscribe widths and draws each line run by
// run, every run in the font chosen for it.
#include "win/fallback_text.h"

#include <usp10.h>

#include <algorithm>
#include <vector>

#include "win/gdi_handles.h"

namespace kontaktel {

namespace {

// Faces tried in turn for what the DC's font lacks: the emoji and symbol
// fonts of Windows, then those found on Linux systems that Wine sees.
constexpr const wchar_t* kFallbackFaces[] = {L"Segoe UI Emoji", L"Segoe UI Symbol", L"Symbola",
                                             L"Noto Emoji", L"Noto Sans Symbols2"};
constexpr wchar_t kEllipsis[] = L"\u2026";

bool PairAt(std::wstring_view text, size_t i) {
  return i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
}

// U+1F4F7, the camera mark.
bool CameraAt(std::wstring_view text, size_t i) {
  return i + 1 < text.size() && text[i] == 0xD83D && text[i + 1] == 0xDCF7;
}

// The camera mark is drawn, not taken from a font: the fonts that have it
// beside Windows' (Symbola) draw it at text size as a grey blot. Its body is
// three quarters of a capital letter high, its viewfinder reaches the
// capital's top, and the lens, in the middle, is a hole through which the
// row shows.
struct CameraShape {
  int width, body, lens;
};

CameraShape CameraFor(int capital) {
  CameraShape shape{capital * 13 / 10, std::max(4, capital * 3 / 4), 0};
  shape.lens = std::max(4, (shape.body * 6 + 5) / 10);
  shape.width += (shape.width - shape.lens) % 2;
  shape.body += (shape.body - shape.lens) % 2;
  return shape;
}

int CameraAdvance(int capital) {
  return CameraFor(capital).width + std::max(1, capital / 8);
}

void DrawCamera(HDC dc, int x, int baseline, int capital, const RECT& clip) {
  using UniqueRegion = UniqueGdi<HRGN>;
  const CameraShape camera = CameraFor(capital);
  const int top = baseline - camera.body, round = std::max(2, capital / 3);
  // Round and elliptic regions leave out their last column and row.
  UniqueRegion shape(CreateRoundRectRgn(x, top, x + camera.width + 1, baseline + 1, round, round));
  const int finder = x + camera.width / 4;
  const UniqueRegion finderShape(CreateRectRgn(
      finder, top - std::max(1, capital - camera.body), finder + camera.width * 3 / 8, top + 1));
  const int lens = camera.lens, lensX = x + (camera.width - lens) / 2;
  const int lensY = top + (camera.body - lens) / 2;
  // A lens of four pixels reads best square.
  const UniqueRegion hole(lens < 5 ? CreateRectRgn(lensX, lensY, lensX + lens, lensY + lens)
                                   : CreateEllipticRgn(lensX, lensY, lensX + lens + 1,
                                                       lensY + lens + 1));
  const UniqueRegion bounds(CreateRectRgnIndirect(&clip));
  if (!shape || !finderShape || !hole || !bounds) return;
  CombineRgn(shape.Get(), shape.Get(), finderShape.Get(), RGN_OR);
  CombineRgn(shape.Get(), shape.Get(), hole.Get(), RGN_DIFF);
  CombineRgn(shape.Get(), shape.Get(), bounds.Get(), RGN_AND);
  const UniqueBrush ink(CreateSolidBrush(GetTextColor(dc)));
  if (ink) FillRgn(dc, shape.Get(), ink.Get());
}

// A stretch of text in one font: characters beyond the plane with their own
// font, the rest with the DC's font and Uniscribe's fallback.
struct Run {
  size_t begin = 0, end = 0;
  HFONT font = nullptr;
  int ascent = 0;
  bool camera = false;  // the camera mark, drawn as a picture
};

struct Line {
  size_t begin = 0, end = 0;
  bool ellipsis = false;
};

// One Uniscribe analysis of a stretch, in the font selected at the time.
class Analysis {
 public:
  Analysis(HDC dc, std::wstring_view text, bool fallback) {
    if (text.empty()) return;
    const int length = static_cast<int>(text.size());
    ScriptStringAnalyse(dc, text.data(), length, length * 3 / 2 + 16, -1,
                        SSA_GLYPHS | (fallback ? SSA_FALLBACK : 0), 0, nullptr, nullptr, nullptr,
                        nullptr, nullptr, &analysis_);
  }
  ~Analysis() {
    if (analysis_ != nullptr) ScriptStringFree(&analysis_);
  }
  Analysis(const Analysis&) = delete;
  Analysis& operator=(const Analysis&) = delete;
  SCRIPT_STRING_ANALYSIS Get() const { return analysis_; }

 private:
  SCRIPT_STRING_ANALYSIS analysis_ = nullptr;
};

// The glyphs of `text` in the selected font; none when it lacks one.
std::vector<WORD> Glyphs(HDC dc, std::wstring_view text) {
  const int length = static_cast<int>(text.size());
  std::vector<SCRIPT_ITEM> items(text.size() + 2);
  int count = 0;
  if (FAILED(ScriptItemize(text.data(), length, length + 1, nullptr, nullptr, items.data(),
                           &count))) {
    return {};
  }
  SCRIPT_CACHE cache = nullptr;
  SCRIPT_FONTPROPERTIES properties{};
  properties.cBytes = sizeof properties;
  bool all = SUCCEEDED(ScriptGetFontProperties(dc, &cache, &properties));
  std::vector<WORD> shaped;
  for (int k = 0; all && k < count; ++k) {
    const int begin = items[k].iCharPos, size = items[k + 1].iCharPos - begin;
    std::vector<WORD> glyphs(static_cast<size_t>(size) * 3 / 2 + 16), clusters(size);
    std::vector<SCRIPT_VISATTR> attributes(glyphs.size());
    int glyphCount = 0;
    all = SUCCEEDED(ScriptShape(dc, &cache, text.data() + begin, size,
                                static_cast<int>(glyphs.size()), &items[k].a, glyphs.data(),
                                clusters.data(), attributes.data(), &glyphCount));
    for (int g = 0; all && g < glyphCount; ++g) {
      all = glyphs[g] != 0 && glyphs[g] != properties.wgDefault;
      shaped.push_back(glyphs[g]);
    }
  }
  ScriptFreeCache(&cache);
  if (!all) shaped.clear();
  return shaped;
}

int Ascent(HDC dc) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics.tmAscent;
}

class FallbackLayout {
 public:
  FallbackLayout(HDC dc, std::wstring_view text) : dc_(dc), text_(text), widths_(text.size()) {
    mainFont_ = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    mainAscent_ = metrics.tmAscent;
    lineHeight_ = metrics.tmHeight;
    capitalHeight_ = std::max<int>(1, metrics.tmAscent - metrics.tmInternalLeading);
    for (size_t i = 0; i < text.size();) {
      if (CameraAt(text, i)) {
        runs_.push_back(Run{i, i + 2, nullptr, 0, true});
        widths_[i] = CameraAdvance(capitalHeight_);
        i += 2;
        continue;
      }
      const bool beyond = PairAt(text, i);
      size_t end = i;
      while (end < text.size() && !CameraAt(text, end) && PairAt(text, end) == beyond)
        end += beyond ? 2 : 1;
      AddRun(i, end, beyond);
      i = end;
    }
    ellipsisWidth_ = Width(kEllipsis, mainFont_);
  }

  int LineHeight() const { return lineHeight_; }

  // Lines no wider than `width` where wrapping, else one line.
  std::vector<Line> Break(int width, bool wrap) const {
    std::vector<Line> lines;
    size_t begin = 0;
    while (lines.empty() || begin < text_.size()) {
      size_t i = begin, lastBreak = begin;
      int x = 0;
      while (i < text_.size() && text_[i] != L'\n') {
        const size_t next = i + (PairAt(text_, i) ? 2 : 1);
        const int w = WidthOf(i, next);
        if (wrap && x + w > width && i > begin) {
          if (text_[i] != L' ' && lastBreak > begin) i = lastBreak;
          break;
        }
        x += w;
        i = next;
        if (text_[i - 1] == L' ') lastBreak = i;
      }
      size_t end = i;
      while (end > begin && text_[end - 1] == L' ') --end;
      lines.push_back(Line{begin, end});
      while (i < text_.size() && text_[i] == L' ') ++i;
      if (i < text_.size() && text_[i] == L'\n') ++i;
      begin = i;
      if (!wrap && begin < text_.size()) lines.back().end = text_.size();
      if (!wrap) break;
    }
    return lines;
  }

  // Cuts a line to leave room for "…" within `width`.
  void Elide(Line& line, int width) const {
    int x = 0;
    size_t end = line.begin;
    while (end < line.end) {
      const size_t next = end + (PairAt(text_, end) ? 2 : 1);
      if (x + WidthOf(end, next) > width - ellipsisWidth_) break;
      x += WidthOf(end, next);
      end = next;
    }
    while (end > line.begin && text_[end - 1] == L' ') --end;
    line.end = end;
    line.ellipsis = true;
  }

  int WidthOf(size_t begin, size_t end) const {
    int width = 0;
    for (size_t i = begin; i < end; ++i) width += widths_[i];
    return width;
  }

  void DrawLine(const Line& line, int x, int y, const RECT& clip) const {
    for (const Run& run : runs_) {
      const size_t begin = std::max(run.begin, line.begin), end = std::min(run.end, line.end);
      if (begin >= end) continue;
      if (run.camera) {
        DrawCamera(dc_, x, y + mainAscent_, capitalHeight_, clip);
        x += WidthOf(begin, end);
        continue;
      }
      SelectScope font(dc_, run.font);
      const Analysis analysis(dc_, text_.substr(begin, end - begin), run.font == mainFont_);
      if (analysis.Get() != nullptr) {
        ScriptStringOut(analysis.Get(), x, y + mainAscent_ - run.ascent, ETO_CLIPPED, &clip, 0, 0,
                        FALSE);
      }
      x += WidthOf(begin, end);
    }
    if (line.ellipsis) ExtTextOutW(dc_, x, y, ETO_CLIPPED, &clip, kEllipsis, 1, nullptr);
  }

 private:
  void AddRun(size_t begin, size_t end, bool beyond) {
    Run run{begin, end, mainFont_, mainAscent_};
    const std::wstring_view part = text_.substr(begin, end - begin);
    if (beyond && Glyphs(dc_, part).empty()) {
      LOGFONTW wanted{};
      GetObjectW(mainFont_, sizeof wanted, &wanted);
      for (const wchar_t* face : kFallbackFaces) {
        wcsncpy_s(wanted.lfFaceName, face, _TRUNCATE);
        if (UniqueFont candidate = FallbackFont(wanted, part)) {
          SelectScope selected(dc_, candidate.Get());
          run.font = candidate.Get();
          run.ascent = Ascent(dc_);
          fonts_.push_back(std::move(candidate));
          break;
        }
      }
    }
    SelectScope font(dc_, run.font);
    const Analysis analysis(dc_, part, run.font == mainFont_);
    if (analysis.Get() != nullptr) ScriptStringGetLogicalWidths(analysis.Get(), &widths_[begin]);
    runs_.push_back(run);
  }

  // A font of the face of `wanted` when it has every glyph of `part`.
  UniqueFont FallbackFont(const LOGFONTW& wanted, std::wstring_view part) const {
    UniqueFont font(CreateFontIndirectW(&wanted));
    if (!font) return font;
    SelectScope selected(dc_, font.Get());
    return Glyphs(dc_, part).empty() ? UniqueFont() : std::move(font);
  }

  int Width(std::wstring_view text, HFONT font) const {
    SelectScope selected(dc_, font);
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  HDC dc_;
  std::wstring_view text_;
  std::vector<int> widths_;
  std::vector<Run> runs_;
  std::vector<UniqueFont> fonts_;
  HFONT mainFont_ = nullptr;
  int mainAscent_ = 0, lineHeight_ = 1, capitalHeight_ = 1, ellipsisWidth_ = 0;
};

}  // namespace

void DrawFallbackText(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  const FallbackLayout layout(dc, text);
  const int width = rect.right - rect.left, lineHeight = std::max(1, layout.LineHeight());
  const bool single = (format & DT_SINGLELINE) != 0;
  std::vector<Line> lines = layout.Break(width, !single && (format & DT_WORDBREAK) != 0);
  if ((format & DT_CALCRECT) != 0) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max<int>(widest, layout.WidthOf(line.begin, line.end));
    rect.right = rect.left + widest;
    rect.bottom = rect.top + static_cast<int>(lines.size()) * lineHeight;
    return;
  }
  const size_t fit =
      single ? 1 : static_cast<size_t>(std::max<int>(1, (rect.bottom - rect.top) / lineHeight));
  if ((format & DT_END_ELLIPSIS) != 0 && !lines.empty()) {
    const bool more = lines.size() > fit;
    if (more) lines.resize(fit);
    Line& last = lines.back();
    if (more || layout.WidthOf(last.begin, last.end) > width) layout.Elide(last, width);
  }
  int y = rect.top;
  if (single && (format & DT_VCENTER) != 0) y += (rect.bottom - rect.top - lineHeight) / 2;
  for (const Line& line : lines) {
    if (y >= rect.bottom) break;
    layout.DrawLine(line, rect.left, y, rect);
    y += lineHeight;
  }
}

}  // namespace kontaktel
