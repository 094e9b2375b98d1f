#include "vcard/property_line.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "vcard/line_split.h"

namespace kontaktel {
namespace {

using Texts = std::vector<std::wstring>;
using Views = std::vector<std::wstring_view>;

PropertyLine Parse(std::wstring_view line) {
  std::optional<PropertyLine> parsed = ParsePropertyLine(line);
  EXPECT_TRUE(parsed.has_value()) << "no property in: " << std::wstring(line).size();
  return parsed.value_or(PropertyLine{});
}

// Applies the quoted-printable rule to the first line's value and returns the
// value and the index of the first line left unread.
std::pair<std::wstring, size_t> ContinueQp(std::vector<std::wstring_view> lines) {
  std::wstring value(Parse(lines[0]).value);
  size_t index = 0;
  ContinueQuotedPrintable(lines, index, value);
  return {value, index + 1};
}

TEST(ContinueQuotedPrintable, JoinsSoftBreaksAndStopsAtTheNextProperty) {
  using Result = std::pair<std::wstring, size_t>;
  EXPECT_EQ(ContinueQp({L"NOTE;QP:=D0=9F=D1=80=D0=B8=", L"=D0=B2=D0=B5=", L"=D1=82", L"TEL:1"}),
            (Result{L"=D0=9F=D1=80=D0=B8=D0=B2=D0=B5=D1=82", 3}));
  EXPECT_EQ(ContinueQp({L"NOTE;QP:line one=", L"line two=", L"line three", L"TEL:1"}),
            (Result{L"line oneline twoline three", 3}));
  // Stops before a property with or without a soft break.
  EXPECT_EQ(ContinueQp({L"NOTE;QP:abc=", L"TEL;CELL:123"}), (Result{L"abc", 1}));
  EXPECT_EQ(ContinueQp({L"NOTE;QP:abc", L"TEL;CELL:123"}), (Result{L"abc", 1}));
  // Without a soft break a line with no ":" is taken in, one with a ":" is not.
  EXPECT_EQ(ContinueQp({L"NOTE;QP:half a", L" word", L"END:VCARD"}), (Result{L"half aword", 2}));
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a", L"time 10: late", L"x"}), (Result{L"a", 1}));
  // After a soft break, "10: late" does not look like a property (blank before ":").
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a=", L"time 10: late"}), (Result{L"atime 10: late", 2}));
  // A line that begins with "=" never looks like a property.
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a", L"=3D:x", L"TEL:1"}), (Result{L"a=3D:x", 2}));
  // Digits alone before ":" are not a property name.
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a=", L"12:30", L"TEL:1"}), (Result{L"a12:30", 2}));
  // Blank lines are consumed; trailing "=" are removed at the end.
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a=", L" \x0B ", L"b==", L"  "}), (Result{L"ab", 4}));
  EXPECT_EQ(ContinueQp({L"NOTE;QP:a==="}), (Result{L"a", 1}));
  EXPECT_EQ(ContinueQp({L"NOTE;QP:==="}), (Result{L"", 1}));
}

TEST(ContinueQuotedPrintable, SoftBreakBeforeAnIndentedLineIsJoinedByUnfolding) {
  const std::wstring text = L"NOTE;QP:caf=\r\n C3=A9\r\nTEL:1";
  const LineList lines = UnfoldLines(SplitLines(text));
  std::wstring value(Parse(lines.lines[0]).value);
  size_t index = 0;
  ContinueQuotedPrintable(lines.lines, index, value);
  EXPECT_EQ(value, L"caf=C3=A9");
  EXPECT_EQ(index, 0u);
}

TEST(ContinueQuotedPrintable, WorkIsLinearInTheInput) {
  std::vector<std::wstring_view> lines{L"NOTE;QP:start="};
  for (int i = 0; i < 100000; ++i) lines.push_back(L"=41=42=43=44=45=46=47=48=");
  lines.push_back(L"TEL:1");
  std::wstring value(Parse(lines[0]).value);
  size_t index = 0;
  size_t allocated = 0;
  {
    test::AllocationCounter counter;
    ContinueQuotedPrintable(lines, index, value);
    allocated = counter.Bytes();
  }
  EXPECT_EQ(index, 100000u);
  EXPECT_EQ(value.size(), 5u + 100000u * 24u);
  EXPECT_LT(allocated, 8 * value.size() * sizeof(wchar_t));
}

std::pair<std::wstring, size_t> ContinuePhotoData(std::vector<std::wstring_view> lines) {
  std::wstring data(Parse(lines[0]).value);
  size_t index = 0;
  ContinuePhoto(lines, index, data);
  return {data, index + 1};
}

TEST(ContinuePhoto, GathersUnindentedBase64UpToTheNextProperty) {
  using Result = std::pair<std::wstring, size_t>;
  EXPECT_EQ(ContinuePhotoData({L"PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQ", L"SkZJRgAB",
                               L"  AQEASABIAAD  ", L"END:VCARD"}),
            (Result{L"/9j/4AAQSkZJRgABAQEASABIAAD", 3}));
  EXPECT_EQ(ContinuePhotoData({L"PHOTO;BASE64:", L"   ", L"/9j/", L"4AAQ"}), (Result{L"/9j/4AAQ", 4}));
  EXPECT_EQ(ContinuePhotoData({L"PHOTO;BASE64:/9j/", L"\x0B", L"4AAQ"}), (Result{L"/9j/", 1}));
  EXPECT_EQ(ContinuePhotoData({L"PHOTO;BASE64:/9j/", L"x:y"}), (Result{L"/9j/", 1}));
  EXPECT_EQ(ContinuePhotoData({L"PHOTO;BASE64:/9j/"}), (Result{L"/9j/", 1}));
}

}  // namespace
}  // namespace kontaktel
