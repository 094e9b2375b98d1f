#include "present/image_data.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

// `length` characters of the standard Base64 alphabet, as an encoder writes them.
std::wstring Base64(size_t length, std::wstring_view start = L"") {
  static constexpr wchar_t kAlphabet[] =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::wstring text(start);
  for (size_t i = 0; text.size() < length; ++i) text += kAlphabet[(i * 7 + 3) % 64];
  return text;
}

struct Case {
  const char* what;
  std::wstring text;
  bool image;
};

TEST(LooksLikeImageData, HidesEncodedPicturesAndKeys) {
  const Case cases[] = {
      {"60 Base64 characters", Base64(60), true},
      {"URL-safe Base64 with padding", std::wstring(58, L'_') + L"==", true},
      {"a JPEG after a blank", L" " + Base64(99, L"/9j/"), true},
      {"a JPEG after line breaks and a tab", L"\r\n\t" + Base64(97, L"/9j/4AAQ"), true},
      // The start alone decides, whatever follows.
      {"a JPEG start and then prose", L"/9j/" + std::wstring(56, L' '), true},
      {"folded Base64, CR LF every 20", Base64(20) + L"\r\n" + Base64(20) + L"\r\n" + Base64(20),
       true},
      {"Base64 with one blank per 76 characters", Base64(76) + L" " + Base64(76), true},
      // Lines indented by four blanks, of which unfolding took one.
      {"indented Base64 lines", Base64(72) + L"   " + Base64(72) + L"   " + Base64(72), true},
      {"an indented key after an empty first line", L"   " + Base64(72) + L"   " + Base64(40),
       true},
      {"exactly 90 per cent of the alphabet", std::wstring(54, L'A') + std::wstring(6, L'!'), true},
      {"a data: URI of a photo", L"data:image/png;base64," + Base64(80, L"iVBOR"), true},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeImageData(c.text), c.image) << c.what;
}

TEST(LooksLikeImageData, ShowsTextAndShortValues) {
  const Case cases[] = {
      {"a 59-character JPEG start", Base64(59, L"/9j/"), false},
      {"empty", L"", false},
      {"under 90 per cent of the alphabet", std::wstring(53, L'A') + std::wstring(7, L'!'), false},
      // Line breaks count toward the 60 but are left out of the ratio.
      {"58 characters and a line break", Base64(29) + L"\r\n" + Base64(29), false},
      {"a long Russian note",
       L"Позвонить после обеда, спросить про дачу и про то, когда можно приехать в гости.", false},
      {"a long address",
       L"1 Infinite Loop\r\nBuilding 2, Cupertino, CA, 95014, United States of America", false},
      {"a long address of an FTP server", L"ftp://files.example.org/" + Base64(60), false},
      {"a blank per 50 characters and more", Base64(49) + L" " + Base64(12) + L" " + Base64(12),
       false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeImageData(c.text), c.image) << c.what;
}

TEST(LooksLikeImageData, CountsRunsOfBlanksAgainstTheOtherCharacters) {
  // 100 characters besides the blanks: two gaps are one per 50, still Base64;
  // a third makes it text. A run of blanks is one gap.
  const std::wstring a = Base64(40), b = Base64(30), c = Base64(30);
  EXPECT_TRUE(LooksLikeImageData(a + L" " + b + L" " + c));
  EXPECT_TRUE(LooksLikeImageData(a + L"    " + b + L"  " + c));
  EXPECT_FALSE(LooksLikeImageData(a + L" " + b + L" " + c + L" "));
  EXPECT_FALSE(LooksLikeImageData(L" " + a + L" " + b + L"   " + c));
  // Tabs are not blanks: they count as characters outside the alphabet.
  EXPECT_TRUE(LooksLikeImageData(a + L"\t" + b + L"\t" + c + L"\t"));
}

}  // namespace
}  // namespace kontaktel
