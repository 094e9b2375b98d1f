// What the golden cards do not show: line breaks made one CR LF, and the
// rendering's own work per card. The texts themselves are in tests/data/cards.
#include "present/details.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/temp_file.h"
#include "text/file_text.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

TEST(NormalizeLineBreaks, MakesEveryBreakOneCrLf) {
  EXPECT_EQ(NormalizeLineBreaks(L""), L"");
  EXPECT_EQ(NormalizeLineBreaks(L"a\nb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\rb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\r\nb"), L"a\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"a\n\rb"), L"a\r\n\r\nb");
  EXPECT_EQ(NormalizeLineBreaks(L"\r\r\n\n"), L"\r\n\r\n\r\n");
  EXPECT_EQ(NormalizeLineBreaks(L"tab\there\x2028"), L"tab\there\x2028");
}

TEST(RenderCardDetails, BuildsItsTablesOnceAndAllocatesLittlePerCard) {
  const CardSet cards = ParseCards(DecodeFileText(test::ReadFixture("cards/details.vcf")));
  const Card card = cards[0];
  const size_t textBytes = RenderCardDetails(card, true).size() * sizeof(wchar_t);
  RenderCardDetails(card, false);
  size_t allocated = 0;
  {
    test::AllocationCounter counter;
    const std::wstring text = RenderCardDetails(card, true);
    allocated = counter.Bytes();
  }
  // The text, the values and captions on their way, one small map; building
  // the caption tables again would take more than this.
  EXPECT_LT(allocated, 5 * textBytes) << "text of " << textBytes << " bytes";
}

}  // namespace
}  // namespace kontaktel
