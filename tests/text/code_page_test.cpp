// Real exports in their own code pages, read with the right names: the page a
// CHARSET parameter names, or the page the bytes fit when none does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "present/card_accessors.h"
#include "support/temp_file.h"
#include "text/code_page_guess.h"
#include "text/file_text.h"
#include "text/platform.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

using test::TempFile;

struct Export {
  const char* what;
  std::string bytes;
  unsigned codePage;
  std::vector<std::wstring> names;
};

void ExpectReadAs(const Export& file) {
  TempFile temp(file.bytes);
  const FileText read = LoadFileTextAndCodePage(temp.Path().c_str());
  EXPECT_EQ(read.codePage, file.codePage) << file.what;
  const CardSet cards = ParseCards(read.text);
  std::vector<std::wstring> names;
  for (size_t i = 0; i < cards.size(); ++i) names.push_back(CardDisplayName(cards[i]));
  EXPECT_EQ(names, file.names) << file.what;
}

TEST(CodePage, NamedByTheFilesCharsetParameters) {
  const Export files[] = {
      {"Japanese phone export in Shift_JIS, trail bytes 0x5C included",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x8ER\x93"
       "c;\x91\xBE\x98Y\r\n"
       "FN;CHARSET=SHIFT_JIS:\x91\xBE\x98Y \x8ER\x93"
       "c\r\nTEL;CELL:+1 555 0100\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x94\\\x93o;\x83\\\x83"
       "E\x83^\r\n"
       "FN;CHARSET=SHIFT_JIS:\x83\\\x83"
       "E\x83^ \x94\\\x93o\r\nEND:VCARD\r\n",
       932,
       {L"太郎 山田", L"ソウタ 能登"}},
      {"Greek Outlook export in Windows-1253",
       "BEGIN:VCARD\r\nVERSION:2.1\r\n"
       "N;CHARSET=Windows-1253:\xD0\xE1\xF0\xE1\xE4\xFC\xF0\xEF\xF5\xEB\xEF\xF2;"
       "\xC3\xE9\xFE\xF1\xE3\xEF\xF2\r\n"
       "FN;CHARSET=Windows-1253:\xC3\xE9\xFE\xF1\xE3\xEF\xF2 "
       "\xD0\xE1\xF0\xE1\xE4\xFC\xF0\xEF\xF5\xEB\xEF\xF2\r\n"
       "END:VCARD\r\n",
       1253,
       {L"Γιώργος Παπαδόπουλος"}},
      {"Chinese as GB2312",
       "BEGIN:VCARD\r\nFN;CHARSET=GB2312:\xCE\xB0 \xD5\xC5\r\nEND:VCARD\r\n",
       936,
       {L"伟 张"}},
      {"Chinese as BIG5",
       "BEGIN:VCARD\r\nFN;CHARSET=BIG5:\xA4j\xA4\xE5 \xB3\xAF\r\nEND:VCARD\r\n",
       950,
       {L"大文 陳"}},
      {"Korean as EUC-KR",
       "BEGIN:VCARD\r\nFN;CHARSET=EUC-KR:\xB9\xCE\xC1\xD8 \xB1\xE8\r\nEND:VCARD\r\n",
       949,
       {L"민준 김"}},
      {"Japanese as EUC-JP",
       "BEGIN:VCARD\r\nFN;CHARSET=EUC-JP:\xB2\xD6\xBB\xD2 \xC5\xC4\xC3\xE6\r\nEND:VCARD\r\n",
       20932,
       {L"花子 田中"}},
      {"Ukrainian as KOI8-U",
       "BEGIN:VCARD\r\nFN;CHARSET=KOI8-U:\xF4\xC1\xD2\xC1\xD3 \xFB\xC5\xD7\xDE\xC5\xCE\xCB\xCF\r\n"
       "NOTE;CHARSET=KOI8-U:\xA7\xD6\xC1\r\nEND:VCARD\r\n",
       21866,
       {L"Тарас Шевченко"}},
      {"Russian as IBM866",
       "BEGIN:VCARD\r\nFN;CHARSET=IBM866:\x88\xA2\xA0\xAD\r\nEND:VCARD\r\n",
       866,
       {L"Иван"}},
  };
  for (const Export& file : files) ExpectReadAs(file);
}

