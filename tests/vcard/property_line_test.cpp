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

TEST(ParsePropertyLine, TakesGroupNameParametersAndValueApart) {
  const PropertyLine line = Parse(L"item1.tel;type=CELL;type=pref:+7 (495) 123-45-67");
  EXPECT_EQ(line.rawPrefix, L"item1.tel;type=CELL;type=pref");
  EXPECT_EQ(line.name, L"TEL");
  EXPECT_EQ(line.params, (Views{L"type=CELL", L"type=pref"}));
  EXPECT_EQ(line.value, L"+7 (495) 123-45-67");
  EXPECT_FALSE(line.quotedPrintable || line.base64 || line.valueIsUrl);
  EXPECT_EQ(line.charset, L"");
}

TEST(ParsePropertyLine, FirstColonDividesAndLeadingBlanksStay) {
  EXPECT_EQ(Parse(L"FN: John").value, L" John");
  EXPECT_EQ(Parse(L"URL:https://example.org:8080/a").value, L"https://example.org:8080/a");
  const PropertyLine quoted = Parse(L"X-A;LABEL=\"a:b\":c");
  EXPECT_EQ(quoted.rawPrefix, L"X-A;LABEL=\"a");
  EXPECT_EQ(quoted.value, L"b\":c");
  const PropertyLine empty = Parse(L":value");
  EXPECT_EQ(empty.rawPrefix, L"");
  EXPECT_EQ(empty.name, L"");
  EXPECT_TRUE(empty.params.empty());
  EXPECT_FALSE(ParsePropertyLine(L"just some text").has_value());
}

TEST(ParsePropertyLine, KeepsParametersAsWrittenIncludingEmptyOnes) {
  const PropertyLine line = Parse(L"ADR;;TYPE=home; x :;;Main St");
  EXPECT_EQ(line.name, L"ADR");
  EXPECT_EQ(line.params, (Views{L"", L"TYPE=home", L" x "}));
  EXPECT_EQ(Parse(L"item1.X-ABLabel:_$!<Other>!$_").rawPrefix, L"item1.X-ABLabel");
  EXPECT_EQ(Parse(L"item1.X-ABLabel:x").name, L"X-ABLABEL");
}

TEST(ParsePropertyLine, ReadsEncodingCharsetAndValueParameters) {
  struct Case {
    const wchar_t* line;
    bool quotedPrintable, base64, url;
    const wchar_t* charset;
  };
  const Case cases[] = {
      {L"N;ENCODING=QUOTED-PRINTABLE:x", true, false, false, L""},
      {L"N;ENCODING=\"quoted-printable\":x", true, false, false, L""},
      {L"N;qp:x", true, false, false, L""},
      {L"PHOTO;ENCODING=BASE64:x", false, true, false, L""},
      {L"PHOTO;b:x", false, true, false, L""},
      {L"N; QP:x", false, false, false, L""},  // a leading blank makes it another word
      {L"N;QP;BASE64:x", true, true, false, L""},
      {L"N;ENCODING=QP;ENCODING=8BIT:x", true, false, false, L""},  // flags are never cleared
      {L"N;charset=\"utf-8\":x", false, false, false, L"utf-8"},
      {L"N;CHARSET=KOI8-R;CHARSET=UTF-8:x", false, false, false, L"UTF-8"},
      {L"N;CHARSET=\"KOI8-R:x", false, false, false, L"\"KOI8-R"},
      {L"PHOTO;value=\"uri\":x", false, false, false, L""},
      {L"PHOTO;VALUE=\"url\":x", false, false, true, L""},
  };
  for (const Case& c : cases) {
    const PropertyLine line = Parse(c.line);
    EXPECT_EQ(line.quotedPrintable, c.quotedPrintable) << c.line;
    EXPECT_EQ(line.base64, c.base64) << c.line;
    EXPECT_EQ(line.valueIsUrl, c.url) << c.line;
    EXPECT_EQ(line.charset, c.charset) << c.line;
  }
}

TEST(StripGroup, CutsItemGroupsAtTheFirstDotAndOthersAtTheLast) {
  EXPECT_EQ(StripGroup(L"TEL"), L"TEL");
  EXPECT_EQ(StripGroup(L"ITEM1.TEL"), L"TEL");
  EXPECT_EQ(StripGroup(L"ITEM2.X.TEL"), L"X.TEL");
  EXPECT_EQ(StripGroup(L"ITE.TEL"), L"TEL");
  EXPECT_EQ(StripGroup(L"A.B.TEL"), L"TEL");
  EXPECT_EQ(StripGroup(L"TEL."), L"");
  EXPECT_EQ(StripGroup(L"."), L"");
}

TEST(CollectTypes, ReadsTypeListsAndBareVcard21Types) {
  struct Case {
    Views params;
    Texts types;
  };
  const Case cases[] = {
      {{L"TYPE=\"cell,voice\"", L"type=pref"}, {L"CELL", L"VOICE", L"PREF"}},
      {{L"INTERNET"}, {}},
      {{L"PREF=1", L" HOME", L"VALUE=uri"}, {}},
      {{L"work", L"voice", L"fax", L"pref"}, {L"WORK", L"VOICE", L"FAX", L"PREF"}},
      {{L"TYPE= cell , ,x-custom ,"}, {L"CELL", L"X-CUSTOM"}},
      {{L"TYPE=", L"TYPE=\"\""}, {}},
      {{L"TYPE=\"cell"}, {L"\"CELL"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CollectTypes(c.params), c.types) << c.params.size();
  }
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
