#include "text/text_util.h"

#include <gtest/gtest.h>

namespace kontaktel {
namespace {

TEST(EqualsAsciiUpper, IgnoresTheCaseOfAsciiLettersOnly) {
  EXPECT_TRUE(EqualsAsciiUpper(L"begin:vCard", L"BEGIN:VCARD"));
  EXPECT_FALSE(EqualsAsciiUpper(L"BEGIN:VCARD ", L"BEGIN:VCARD"));
  // Non-ASCII letters are not folded: a dotless i never reads as I.
  EXPECT_FALSE(EqualsAsciiUpper(L"\x0131tem", L"ITEM"));
  EXPECT_TRUE(StartsWithAsciiUpper(L"encoding=b", L"ENCODING="));
  EXPECT_FALSE(StartsWithAsciiUpper(L"ENC", L"ENCODING="));
}

}  // namespace
}  // namespace kontaktel
