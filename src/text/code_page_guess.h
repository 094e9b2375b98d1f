// Which single-byte code page an 8-bit file without a usable CHARSET is in.
#pragma once

#include <string_view>

namespace kontaktel {

// The page among Windows-1251, KOI8-R, Windows-1252, Windows-1254 and
// Windows-1250 whose letters fit the bytes best; Windows-1251 for every tie,
// every short or doubtful text, and for text without high bytes.
//
// The score: the bytes are cut into words (runs of what the page reads as
// letters). Only words holding a byte above 0x7F count, and each such word
// that fits the page adds the weights of its high letters: 2 for a letter its
// languages use, 1 for one they hardly do (Windows-1252 read as Þ, ð, ì, ò, ù;
// a Windows-1250 ĺ, ŕ, ţ; anything not Turkish in Windows-1254). A word fits
//   - every page when its case is one of lower, UPPER or Title;
//   - a Cyrillic page (1251, KOI8-R) when all its letters are Cyrillic: Russian
//     words are whole runs of high bytes;
//   - a Latin page (1252, 1254, 1250) when its high letters stand among Latin
//     ones: at least one ASCII letter, no more high letters than ASCII letters
//     plus one, and no three high letters in a row.
// The first 10,000 runs of letters holding a high byte are enough to tell.
// Another page beats Windows-1251 only by at least 4 points (two letters), and
// ties between the others go to the earlier in the order above. Russian text
// read in a Latin page gives words of high bytes only, and Windows-1251 and
// KOI8-R swap the case of each other's letters, so names in Title case decide.
unsigned GuessSingleByteCodePage(std::string_view bytes);

}  // namespace kontaktel
