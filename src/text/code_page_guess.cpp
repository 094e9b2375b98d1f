#include "text/code_page_guess.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "text/platform.h"

namespace kontaktel {

namespace {

constexpr unsigned kFallbackPage = 1251;
constexpr int kMinimumLead = 4;  // points another page needs above Windows-1251

enum class LetterCase : uint8_t { kNone, kUpper, kLower };

// Case of the letters the candidate pages can yield: Latin-1, Latin
// Extended-A and Cyrillic. Anything else is no letter.
LetterCase CaseOf(wchar_t c) {
  const unsigned u = static_cast<unsigned>(c);
  if (u >= 0xC0 && u <= 0xFF && u != 0xD7 && u != 0xF7) {
    return u <= 0xDE ? LetterCase::kUpper : LetterCase::kLower;
  }
  if (u >= 0x100 && u <= 0x17F) {
    if (u == 0x138 || u == 0x149 || u == 0x17F) return LetterCase::kLower;
    if (u == 0x178) return LetterCase::kUpper;
    const bool oddIsUpper = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    return (u % 2 == 1) == oddIsUpper ? LetterCase::kUpper : LetterCase::kLower;
  }
  if (u >= 0x400 && u <= 0x45F) return u <= 0x42F ? LetterCase::kUpper : LetterCase::kLower;
  if (u >= 0x460 && u <= 0x4FF) return u % 2 == 0 ? LetterCase::kUpper : LetterCase::kLower;
  return LetterCase::kNone;
}

struct Candidate {
  unsigned codePage;
  bool cyrillic;
  // With `typicalOnly`, the letters listed are the page's usual ones and every
  // other letter is rare; without it the letters listed are the rare ones.
  bool typicalOnly;
  std::wstring_view listed;
};

// In order of preference for ties.
constexpr std::array<Candidate, 5> kCandidates{{
    {1251, true, false, L""},
    {20866, true, false, L""},
    // Rare: Icelandic and Italian letters and the French ligatures, where
    // Windows-1250 has the common Czech ě ů ň, Polish ś, and Windows-1254 the
    // Turkish ş ğ ı.
    {1252, false, false,
     L"\u00D0\u00F0\u00DE\u00FE\u00DD\u00FD\u00FF\u0178\u00CC\u00EC"
     L"\u00D2\u00F2\u00D9\u00F9\u0152\u0153"},
    // Usual: the Turkish letters.
    {1254, false, true,
     L"\u00C7\u00E7\u011E\u011F\u0130\u0131\u00D6\u00F6\u015E\u015F"
     L"\u00DC\u00FC\u00C2\u00E2\u00CE\u00EE\u00DB\u00FB"},
    // Rare: Slovak ĺ ŕ and the cedilla ţ, where Windows-1254 has ş.
    {1250, false, false, L"\u0139\u013A\u0154\u0155\u0162\u0163"},
}};

struct ByteClass {
  LetterCase letterCase = LetterCase::kNone;
  bool high = false;
  bool cyrillic = false;
  uint8_t weight = 0;
};

using ByteTable = std::array<ByteClass, 256>;

ByteTable BuildTable(const Candidate& candidate) {
  ByteTable table{};
  for (unsigned byte = 'A'; byte <= 'Z'; ++byte) table[byte].letterCase = LetterCase::kUpper;
  for (unsigned byte = 'a'; byte <= 'z'; ++byte) table[byte].letterCase = LetterCase::kLower;
  for (unsigned byte = 0x80; byte < 0x100; ++byte) {
    const char in = static_cast<char>(byte);
    const std::wstring text = PlatformMultiByteToWide(&in, 1, candidate.codePage, false);
    if (text.size() != 1) continue;  // a page the platform lacks yields no letters
    const wchar_t c = text[0];
    ByteClass& entry = table[byte];
    entry.letterCase = CaseOf(c);
    if (entry.letterCase == LetterCase::kNone) continue;
    entry.high = true;
    entry.cyrillic = c >= 0x400 && c <= 0x4FF;
    const bool listed = candidate.listed.find(c) != std::wstring_view::npos;
    entry.weight = listed == candidate.typicalOnly ? 2 : 1;
  }
  return table;
}

// One word being read in one page.
struct Word {
  int asciiLetters = 0;
  int highLetters = 0;
  int highRun = 0;
  int longestHighRun = 0;
  int weight = 0;
  bool allCyrillic = true;
  bool firstUpper = false;
  bool laterUpper = false;
  bool laterLower = false;

  void Add(const ByteClass& letter) {
    const bool upper = letter.letterCase == LetterCase::kUpper;
    if (asciiLetters + highLetters == 0) {
      firstUpper = upper;
    } else {
      (upper ? laterUpper : laterLower) = true;
    }
    if (letter.high) {
      ++highLetters;
      longestHighRun = std::max(longestHighRun, ++highRun);
      weight += letter.weight;
    } else {
      ++asciiLetters;
      highRun = 0;
    }
    allCyrillic = allCyrillic && letter.cyrillic;
  }

  // The points the word gives its page: nothing unless it fits.
  int Points(bool cyrillicPage) const {
    if (highLetters == 0) return 0;
    const bool caseFits = !laterUpper || (firstUpper && !laterLower);
    if (!caseFits) return 0;
    const bool fits =
        cyrillicPage ? allCyrillic
                     : asciiLetters > 0 && highLetters <= asciiLetters + 1 && longestHighRun <= 2;
    return fits ? weight : 0;
  }
};

// Bytes that can belong to a word in some candidate page.
bool MayBeLetter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// The points of the words of `span` in one page.
int ScoreSpan(std::string_view span, const ByteTable& table, bool cyrillicPage) {
  int points = 0;
  Word word;
  for (const char c : span) {
    const ByteClass& entry = table[static_cast<unsigned char>(c)];
    if (entry.letterCase != LetterCase::kNone) {
      word.Add(entry);
      continue;
    }
    points += word.Points(cyrillicPage);
    word = Word{};
  }
  return points + word.Points(cyrillicPage);
}

}  // namespace

unsigned GuessSingleByteCodePage(std::string_view bytes) {
  static const std::array<ByteTable, kCandidates.size()> tables = [] {
    std::array<ByteTable, kCandidates.size()> built{};
    for (size_t i = 0; i < kCandidates.size(); ++i) built[i] = BuildTable(kCandidates[i]);
    return built;
  }();
  // Only words holding a high byte count, so the scan jumps from one high byte
  // to the next and scores the run of letter bytes around it in every page;
  // that many runs decide, however long the file.
  constexpr size_t kEnoughRuns = 10000;
  std::array<long long, kCandidates.size()> scores{};
  size_t runs = 0;
  size_t i = 0;
  while (runs < kEnoughRuns) {
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    if (i == bytes.size()) break;
    size_t begin = i;
    while (begin > 0 && MayBeLetter(bytes[begin - 1])) --begin;
    while (i < bytes.size() && MayBeLetter(bytes[i])) ++i;
    const std::string_view span = bytes.substr(begin, i - begin);
    for (size_t page = 0; page < kCandidates.size(); ++page) {
      scores[page] += ScoreSpan(span, tables[page], kCandidates[page].cyrillic);
    }
    ++runs;
  }
  size_t best = 0;
  for (size_t page = 1; page < kCandidates.size(); ++page) {
    if (scores[page] > scores[best]) best = page;
  }
  if (best == 0 || scores[best] < scores[0] + kMinimumLead) return kFallbackPage;
  return kCandidates[best].codePage;
}

}  // namespace kontaktel
