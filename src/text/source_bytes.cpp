#include "text/source_bytes.h"

#include <vector>

namespace kontaktel {

namespace {

constexpr unsigned kUtf8 = 65001, kUtf16 = 1200, kUtf16BigEndian = 1201;

bool IsBreak(unsigned c) {
  return c == '\r' || c == '\n';
}

// The file read as code units: bytes, or 16-bit units in the file's order.
class Units {
 public:
  Units(std::string_view bytes, unsigned codePage)
      : bytes_(reinterpret_cast<const unsigned char*>(bytes.data())),
        width_(codePage == kUtf16 || codePage == kUtf16BigEndian ? 2 : 1),
        bigEndian_(codePage == kUtf16BigEndian),
        count_(bytes.size() / width_) {}
  size_t count() const { return count_; }
  size_t width() const { return width_; }
  unsigned operator[](size_t i) const {
    if (width_ == 1) return bytes_[i];
    const unsigned first = bytes_[2 * i], second = bytes_[2 * i + 1];
    return bigEndian_ ? (first << 8 | second) : (second << 8 | first);
  }

 private:
  const unsigned char* bytes_;
  size_t width_;
  bool bigEndian_;
  size_t count_;
};

// Where the text starts in the units: after a byte-order mark.
size_t TextStart(std::string_view bytes, unsigned codePage, const Units& units) {
  if (units.width() == 2) return units.count() > 0 && units[0] == 0xFEFF ? 1 : 0;
  return codePage == kUtf8 && bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Unit positions right after each line break that made it into the text, in
// order; a UTF-8 fold inside a character (breaks, a blank, a continuation
// byte) was joined when the file was read and is no landmark.
std::vector<size_t> BreakEnds(unsigned codePage, const Units& units, size_t from) {
  std::vector<size_t> ends;
  const bool utf8 = codePage == kUtf8 && units.width() == 1;
  size_t i = from;
  while (i < units.count()) {
    if (!IsBreak(units[i])) {
      ++i;
      continue;
    }
    size_t run = i;
    while (run < units.count() && IsBreak(units[run])) ++run;
    const bool joined = utf8 && run + 1 < units.count() &&
                        (units[run] == ' ' || units[run] == '\t') &&
                        (units[run + 1] & 0xC0) == 0x80;
    if (!joined) {
      for (size_t k = i + 1; k <= run; ++k) ends.push_back(k);
    }
    i = run;
  }
  return ends;
}

bool AtLineStart(std::wstring_view text, size_t at) {
  return at == 0 || at == text.size() || (at <= text.size() && IsBreak(text[at - 1]));
}

}  // namespace

std::optional<std::string_view> SourceBytes(const FileBytes& file, std::wstring_view text,
                                            size_t begin, size_t end) {
  return SourceBytes(file.bytes, file.codePage, true, text, begin, end);
}

std::optional<std::string_view> SourceBytes(std::string_view bytes, unsigned codePage,
                                            bool fileStart, std::wstring_view text, size_t begin,
                                            size_t end) {
  if (begin > end || end > text.size() || !AtLineStart(text, begin) || !AtLineStart(text, end))
    return std::nullopt;
  const Units units(bytes, codePage);
  const size_t start = fileStart ? TextStart(bytes, codePage, units) : 0;
  const std::vector<size_t> breaks = BreakEnds(codePage, units, start);
  size_t textBreaks = 0, beforeBegin = 0, beforeEnd = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == begin) beforeBegin = textBreaks;
    if (i == end) beforeEnd = textBreaks;
    textBreaks += IsBreak(text[i]) ? 1 : 0;
  }
  if (begin == text.size()) beforeBegin = textBreaks;
  if (end == text.size()) beforeEnd = textBreaks;
  if (textBreaks != breaks.size()) return std::nullopt;
  // A position at a line start lies right after its break, or at either end.
  const auto place = [&](size_t at, size_t before) {
    if (at == text.size()) return units.count();
    return before == 0 ? start : breaks[before - 1];
  };
  const size_t from = place(begin, beforeBegin), to = place(end, beforeEnd);
  if (from > to) return std::nullopt;
  return bytes.substr(from * units.width(), (to - from) * units.width());
}

}  // namespace kontaktel
