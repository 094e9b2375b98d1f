#include "text/iso2022jp.h"

namespace kontaktel {

namespace {

enum class JisSet { kAscii, kJisX0208, kJisX0212, kKatakana };

constexpr char kEscape = '\x1B';
constexpr char kShiftOut = '\x0E';  // half-width katakana until shift-in
constexpr char kShiftIn = '\x0F';

// The set an escape sequence at the start of `rest` selects, and its length.
bool ReadEscape(std::string_view rest, JisSet& set, size_t& length) {
  struct Escape {
    std::string_view bytes;
    JisSet set;
  };
  constexpr Escape kEscapes[] = {
      {"\x1B(B", JisSet::kAscii},    {"\x1B(J", JisSet::kAscii},     {"\x1B$@", JisSet::kJisX0208},
      {"\x1B$B", JisSet::kJisX0208}, {"\x1B$(D", JisSet::kJisX0212}, {"\x1B(I", JisSet::kKatakana},
  };
  for (const Escape& escape : kEscapes) {
    if (rest.starts_with(escape.bytes)) {
      set = escape.set;
      length = escape.bytes.size();
      return true;
    }
  }
  return false;
}

bool IsJisByte(char c) {
  return c >= 0x21 && c <= 0x7E;
}

}  // namespace

std::string Iso2022JpToEucJp(std::string_view bytes) {
  std::string euc;
  euc.reserve(bytes.size());
  JisSet set = JisSet::kAscii;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    size_t length = 0;
    if (c == kEscape && ReadEscape(bytes.substr(i), set, length)) {
      i += length;
      continue;
    }
    if (c == kShiftOut || c == kShiftIn) {
      set = c == kShiftOut ? JisSet::kKatakana : JisSet::kAscii;
      ++i;
      continue;
    }
    const bool pair = i + 1 < bytes.size() && IsJisByte(c) && IsJisByte(bytes[i + 1]);
    if ((set == JisSet::kJisX0208 || set == JisSet::kJisX0212) && pair) {
      if (set == JisSet::kJisX0212) euc += '\x8F';
      euc += static_cast<char>(c | 0x80);
      euc += static_cast<char>(bytes[i + 1] | 0x80);
      i += 2;
      continue;
    }
    if (set == JisSet::kKatakana && IsJisByte(c)) {
      euc += '\x8E';
      euc += static_cast<char>(c | 0x80);
      ++i;
      continue;
    }
    euc += c;
    ++i;
  }
  return euc;
}

}  // namespace kontaktel