TEST(CodePage, PagesWineLacksAreReadThroughTheNearestOne) {
  // Wine 8 has neither GB18030, ISO-2022-JP nor ISO-8859-10: GBK, EUC-JP and
  // Latin-1 read the same characters there, and the dump tells which page did.
  const bool hasGb18030 = !PlatformMultiByteToWide("\xD5\xC5", 2, 54936, false).empty();
  const bool hasJis = !PlatformMultiByteToWide("\x1B$BED\x1B(B", 8, 50220, false).empty();
  const bool hasNordic = !PlatformMultiByteToWide("\xF8", 1, 28600, false).empty();
  const Export files[] = {
      {"GB18030",
       "BEGIN:VCARD\r\nFN;CHARSET=GB18030:\xCE\xB0 \xD5\xC5\r\nEND:VCARD\r\n",
       hasGb18030 ? 54936u : 936u,
       {L"伟 张"}},
      // Seven-bit, so valid UTF-8, and its second byte pairs hold ';'.
      {"ISO-2022-JP",
       "BEGIN:VCARD\r\nN;CHARSET=ISO-2022-JP:\x1B$BEDCf\x1B(B;\x1B$B2V;R\x1B(B\r\nEND:VCARD\r\n",
       hasJis ? 50220u : 20932u,
       {L"花子 田中"}},
      {"ISO-8859-10",
       "BEGIN:VCARD\r\nFN;CHARSET=ISO-8859-10:Bj\xF8rn S\xE6ther\r\nEND:VCARD\r\n",
       hasNordic ? 28600u : 28591u,
       {L"Bjørn Sæther"}},
  };
  for (const Export& file : files) ExpectReadAs(file);
}

TEST(CodePage, GuessedFromTheLettersWithoutParameters) {
  const Export files[] = {
      {"German",
       "BEGIN:VCARD\r\nN:M\xFCller;J\xFCrgen\r\nFN:J\xFCrgen M\xFCller\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nN:Wei\xDF;Heike\r\nFN:Heike Wei\xDF\r\nEND:VCARD\r\n",
       1252,
       {L"Jürgen Müller", L"Heike Weiß"}},
      {"Swedish",
       "BEGIN:VCARD\r\nN:\xC4ngstr\xF6m;\xC5sa\r\nFN:\xC5sa \xC4ngstr\xF6m\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nN:\xD6"
       "berg;Bj\xF6rn\r\nFN:Bj\xF6rn \xD6"
       "berg\r\nEND:VCARD\r\n",
       1252,
       {L"Åsa Ängström", L"Björn Öberg"}},
      {"Turkish",
       "BEGIN:VCARD\r\nN:Y\xFDlmaz;\xDE\xFCkr\xFC\r\nFN:\xDE\xFCkr\xFC Y\xFDlmaz\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nN:\xD6zt\xFCrk;\xC7"
       "a\xF0la\r\nFN:\xC7"
       "a\xF0la \xD6zt\xFCrk\r\nEND:VCARD\r\n",
       1254,
       {L"Şükrü Yılmaz", L"Çağla Öztürk"}},
      {"Polish",
       "BEGIN:VCARD\r\nN:Wa\xB3\xEAsa;\xA3ukasz\r\nFN:\xA3ukasz Wa\xB3\xEAsa\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nN:Wi\x9Cniewska;Ma\xB3gorzata\r\nFN:Ma\xB3gorzata Wi\x9Cniewska\r\n"
       "END:VCARD\r\n",
       1250,
       {L"Łukasz Wałęsa", L"Małgorzata Wiśniewska"}},
      {"Czech",
       "BEGIN:VCARD\r\nN:Dvo\xF8\xE1k;Ji\xF8\xED\r\nFN:Ji\xF8\xED Dvo\xF8\xE1k\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nN:R\xF9\x9Ei\xE8kov\xE1;V\xECra\r\nFN:V\xECra R\xF9\x9Ei\xE8kov\xE1\r\n"
       "END:VCARD\r\n",
       1250,
       {L"Jiří Dvořák", L"Věra Růžičková"}},
      {"Russian in KOI8-R",
       "BEGIN:VCARD\r\nN:\xF0\xC5\xD4\xD2\xCF\xD7;\xE9\xD7\xC1\xCE\r\nFN:\xE9\xD7\xC1\xCE "
       "\xF0\xC5\xD4\xD2\xCF\xD7\r\n"
       "END:VCARD\r\nBEGIN:VCARD\r\nFN:\xE1\xCE\xCE\xC1 "
       "\xF3\xCD\xC9\xD2\xCE\xCF\xD7\xC1\r\nEND:VCARD\r\n",
       20866,
       {L"Иван Петров", L"Анна Смирнова"}},
      {"short Russian names",
       "BEGIN:VCARD\r\nFN:\xDF\xED\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:\xC8\xFF\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nFN:\xCB\xE5\xE2\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:\xDE\xEB;\xDF\r\nEND:"
       "VCARD\r\n",
       1251,
       {L"Ян", L"Ия", L"Лев", L"Я Юл"}},
      {"Latin and Cyrillic mixed",
       "BEGIN:VCARD\r\nFN:Ivan \xC8\xE2\xE0\xED\xEE\xE2\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nFN:\xC0\xED\xED\xE0 Smith\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nFN:\xCE\xCE\xCE \xD0\xEE\xEC\xE0\xF8\xEA\xE0\r\nORG:Caf\xE9 "
       "\xAB\xCB\xE0\xE4\xE0\xBB\r\n"
       "END:VCARD\r\n",
       1251,
       {L"Ivan Иванов", L"Анна Smith", L"ООО Ромашка"}},
  };
  for (const Export& file : files) ExpectReadAs(file);
}

