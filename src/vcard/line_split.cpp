#include "vcard/line_split.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kontaktel {

namespace {

bool IsBreak(wchar_t c) {
  return c == L'\r' || c == L'\n';
}

#if defined(__SSE2__)
// Sixteen bytes of wide characters at a time: the lanes equal to `c`.
__m128i Splat(wchar_t c) {
  if constexpr (sizeof(wchar_t) == 2) return _mm_set1_epi16(static_cast<short>(c));
  return _mm_set1_epi32(static_cast<int>(c));
}

__m128i Equal(__m128i a, __m128i b) {
  if constexpr (sizeof(wchar_t) == 2) return _mm_cmpeq_epi16(a, b);
  return _mm_cmpeq_epi32(a, b);
}

__m128i Load(const wchar_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

constexpr size_t kLanes = 16 / sizeof(wchar_t);

// Set bits of a 16-bit mask, without a library call where the CPU's own
// instruction is not assumed.
size_t CountBits(unsigned mask) {
  mask = mask - ((mask >> 1) & 0x5555u);
  mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
  mask = (mask + (mask >> 4)) & 0x0F0Fu;
  return (mask + (mask >> 8)) & 0x1Fu;
}
#endif

// The first CR or LF at or after `i`, or the text's end. Lines are long and
// breaks rare, so the scan takes a vector of characters at a time.
size_t FindBreak(std::wstring_view text, size_t i) {
  const wchar_t* const data = text.data();
  const size_t size = text.size();
#if defined(__SSE2__)
  const __m128i cr = Splat(L'\r'), lf = Splat(L'\n');
  while (size - i >= kLanes) {
    const __m128i v = Load(data + i);
    const int mask = _mm_movemask_epi8(_mm_or_si128(Equal(v, cr), Equal(v, lf)));
    if (mask != 0)
      return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / sizeof(wchar_t);
    i += kLanes;
  }
#endif
  while (i < size && !IsBreak(data[i])) ++i;
  return i;
}

}  // namespace

// Every line but the last ends in an LF, or, in files that break lines with
// CR alone, in a CR.
size_t EstimateLines(std::wstring_view text) {
  size_t cr = 0, lf = 0, i = 0;
#if defined(__SSE2__)
  const __m128i crs = Splat(L'\r'), lfs = Splat(L'\n');
  for (; text.size() - i >= kLanes; i += kLanes) {
    const __m128i v = Load(text.data() + i);
    const auto crMask = static_cast<unsigned>(_mm_movemask_epi8(Equal(v, crs)));
    const auto lfMask = static_cast<unsigned>(_mm_movemask_epi8(Equal(v, lfs)));
    if ((crMask | lfMask) == 0) continue;
    cr += CountBits(crMask);
    lf += CountBits(lfMask);
  }
  cr /= sizeof(wchar_t);
  lf /= sizeof(wchar_t);
#endif
  for (; i < text.size(); ++i) {
    cr += text[i] == L'\r';
    lf += text[i] == L'\n';
  }
  return std::max(cr, lf) + 1;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  if (text.empty()) return lines;
  size_t i = 0;
  if (IsBreak(text[0])) {
    lines.emplace_back();
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  while (i < text.size()) {
    const size_t start = i;
    while (i < text.size() && !IsBreak(text[i])) ++i;
    lines.push_back(text.substr(start, i - start));
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  return lines;
}

namespace {

// Builds the unfolded list one raw line at a time.
class Unfolder {
 public:
  explicit Unfolder(size_t expectedLines) { result_.lines.reserve(expectedLines); }

  void Add(std::wstring_view line) {
    if (line.empty()) return;
    const bool continues = line[0] == L' ' || line[0] == L'\t';
    if (!continues || result_.lines.empty()) {
      result_.lines.push_back(line);
      lastIsJoined_ = false;
      return;
    }
    if (!lastIsJoined_) {
      result_.joined.emplace_back(result_.lines.back());
      lastIsJoined_ = true;
    }
    std::wstring& joined = result_.joined.back();
    joined.append(line.substr(1));
    result_.lines.back() = joined;  // the append may have moved the text
  }

  LineList Take() { return std::move(result_); }

 private:
  LineList result_;
  // Whether the last output line already lives in `joined`, so that further
  // continuations append to it instead of copying it again.
  bool lastIsJoined_ = false;
};

}  // namespace

LineList UnfoldLines(const std::vector<std::wstring_view>& lines) {
  Unfolder unfolder(lines.size());
  for (const std::wstring_view line : lines) unfolder.Add(line);
  return unfolder.Take();
}

LineList UnfoldText(std::wstring_view text) {
  // Sized once for the common files; a file that mixes its breaks may grow it.
  Unfolder unfolder(EstimateLines(text));
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    i = FindBreak(text, i);
    unfolder.Add(text.substr(start, i - start));
    while (i < text.size() && IsBreak(text[i])) ++i;
  }
  return unfolder.Take();
}

bool LineReader::Scan(size_t from, Found& found, std::wstring& buffer) const {
  const size_t size = text_.size();
  while (from < size && IsBreak(text_[from])) ++from;
  if (from >= size) {
    reachedEnd_ = true;
    return false;
  }
  found.start = from;
  found.end = FindBreak(text_, from);
  found.joined = false;
  // Lines that begin with a blank or a tab continue this one, blank lines
  // between them notwithstanding.
  for (;;) {
    size_t next = found.end;
    while (next < size && IsBreak(text_[next])) ++next;
    if (next >= size) {
      reachedEnd_ = true;
      break;
    }
    if (text_[next] != L' ' && text_[next] != L'\t') break;
    if (!found.joined) {
      buffer.assign(text_.substr(found.start, found.end - found.start));
      found.joined = true;
    }
    const size_t end = FindBreak(text_, next);
    buffer.append(text_.substr(next + 1, end - next - 1));
    found.end = end;
  }
  found.line = found.joined ? std::wstring_view(buffer)
                            : text_.substr(found.start, found.end - found.start);
  return true;
}

bool LineReader::Next() {
  if (hasPeeked_) {
    hasPeeked_ = false;
    current_ = peeked_;
    if (current_.joined) {
      currentBuffer_.swap(peekedBuffer_);
      current_.line = currentBuffer_;
    }
  } else if (!Scan(takenEnd_, current_, currentBuffer_)) {
    current_ = Found{};
    return false;
  }
  takenEnd_ = current_.end;
  return true;
}

bool LineReader::Peek(std::wstring_view& next) {
  if (!hasPeeked_) {
    if (!Scan(takenEnd_, peeked_, peekedBuffer_)) return false;
    hasPeeked_ = true;
  }
  next = peeked_.line;
  return true;
}

void LineReader::Advance() {
  if (!hasPeeked_) return;
  hasPeeked_ = false;
  takenEnd_ = peeked_.end;
}

}  // namespace kontaktel
