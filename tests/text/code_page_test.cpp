// The pages Wine lacks; real exports in their own pages are golden cards
// (tests/data/cards/page-*), the guess and the page each path reports a table.
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

}  // namespace
}  // namespace kontaktel