TEST(GuessSingleByteCodePage, Windows1251WinsTiesAndDoubt) {
  struct Case {
    const char* what;
    std::string bytes;
    unsigned codePage;
  };
  const Case cases[] = {
      {"no high bytes", "FN:Anna\r\n", 1251},
      {"one Latin word is too short to tell", "FN:Caf\xE9\r\n", 1251},
      {"lower-case KOI8-R reads as upper-case Windows-1251",
       "\xC9\xD7\xC1\xCE \xD0\xC5\xD4\xD2\xCF\xD7", 1251},
      {"a Russian name typed with a Latin A among Russian ones",
       "FN:A\xED\xED\xE0\r\nFN:\xCE\xEB\xFC\xE3\xE0 \xC8\xE2\xE0\xED\xEE\xE2\xE0\r\n", 1251},
      {"Latin-1 words in two cards", "FN:Ren\xE9\r\nFN:Jos\xE9\r\n", 1252},
      {"KOI8-R title case", "FN:\xE9\xD7\xC1\xCE\r\n", 20866},
  };
  for (const Case& c : cases) EXPECT_EQ(GuessSingleByteCodePage(c.bytes), c.codePage) << c.what;
}

TEST(DecodeFileTextAndCodePage, ReportsThePageOfEveryPath) {
  EXPECT_EQ(DecodeFileTextAndCodePage("FN:Ann\r\n").codePage, 65001u);
  EXPECT_EQ(DecodeFileTextAndCodePage("\xEF\xBB\xBF"
                                      "FN:Ann")
                .codePage,
            65001u);
  EXPECT_EQ(DecodeFileTextAndCodePage(std::string("\xFF\xFE"
                                                  "A\0",
                                                  4))
                .codePage,
            1200u);
  EXPECT_EQ(DecodeFileTextAndCodePage(std::string("\xFE\xFF\0A", 4)).codePage, 1201u);
  EXPECT_EQ(DecodeFileTextAndCodePage("N;CHARSET=cp1252:Fran\xE7ois\r\n").codePage, 1252u);
  // US-ASCII says nothing about the high bytes it does not hold.
  EXPECT_EQ(DecodeFileTextAndCodePage("N;CHARSET=US-ASCII:\xC8\xE2\xE0\xED\r\n").codePage, 1251u);
  const FileText nothing = DecodeFileTextAndCodePage("");
  EXPECT_EQ(nothing.text, L"");
  EXPECT_EQ(nothing.codePage, 0u);
}

}  // namespace
}  // namespace kontaktel
